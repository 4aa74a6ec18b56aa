#include "settings/Prefs.h"

#include "platform/messaging/BMessage.h"
#include "platform/storage/FindDirectory.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

std::string Bytes(const void* data, size_t size)
{
  return std::string(static_cast<const char*>(data), size);
}

std::string RectBytes(float l, float t, float r, float b)
{
  const float sides[4] = {l, t, r, b};
  return Bytes(sides, sizeof sides);
}

std::string IntBytes(int32 value) { return Bytes(&value, sizeof value); }

size_t Count(const std::string& text, const std::string& part)
{
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    count++;
  return count;
}

class PrefsTest : public testing::Test {
protected:
  void SetUp() override { fMask = umask(022); }

  void TearDown() override
  {
    if (Prefs::aPrefsZgr != nullptr)
      Prefs::aPrefsZgr->DeleteMe();
    umask(fMask);
  }

  std::string Folder() const { return fHome.Path(".config/_LP_x-vnd.KX"); }
  std::string File() const { return Folder() + "/OVA_settings"; }

  // An existing settings file holding the given raw attributes.
  void MakeFile(const std::vector<std::pair<std::string, std::string>>& attributes)
  {
    ASSERT_EQ(create_directory(Folder().c_str(), 0755), B_OK);
    BFile file(File().c_str(), B_READ_WRITE | B_CREATE_FILE);
    ASSERT_EQ(file.InitCheck(), B_OK);
    for (const auto& [key, value] : attributes)
      ASSERT_EQ(setxattr(File().c_str(), ("user." + key).c_str(), value.data(), value.size(), 0), 0);
  }

  // Creates the store and returns what it printed.
  std::string Start()
  {
    testing::internal::CaptureStdout();
    fPrefs = Prefs::getSTPrefs();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
  }

  std::string Raw(const std::string& key) const
  {
    char value[512];
    ssize_t got = getxattr(File().c_str(), ("user." + key).c_str(), value, sizeof value);
    return got < 0 ? "<missing>" : Bytes(value, got);
  }

  TempHome fHome;
  Prefs* fPrefs = nullptr;
  mode_t fMask = 0;
};

struct KeyRow {
  const char* key;
  type_code type;
  std::string bytes;
};

