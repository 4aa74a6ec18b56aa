// OrvellaExport as a real process with a synced calendar source: it reads
// the source's cache (never the network), so a subscribed holiday feed
// colours its days in the month pictures and names them in the page.
#include "sync/SourceCache.h"
#include "sync/SourcesFile.h"
#include "tests/export/ExportFixture.h"
#include "tests/platform/TestSupport.h"

#include <QProcess>

#include <sys/stat.h>

namespace {

class ExportSourcesTest : public testing::Test {
protected:
  void SetUp() override
  {
    for (const char* folder : {"people", "people/OrvelCal", "run", "bin"})
      mkdir(fHome.Path(folder).c_str(), 0755);
    // The page is not opened: a stand-in takes the opener's place.
    WriteWholeFile(fHome.Path("bin/xdg-open"), "#!/bin/sh\nexit 0\n");
    chmod(fHome.Path("bin/xdg-open").c_str(), 0755);
  }

  // The page and the March picture of 2004, two months a row.
  std::pair<std::string, std::string> Export()
  {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(fHome.Root()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(fHome.Path(".config")));
    env.insert("XDG_CACHE_HOME", QString::fromStdString(fHome.Path(".cache")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(fHome.Path("run")));
    env.insert("PATH", QString::fromStdString(fHome.Path("bin")) + ":" + env.value("PATH"));
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(qgetenv("ORVELLA_BIN_DIR")) + "/OrvellaExport", {"2004", "1", "2"});
    EXPECT_TRUE(process.waitForFinished(kWaitMs) && process.exitCode() == 0) << process.readAll().toStdString();
    return {ReadWholeFile(fHome.Path("people/OrvelCal/YCAL2004.htm")),
            ReadWholeFile(fHome.Path("people/OrvelCal/Orvel200403.png"))};
  }

  TempHome fHome;
};

} // namespace

TEST_F(ExportSourcesTest, AHolidayFeedsCacheColoursItsDays)
{
  const auto [plainPage, plainMarch] = Export();

  // A feed on a port where nothing listens: only its cache can bring days.
  CalendarSource feed;
  feed.url = "http://127.0.0.1:9/holidays.ics";
  feed.kind = "frFR";
  std::string error;
  ASSERT_TRUE(WriteSources(SourcesFilePath(), {feed}, &error)) << error;
  ASSERT_TRUE(SourceCache(feed.Id()).WriteData("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:h@test\r\n"
                                               "DTSTART;VALUE=DATE:20040315\r\nSUMMARY:Fête & test\r\nEND:VEVENT\r\n"
                                               "END:VCALENDAR\r\n",
                                               &error))
      << error;
  const auto [page, march] = Export();
  EXPECT_EQ(plainPage.find("Fête"), std::string::npos);
  EXPECT_NE(page.find("Fête &amp; test (frFR)"), std::string::npos) << "the page names the holiday with its region";
  EXPECT_NE(march, plainMarch) << "the picture of March colours the 15th";
}
