#include "platform/storage/BFile.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <set>
#include <sys/xattr.h>

namespace {

std::string RawXattr(const std::string& path, const std::string& name)
{
  char value[4096];
  ssize_t got = getxattr(path.c_str(), name.c_str(), value, sizeof value);
  return got < 0 ? "<missing>" : std::string(value, got);
}

class AttributeTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(fFile.SetTo(fPath.c_str(), B_READ_WRITE | B_CREATE_FILE), B_OK); }

  TempHome fHome;
  std::string fPath = fHome.Path("node");
  BFile fFile;
};

TEST_F(AttributeTest, ValuesKeepTheirBytesAndTypes)
{
  const float rect[4] = {130, 130, 450, 206};
  const struct {
    const char* edge;
    const char* name;
    type_code type;
    std::string bytes;
  } rows[] = {
      {"a 16-byte rectangle", "m_win_rect", B_RECT_TYPE, std::string((const char*)rect, 16)},
      {"text with its terminator", "EVENT:Summary", B_STRING_TYPE, std::string("dentist\0", 8)},
      {"an empty value", "empty", B_INT32_TYPE, std::string()},
      {"a name with blanks", "a b c", B_BOOL_TYPE, std::string("\1", 1)},
  };
  std::set<std::string> written;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ASSERT_EQ(fFile.WriteAttr(row.name, row.type, 0, row.bytes.data(), row.bytes.size()),
              ssize_t(row.bytes.size()));
    written.insert(row.name);
    char back[64];
    ASSERT_EQ(fFile.ReadAttr(row.name, row.type, 0, back, sizeof back), ssize_t(row.bytes.size()));
    EXPECT_EQ(std::string(back, row.bytes.size()), row.bytes);
    // Other programs see exactly the bytes written under "user.NAME".
    EXPECT_EQ(RawXattr(fPath, std::string("user.") + row.name), row.bytes);
  }

  // A copy of every "user." xattr (what cp --preserve=xattr makes) keeps the types.
  std::string copy = fHome.Path("copy");
  BFile target(copy.c_str(), B_READ_WRITE | B_CREATE_FILE);
  char names[2048];
  ssize_t length = listxattr(fPath.c_str(), names, sizeof names);
  for (const char* name = names; name < names + length; name += strlen(name) + 1) {
    std::string value = RawXattr(fPath, name);
    ASSERT_EQ(setxattr(copy.c_str(), name, value.data(), value.size(), 0), 0);
  }
  for (const auto& row : rows) {
    attr_info info;
    ASSERT_EQ(target.GetAttrInfo(row.name, &info), B_OK);
    EXPECT_EQ(info.type, row.type) << row.edge;
    EXPECT_EQ(info.size, off_t(row.bytes.size())) << row.edge;
  }

  // The walk lists the attributes and none of the type companions.
  std::set<std::string> listed;
  char name[B_ATTR_NAME_LENGTH];
  while (target.GetNextAttrName(name) == B_OK)
    listed.insert(name);
  EXPECT_EQ(listed, written);
}

// The platform's own codes never share a number with a system error, so
// every failure prints its own text; a missing attribute is told from a
// file that could not be opened.
TEST_F(AttributeTest, EveryFailureKeepsItsOwnStatusAndText)
{
  const status_t platformCodes[] = {B_ERROR,       B_NO_INIT,           B_BAD_TYPE,    B_BAD_INDEX,
                                    B_BAD_DATA,    B_MISMATCHED_VALUES, B_BAD_PORT_ID, B_ALREADY_RUNNING,
                                    B_ENTRY_NOT_FOUND, B_NAME_NOT_FOUND};
  std::set<std::string> texts;
  for (status_t code : platformCodes) {
    texts.insert(StatusText(code));
    for (int error = 1; error < 4096; error++)
      ASSERT_NE(code, StatusFromErrno(error)) << StatusText(code) << " is errno " << error;
  }
  EXPECT_EQ(texts.size(), std::size(platformCodes)) << "each code has a text of its own";
  for (int error : {EPERM, ENOENT, EACCES, ENOTSUP, ENODATA})
    EXPECT_STREQ(StatusText(StatusFromErrno(error)), strerror(error));
  EXPECT_STREQ(StatusText(B_NOT_ALLOWED), "Operation not permitted");

  char buffer[8];
  BFile unopened(fHome.Path("missing/file").c_str(), B_READ_WRITE | B_CREATE_FILE);
  EXPECT_EQ(unopened.InitCheck(), StatusFromErrno(ENOENT));
  EXPECT_EQ(unopened.ReadAttr("m_win_rect", B_RECT_TYPE, 0, buffer, sizeof buffer), StatusFromErrno(ENOENT));
  EXPECT_EQ(fFile.ReadAttr("m_win_rect", B_RECT_TYPE, 0, buffer, sizeof buffer), B_ENTRY_NOT_FOUND);
}

