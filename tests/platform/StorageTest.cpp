#include "platform/storage/BDirectory.h"
#include "platform/storage/BFile.h"
#include "platform/storage/FindDirectory.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

namespace {

std::string Slurp(const std::string& path)
{
  char buffer[64];
  ssize_t got = BFile(path.c_str(), B_READ_ONLY).Read(buffer, sizeof buffer);
  return got < 0 ? "<unreadable>" : std::string(buffer, got);
}

void Spit(const std::string& path, const char* text)
{
  BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
  ASSERT_EQ(file.Write(text, strlen(text)), ssize_t(strlen(text)));
}

TEST(FileTest, OpenModes)
{
  TempHome home;
  const struct {
    const char* edge;
    uint32 mode;
    status_t status;
    std::string content; // after writing "XY"
  } rows[] = {
      {"read-write overwrites in place", B_READ_WRITE, B_OK, "XYd"},
      {"erase empties first", B_WRITE_ONLY | B_ERASE_FILE, B_OK, "XY"},
      {"open at end appends", B_WRITE_ONLY | B_OPEN_AT_END, B_OK, "oldXY"},
      {"fail if exists refuses", B_READ_WRITE | B_CREATE_FILE | B_FAIL_IF_EXISTS, B_FILE_EXISTS,
       "old"},
      {"read only cannot write", B_READ_ONLY, B_OK, "old"},
  };
  std::string path = home.Path("f");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    Spit(path, "old");
    BFile file(path.c_str(), row.mode);
    ASSERT_EQ(file.InitCheck(), row.status);
    EXPECT_EQ(file.Write("XY", 2) == 2, file.IsWritable());
    EXPECT_EQ(Slurp(path), row.content);
  }
  EXPECT_EQ(BFile(home.Path("missing").c_str(), B_READ_ONLY).InitCheck(), StatusFromErrno(ENOENT));
  EXPECT_EQ(BFile(home.Root().c_str(), B_READ_ONLY).InitCheck(), StatusFromErrno(EISDIR));
}

TEST(PathTest, CleanForms)
{
  const struct {
    const char* edge;
    const char* dir;
    const char* leaf;
    const char* path;
    const char* name;
  } rows[] = {
      {"doubled and trailing slashes", "/a//b/", nullptr, "/a/b", "b"},
      {"leaf with a dot part", "/a", "c/./d", "/a/c/d", "d"},
      {"root alone", "/", nullptr, "/", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    BPath path(row.dir, row.leaf);
    EXPECT_STREQ(path.Path(), row.path);
    EXPECT_STREQ(path.Leaf(), row.name);
  }
  EXPECT_EQ(BPath("/a", "/b").InitCheck(), B_BAD_VALUE);
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(BPath("rel").Path()), std::string(cwd) + "/rel");
}