TEST_F(PrefsTest, FirstRunStoresEveryDefault)
{
  std::string out = Start();
  EXPECT_EQ(out, "NEW SINGLETON-Prefs\n[File not found]\n[File created]\n");

  struct stat st;
  ASSERT_EQ(stat(Folder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  BFile file(File().c_str(), B_READ_ONLY);
  char data[16];
  EXPECT_EQ(Bytes(data, file.Read(data, sizeof data)), "ova_prefs");

  const std::string no(1, '\0'), yes(1, '\1');
  const KeyRow rows[] = {
      {"m_win_rect", B_RECT_TYPE, RectBytes(130, 130, 450, 206)},
      {"ask_by_start", B_BOOL_TYPE, no},     {"add_infobar", B_BOOL_TYPE, no},
      {"show_expand", B_BOOL_TYPE, no},      {"triple_preview", B_BOOL_TYPE, no},
      {"window_tab", B_BOOL_TYPE, yes},      {"time_style", B_BOOL_TYPE, no},
      {"days_user", B_BOOL_TYPE, yes},       {"days_local", B_BOOL_TYPE, yes},
      {"days_global", B_BOOL_TYPE, yes},     {"days_event", B_BOOL_TYPE, yes},
      {"html_modus", B_INT32_TYPE, IntBytes(1)},
  };
  for (const KeyRow& row : rows) {
    SCOPED_TRACE(row.key);
    EXPECT_EQ(Raw(row.key), row.bytes);
    attr_info info;
    ASSERT_EQ(file.GetAttrInfo(row.key, &info), B_OK);
    EXPECT_EQ(info.type, row.type);
  }
  EXPECT_EQ(fPrefs->fWinRect, BRect(130, 130, 450, 206));
  EXPECT_TRUE(fPrefs->fWindowTab && fPrefs->fDaysUser && fPrefs->fDaysEvent);
  EXPECT_FALSE(fPrefs->fError);
}

TEST_F(PrefsTest, ExistingValuesAreKept)
{
  MakeFile({{"m_win_rect", RectBytes(10, 20, 300, 400)}, {"ask_by_start", "\1"},
            {"show_expand", "\1"}, {"window_tab", std::string(1, '\0')},
            {"html_modus", IntBytes(3)}});
  BFile(File().c_str(), B_WRITE_ONLY).Write("older data!", 11);
  std::string out = Start();
  EXPECT_EQ(out.find("[File"), std::string::npos);
  EXPECT_EQ(fPrefs->fWinRect, BRect(10, 20, 300, 400));
  EXPECT_TRUE(fPrefs->fAskByStart && fPrefs->fShowExpand);
  EXPECT_FALSE(fPrefs->fWindowTab);
  EXPECT_EQ(fPrefs->fHtmlModus, 3);
  EXPECT_EQ(Raw("m_win_rect"), RectBytes(10, 20, 300, 400));
  char data[16];
  EXPECT_EQ(Bytes(data, BFile(File().c_str(), B_READ_ONLY).Read(data, sizeof data)), "ova_prefsa!");
}

TEST_F(PrefsTest, ValuesOfTheWrongSize)
{
  int32 shortModus = 1;
  memcpy(&shortModus, "\2", 1);
  const struct {
    const char* edge;
    const char* key;
    std::string bytes;
    std::function<bool(const Prefs&)> holds;
  } rows[] = {
      {"BOOL of 4 bytes is its first byte", "window_tab", std::string("\0\1\1\1", 4),
       [](const Prefs& p) { return !p.fWindowTab; }},
      {"BOOL byte 2 is true", "show_expand", "\2", [](const Prefs& p) { return p.fShowExpand; }},
      {"RECT of 64 bytes gives its first 16", "m_win_rect",
       RectBytes(1, 2, 3, 4) + std::string(48, '\x7f'),
       [](const Prefs& p) { return p.fWinRect == BRect(1, 2, 3, 4); }},
      {"RECT of 3 bytes leaves the other sides", "m_win_rect", "abc",
       [](const Prefs& p) { return p.fWinRect.RightBottom() == BPoint(450, 206); }},
      {"LONG of 1 byte replaces only that byte", "html_modus", "\2",
       [=](const Prefs& p) { return p.fHtmlModus == shortModus; }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    MakeFile({{row.key, row.bytes}});
    std::string out = Start();
    EXPECT_FALSE(fPrefs->fError) << out;
    EXPECT_TRUE(row.holds(*fPrefs));
    EXPECT_EQ(Raw(row.key), row.bytes) << "loading rewrites nothing";
    fPrefs->DeleteMe();
    unlink(File().c_str());
  }
}

TEST_F(PrefsTest, SaveWinAndSaveWriteTheirOwnKeys)
{
  Start();
  fPrefs->fWinRect.Set(5, 6, 7, 8);
  fPrefs->fShowExpand = fPrefs->fTimeStyle = fPrefs->fAddInfobar = fPrefs->fAskByStart = true;
  fPrefs->fWindowTab = fPrefs->fDaysUser = false;
  fPrefs->fHtmlModus = 2;
  ASSERT_EQ(removexattr(File().c_str(), "user.ask_by_start"), 0);

  ASSERT_TRUE(fPrefs->SaveWin());
  EXPECT_EQ(Raw("m_win_rect"), RectBytes(5, 6, 7, 8));
  EXPECT_EQ(Raw("show_expand") + Raw("window_tab") + Raw("time_style"), std::string("\1\0\1", 3));
  EXPECT_EQ(Raw("add_infobar") + Raw("days_user"), std::string("\0\1", 2));
  EXPECT_EQ(Raw("html_modus"), IntBytes(1));

  ASSERT_TRUE(fPrefs->Save());
  EXPECT_EQ(Raw("add_infobar") + Raw("days_user"), std::string("\1\0", 2));
  EXPECT_EQ(Raw("html_modus"), IntBytes(2));
  EXPECT_EQ(Raw("ask_by_start"), "<missing>");
}

TEST_F(PrefsTest, AFileThatTakesNoAttributes)
{
  MakeFile({});
  ASSERT_TRUE(FillAttributeSpace(File().c_str()) != 0);
  std::string out = Start();
  EXPECT_EQ(Count(out, "WriteAttr on m_win_rect died\n"), 2u) << out;
  EXPECT_EQ(Count(out, ">> Outch-Trouble with PREFS.... \n"), 1u);
  size_t rebuild = out.find(">> Outch");
  EXPECT_NE(out.find("Unknown error writing m_win_rect:\n", rebuild), std::string::npos);
  EXPECT_TRUE(fPrefs->fError);
  EXPECT_EQ(fPrefs->fWinRect, BRect(130, 130, 450, 206));
  EXPECT_TRUE(fPrefs->fWindowTab);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(fPrefs->SaveWin());
  testing::internal::GetCapturedStdout();
}

TEST_F(PrefsTest, AnUnopenableFileIsNoMissingAttribute)
{
  // The settings file is a link into a folder that does not exist, so it
  // can neither be opened nor created.
  ASSERT_EQ(create_directory(Folder().c_str(), 0755), B_OK);
  ASSERT_EQ(symlink(fHome.Path("gone/OVA_settings").c_str(), File().c_str()), 0);
  std::string out = Start();
  EXPECT_EQ(Count(out, "Unknown error reading m_win_rect:\nNo such file or directory\n"), 2u) << out;
  EXPECT_EQ(out.find("WriteAttr on"), std::string::npos) << out;
  EXPECT_TRUE(fPrefs->fError);
  EXPECT_EQ(fPrefs->fWinRect, BRect(130, 130, 450, 206));
}

TEST_F(PrefsTest, TextsEndInsideTheBuffer)
{
  Start();
  std::string longText(300, 'x');
  ASSERT_EQ(setxattr(File().c_str(), "user.long", longText.data(), longText.size(), 0), 0);
  const struct {
    const char* edge;
    const char* key;
    const char* def;
    std::string text;
    std::string stored;
  } rows[] = {
      {"300 bytes without a terminator", "long", "", std::string(255, 'x'), longText},
      {"missing key stores its default", "fresh", "def", "def", std::string("def\0", 4)},
      {"default longer than the buffer", "big", longText.c_str(), std::string(255, 'x'),
       longText + '\0'},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    char buffer[260];
    memset(buffer, '#', sizeof buffer);
    ASSERT_TRUE(fPrefs->GetStr(row.key, buffer, row.def));
    EXPECT_EQ(buffer, row.text);
    EXPECT_EQ(Bytes(buffer + 256, 4), "####");
    EXPECT_EQ(Raw(row.key), row.stored);
  }
}

TEST_F(PrefsTest, MessagesAsAttributes)
{
  Start();
  BMessage stored('test');
  stored.AddInt32("n", 42);
  ASSERT_EQ(setxattr(File().c_str(), "user.bad", "garbage", 7, 0), 0);
  testing::internal::CaptureStdout();
  ASSERT_TRUE(fPrefs->PutMsg("msg", &stored));
  BMessage back;
  ASSERT_TRUE(fPrefs->GetMsg("msg", &back));
  EXPECT_EQ(back.what, uint32('test'));
  // A malformed or missing value is a failure and leaves the message alone.
  EXPECT_FALSE(fPrefs->GetMsg("bad", &back));
  EXPECT_FALSE(fPrefs->GetMsg("missing", &back));
  std::string out = testing::internal::GetCapturedStdout();
  int32 n = 0;
  EXPECT_EQ(back.FindInt32("n", &n), B_OK);
  EXPECT_EQ(n, 42);
  EXPECT_NE(out.find("! err msg \n"), std::string::npos);
  EXPECT_TRUE(fPrefs->fError);
}

} // namespace
