// The three HTML page layouts against golden copies, the opener, and the
// layouts and folders that give no page.
#include "export/HtmlCalendar.h"
#include "tests/export/ExportFixture.h"

namespace {

class HtmlPageTest : public ExportTest {
protected:
  void SetUp() override
  {
    ExportTest::SetUp();
    mkdir(fHome.Path("people/OrvelCal").c_str(), 0755);
  }

  bool Write(long year, long month, int layout, std::string* output)
  {
    testing::internal::CaptureStdout();
    const bool written = YCalToHtml(year, month, layout);
    *output = testing::internal::GetCapturedStdout();
    return written;
  }
};

TEST_F(HtmlPageTest, LayoutsMatchTheirGoldenPages)
{
  // February 2004: 29 days, the second column from the 14th; names with
  // markup characters; two records on the 14th; the three-row page lists
  // only marked days; a holiday of 2005 appears nowhere.
  const struct {
    const char* edge;
    int layout;
    const char* page;
  } rows[] = {
      {"0 is the month page too", 0, "MON200402.htm"},
      {"1 month page", 1, "MON200402.htm"},
      {"2 two months a row", 2, "YCAL2004.htm"},
      {"3 three months a row", 3, "CAL2004.htm"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    remove(OpenerLog().c_str());
    std::string output;
    EXPECT_TRUE(Write(2004, 2, row.layout, &output)) << output;
    const std::string golden = ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/export/" + row.page);
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(ReadWholeFile(CalendarPath(row.page)), golden);
    EXPECT_EQ(WaitForOpener(), CalendarPath(row.page) + "\n")
        << "the page is opened, its path one argument";
  }
}

TEST_F(HtmlPageTest, HtmCalendarWritesThePicturesThenThePageOfTheSetting)
{
  const struct {
    int32 modus;
    const char* page;  // null: none
    const char* output;
  } rows[] = {
      {3, "CAL2004.htm", "prefs.HtmModus= 3\n------------"},
      {5, nullptr,
       "prefs.HtmModus= 5\n------------html_modus 5 has no page layout (1 month, 2 or 3 rows): no page written\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.modus);
    remove(OpenerLog().c_str());
    Prefs::getSTPrefs()->fHtmlModus = row.modus;
    testing::internal::CaptureStdout();
    HtmCalendar(2004, 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), row.output);
    for (int month = 1; month <= 12; month++) {
      char name[32];
      snprintf(name, sizeof name, "Orvel2004%02d.png", month);
      struct stat st;
      EXPECT_EQ(stat(CalendarPath(name).c_str(), &st), 0) << name;
      EXPECT_GT(st.st_size, 0) << name;
    }
    if (row.page) {
      EXPECT_EQ(ReadWholeFile(CalendarPath(row.page)),
                ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/export/" + row.page));
    }
    EXPECT_EQ(WaitForOpener(std::chrono::milliseconds(row.page ? 10000 : 300)),
              row.page ? CalendarPath(row.page) + "\n" : "");
  }
}

TEST_F(HtmlPageTest, PathWithShellCharactersIsOneArgument)
{
  const std::string odd = fHome.Path("it's $(touch pwned) & `x`");
  mkdir(odd.c_str(), 0755);
  mkdir((odd + "/people").c_str(), 0755);
  mkdir((odd + "/people/OrvelCal").c_str(), 0755);
  fEnv.Set("HOME", odd.c_str());
  std::string output;
  EXPECT_TRUE(Write(2004, 3, 1, &output)) << output;
  EXPECT_EQ(WaitForOpener(), odd + "/people/OrvelCal/MON200403.htm\n");
  struct stat st;
  EXPECT_NE(stat(fHome.Path("pwned").c_str(), &st), 0);
  EXPECT_NE(stat("pwned", &st), 0);
}

TEST_F(HtmlPageTest, NoPageNothingOpened)
{
  // A layout without a page, a page on a full disk, a calendar folder that
  // is a file.
  enum Setup { kNone, kFullDisk, kFolderIsFile };
  const struct {
    const char* edge;
    int layout;
    Setup setup;
    std::string output;
  } rows[] = {
      {"layout 4", 4, kNone, "html_modus 4 has no page layout (1 month, 2 or 3 rows): no page written\n"},
      {"negative layout", -1, kNone, "html_modus -1 has no page layout (1 month, 2 or 3 rows): no page written\n"},
      {"page cut short", 2, kFullDisk, "'" + CalendarPath("YCAL2004.htm") + "' WriteError!\n"},
      {"page cannot be opened", 3, kFolderIsFile, "'" + CalendarPath("CAL2004.htm") + "' OpenError!\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    if (row.setup == kFullDisk) {
      ASSERT_EQ(symlink("/dev/full", CalendarPath("YCAL2004.htm").c_str()), 0);
    }
    if (row.setup == kFolderIsFile) {
      remove(CalendarPath("YCAL2004.htm").c_str());
      rmdir(fHome.Path("people/OrvelCal").c_str());
      WriteWholeFile(fHome.Path("people/OrvelCal"), "");
    }
    std::string output;
    EXPECT_FALSE(Write(2004, 2, row.layout, &output));
    EXPECT_EQ(output, row.output);
    EXPECT_EQ(WaitForOpener(std::chrono::milliseconds(300)), "");
  }
  struct stat st;
  EXPECT_NE(stat(CalendarPath("MON200402.htm").c_str(), &st), 0);
}

} // namespace