TEST_F(AttributeTest, MissingForeignAndRefusedNames)
{
  char buffer[8];
  attr_info info;
  EXPECT_EQ(fFile.ReadAttr("nothing", B_INT32_TYPE, 0, buffer, sizeof buffer), B_ENTRY_NOT_FOUND);
  EXPECT_EQ(fFile.GetAttrInfo("nothing", &info), B_ENTRY_NOT_FOUND);

  // Written by another tool, without a type: readable, typed as raw data.
  ASSERT_EQ(setxattr(fPath.c_str(), "user.EVENT:Warn", "idle", 5, 0), 0);
  EXPECT_EQ(fFile.ReadAttr("EVENT:Warn", B_STRING_TYPE, 0, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "idle");
  ASSERT_EQ(fFile.GetAttrInfo("EVENT:Warn", &info), B_OK);
  EXPECT_EQ(info.type, B_RAW_TYPE);

  // A file system without user attributes says so.
  EXPECT_EQ(BNode("/proc/version").ReadAttr("x", B_RAW_TYPE, 0, buffer, 8), B_NOT_SUPPORTED);

  EXPECT_EQ(fFile.WriteAttr("ova.type.x", B_RAW_TYPE, 0, "1", 1), B_BAD_VALUE);
  EXPECT_EQ(fFile.WriteAttr(std::string(300, 'n').c_str(), B_RAW_TYPE, 0, "1", 1),
            StatusFromErrno(ENAMETOOLONG));

  // Removing takes the type companion along.
  ASSERT_EQ(fFile.WriteAttr("gone", B_INT32_TYPE, 0, "abcd", 4), 4);
  EXPECT_EQ(fFile.RemoveAttr("gone"), B_OK);
  EXPECT_EQ(listxattr(fPath.c_str(), nullptr, 0), ssize_t(sizeof "user.EVENT:Warn"));
}

TEST_F(AttributeTest, Offsets)
{
  const struct {
    const char* edge;
    off_t offset;
    const char* data;
    std::string expected;
  } rows[] = {
      {"offset 0 replaces a longer value", 0, "Z", "Z"},
      {"inside keeps the bytes before", 2, "XY", "abXY"},
      {"at the end appends", 6, "gh", "abcdefgh"},
      {"past the end fills with zeros", 8, "XY", std::string("abcdef\0\0XY", 10)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ASSERT_EQ(fFile.WriteAttr("v", B_STRING_TYPE, 0, "abcdef", 6), 6);
    ASSERT_EQ(fFile.WriteAttr("v", B_STRING_TYPE, row.offset, row.data, strlen(row.data)),
              ssize_t(strlen(row.data)));
    EXPECT_EQ(RawXattr(fPath, "user.v"), row.expected);
  }

  char buffer[8] = "#######";
  EXPECT_EQ(fFile.ReadAttr("v", B_RAW_TYPE, 0, buffer, 4), 4);
  EXPECT_STREQ(buffer, "abcd###") << "no byte past the length";
  EXPECT_EQ(fFile.ReadAttr("v", B_RAW_TYPE, 7, buffer, sizeof buffer), 3);
  EXPECT_EQ(fFile.ReadAttr("v", B_RAW_TYPE, 10, buffer, sizeof buffer), 0);
}

TEST_F(AttributeTest, AFullAttributeSpaceIsReported)
{
  ASSERT_EQ(fFile.WriteAttr("kept", B_INT32_TYPE, 0, "abcd", 4), 4);
  int error = FillAttributeSpace(fPath.c_str());
  ASSERT_TRUE(error == ENOSPC || error == E2BIG) << strerror(error);
  EXPECT_EQ(fFile.WriteAttr("m_win_rect", B_RECT_TYPE, 0, "0123456789abcdef", 16),
            StatusFromErrno(error));
  char buffer[4];
  EXPECT_EQ(fFile.ReadAttr("kept", B_INT32_TYPE, 0, buffer, 4), 4);
}

} // namespace