class DirectoryTest : public testing::Test {
protected:
  void SetUp() override
  {
    Spit(fHome.Path("file"), "data");
    ASSERT_EQ(mkdir(fHome.Path("folder").c_str(), 0755), 0);
    ASSERT_EQ(symlink("file", fHome.Path("link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", fHome.Path("dangling").c_str()), 0);
    ASSERT_EQ(fDir.SetTo(fHome.Root().c_str()), B_OK);
  }

  // Name and kind of every entry the walk gives.
  std::set<std::string> Walk(bool traverse)
  {
    std::set<std::string> seen;
    BEntry entry;
    BPath path;
    while (fDir.GetNextEntry(&entry, traverse) == B_OK) {
      entry.GetPath(&path);
      seen.insert(std::string(path.Leaf()) + (entry.IsSymLink() ? "@" : "")
                  + (entry.IsDirectory() ? "/" : ""));
    }
    return seen;
  }

  TempHome fHome;
  BDirectory fDir;
};

TEST_F(DirectoryTest, WalkDoesNotFollowLinksUnlessAsked)
{
  EXPECT_EQ(Walk(false), (std::set<std::string>{"file", "folder/", "link@", "dangling@"}));
  ASSERT_EQ(fDir.Rewind(), B_OK);
  // The followed link becomes its target; the dangling one stays a link.
  EXPECT_EQ(Walk(true), (std::set<std::string>{"file", "folder/", "dangling@"}));
  EXPECT_EQ(fDir.CountEntries(), 4);
}

TEST_F(DirectoryTest, FindContainsAndCreate)
{
  BEntry entry;
  EXPECT_EQ(fDir.FindEntry("missing", &entry), B_ENTRY_NOT_FOUND);
  ASSERT_EQ(fDir.FindEntry("link", &entry, true), B_OK);
  EXPECT_TRUE(entry.IsFile());

  EXPECT_TRUE(fDir.Contains("link", B_SYMLINK_NODE));
  EXPECT_FALSE(fDir.Contains("file", B_DIRECTORY_NODE));
  EXPECT_FALSE(fDir.Contains("folder/../../etc")) << "no way out through ..";

  BFile file;
  EXPECT_EQ(fDir.CreateFile("folder/new", &file, true), B_OK);
  EXPECT_TRUE(file.IsWritable());
  EXPECT_EQ(fDir.CreateFile("folder/new", &file, true), B_FILE_EXISTS);
  EXPECT_EQ(BDirectory(fHome.Path("file").c_str()).InitCheck(), StatusFromErrno(ENOTDIR));
}

TEST(FindDirectoryTest, EnvironmentDecides)
{
  TempHome home;
  // Each row sets one variable; the others of the table are unset.
  const struct {
    const char* edge;
    directory_which which;
    const char* variable;
    const char* value;
    std::string expected;
  } rows[] = {
      {"home", B_USER_DIRECTORY, nullptr, nullptr, home.Root()},
      {"settings from XDG_CONFIG_HOME", B_USER_SETTINGS_DIRECTORY, "XDG_CONFIG_HOME", "/xdg/c", "/xdg/c"},
      {"settings without XDG_CONFIG_HOME", B_USER_SETTINGS_DIRECTORY, nullptr, nullptr, home.Path(".config")},
      {"relative XDG_CONFIG_HOME ignored", B_USER_SETTINGS_DIRECTORY, "XDG_CONFIG_HOME", "c", home.Path(".config")},
      {"data from XDG_DATA_HOME", B_USER_DATA_DIRECTORY, "XDG_DATA_HOME", "/xdg/d", "/xdg/d"},
      {"data without XDG_DATA_HOME", B_USER_DATA_DIRECTORY, nullptr, nullptr, home.Path(".local/share")},
      {"relative XDG_DATA_HOME ignored", B_USER_DATA_DIRECTORY, "XDG_DATA_HOME", "d", home.Path(".local/share")},
      {"cache from XDG_CACHE_HOME", B_USER_CACHE_DIRECTORY, "XDG_CACHE_HOME", "/xdg/k", "/xdg/k"},
      {"cache without XDG_CACHE_HOME", B_USER_CACHE_DIRECTORY, nullptr, nullptr, home.Path(".cache")},
      {"runtime from XDG_RUNTIME_DIR", B_USER_RUNTIME_DIRECTORY, "XDG_RUNTIME_DIR", "/run/u", "/run/u"},
      {"runtime without XDG_RUNTIME_DIR", B_USER_RUNTIME_DIRECTORY, nullptr, nullptr, "/tmp"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ScopedEnv env;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"})
      env.Set(variable, nullptr);
    if (row.variable != nullptr)
      env.Set(row.variable, row.value);
    BPath path;
    ASSERT_EQ(find_directory(row.which, &path), B_OK);
    EXPECT_EQ(path.Path(), row.expected);
  }

  // Created only when asked, missing parents included.
  ScopedEnv env;
  env.Set("XDG_CONFIG_HOME", home.Path("deep/er").c_str());
  BPath path;
  struct stat st;
  ASSERT_EQ(find_directory(B_USER_SETTINGS_DIRECTORY, &path, false), B_OK);
  EXPECT_NE(stat(path.Path(), &st), 0);
  ASSERT_EQ(find_directory(B_USER_SETTINGS_DIRECTORY, &path, true), B_OK);
  EXPECT_EQ(stat(path.Path(), &st), 0);
  Spit(home.Path("plain"), "x");
  EXPECT_EQ(create_directory(home.Path("plain/sub").c_str(), 0755), StatusFromErrno(ENOTDIR));
}

} // namespace
