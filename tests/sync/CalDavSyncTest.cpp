// CalDAV sources against Radicale: finding the calendars of an account,
// then following what changes on the server. Each test runs twice: against
// Radicale as it is (sync-collection) and behind a proxy that hides
// sync-collection (ctags and ETags).
#include "sync/network/CalDavSync.h"
#include "sync/network/HttpClient.h"
#include "sync/network/NetworkSync.h"
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncServers.h"

#include <gtest/gtest.h>

namespace {

class CalDavTest : public testing::TestWithParam<bool> {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(fRadicale.Running());
    ASSERT_TRUE(fRadicale.MakeCalendar("/alice/work/", "Work"));
    ASSERT_TRUE(fRadicale.PutEvent("/alice/work/a.ics", "a", "20240110", "Planning"));
    ASSERT_TRUE(fRadicale.PutEvent("/alice/work/b.ics", "b", "20240111", "Review"));
    if (GetParam()) {
      fProxy = std::make_unique<TestServer>(QStringList{"--proxy", QString::number(fRadicale.Port())});
      ASSERT_TRUE(fProxy->Running());
    }
  }

  // The address Orvella is given: Radicale's, or the proxy's.
  QString Url(const QString& path) const
  {
    return fProxy ? fProxy->Url(path) : fRadicale.Url(path);
  }

  CalendarSource Source(const QString& path = "/")
  {
    CalendarSource source;
    source.url = Url(path).toStdString();
    source.type = CalendarSource::kCalDav;
    source.user = "alice";
    return source;
  }

  SourceReport Sync(const CalendarSource& source, int* requests = nullptr)
  {
    HttpClient http;
    http.SetCredentials(QUrl(QString::fromStdString(source.FetchUrl())), source.user, kRadicalePassword);
    SourceReport report = SyncSource(http, source, SourceCache(source.Id()), 1000);
    if (requests != nullptr)
      *requests = http.Requests();
    return report;
  }

  std::string Cached(const CalendarSource& source)
  {
    std::string data, error;
    SourceCache(source.Id()).ReadData(&data, &error);
    return data;
  }

  TempHome fHome;
  Radicale fRadicale;
  std::unique_ptr<TestServer> fProxy;
};

} // namespace

TEST_P(CalDavTest, FindsTheCalendarsOfAnAccount)
{
  ASSERT_TRUE(fRadicale.MakeCalendar("/alice/home/", "Home"));
  HttpClient http;
  http.SetCredentials(QUrl(Url("/")), "alice", kRadicalePassword);
  CalDavFound found;
  SyncFailure failure;
  ASSERT_TRUE(FindCalendars(http, QUrl(Url("/")), &found, &failure)) << failure.detail;
  EXPECT_FALSE(found.homeIsCalendar);
  EXPECT_EQ(QUrl(QString::fromStdString(found.home)).path(), "/alice/");
  ASSERT_EQ(found.calendars.size(), 2u);
  std::vector<std::string> names{found.calendars[0].name, found.calendars[1].name};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Home", "Work"}));
  EXPECT_EQ(found.calendars[0].syncCollection, !GetParam());

  // One calendar's own address is that calendar.
  ASSERT_TRUE(FindCalendars(http, QUrl(Url("/alice/work/")), &found, &failure)) << failure.detail;
  EXPECT_TRUE(found.homeIsCalendar);
  ASSERT_EQ(found.calendars.size(), 1u);
  EXPECT_EQ(found.calendars[0].name, "Work");

  // A new address: the probe tells a CalDAV server from a feed.
  CalendarSource probed = Source();
  probed.type = CalendarSource::kFeed;
  std::vector<RemoteCalendar> calendars;
  EXPECT_TRUE(ProbeSource(http, &probed, &calendars, &failure)) << failure.detail;
  EXPECT_EQ(probed.type, CalendarSource::kCalDav);
  EXPECT_EQ(calendars.size(), 2u);

  HttpClient wrong;
  wrong.SetCredentials(QUrl(Url("/")), "alice", "guess");
  EXPECT_FALSE(FindCalendars(wrong, QUrl(Url("/")), &found, &failure));
  EXPECT_EQ(failure.status, SyncStatus::kWrongPassword);
}

TEST_P(CalDavTest, FollowsWhatChangesOnTheServer)
{
  const CalendarSource source = Source();
  int requests = 0;
  SourceReport report = Sync(source, &requests);
  ASSERT_EQ(report.state.status, SyncStatus::kSynced) << report.state.detail;
  ASSERT_TRUE(report.marksChanged);
  ASSERT_NE(report.marks.source, nullptr);
  EXPECT_EQ(report.marks.source->CountEntries(), 2);
  ASSERT_EQ(report.calendars.size(), 1u);
  EXPECT_EQ(report.calendars[0].name, "Work");
  EXPECT_EQ(report.calendars[0].syncCollection, !GetParam());

  report = Sync(source, &requests);
  EXPECT_EQ(report.state.status, SyncStatus::kSynced);
  EXPECT_FALSE(report.marksChanged);
  EXPECT_EQ(requests, 1) << "nothing changed: one request";

  // An event added, one changed, one deleted.
  ASSERT_TRUE(fRadicale.PutEvent("/alice/work/c.ics", "c", "20240112", "Launch"));
  ASSERT_TRUE(fRadicale.PutEvent("/alice/work/a.ics", "a", "20240110", "Planning moved"));
  ASSERT_EQ(fRadicale.Ask("DELETE", "/alice/work/b.ics"), 200);
  report = Sync(source, &requests);
  ASSERT_TRUE(report.marksChanged);
  EXPECT_EQ(report.marks.source->CountEntries(), 2);
  EXPECT_EQ(report.state.entries, 2);
  const std::string data = Cached(source);
  EXPECT_NE(data.find("Launch"), std::string::npos);
  EXPECT_NE(data.find("Planning moved"), std::string::npos);
  EXPECT_EQ(data.find("Review"), std::string::npos);
  EXPECT_LE(requests, 3) << "the list, the changes, and one fetch of the changed events";

  // A new name changes no events.
  ASSERT_TRUE(fRadicale.Rename("/alice/work/", "Office"));
  report = Sync(source, &requests);
  EXPECT_FALSE(report.marksChanged);
  ASSERT_EQ(report.calendars.size(), 1u);
  EXPECT_EQ(report.calendars[0].name, "Office");

  // A new calendar shows (the source shows all); a removed one goes.
  ASSERT_TRUE(fRadicale.MakeCalendar("/alice/home/", "Home"));
  ASSERT_TRUE(fRadicale.PutEvent("/alice/home/h.ics", "h", "20240113", "Dentist"));
  report = Sync(source);
  ASSERT_TRUE(report.marksChanged);
  EXPECT_EQ(report.marks.source->CountEntries(), 3);
  ASSERT_EQ(fRadicale.Ask("DELETE", "/alice/work/"), 200);
  report = Sync(source);
  ASSERT_TRUE(report.marksChanged);
  EXPECT_EQ(report.marks.source->CountEntries(), 1);
  EXPECT_EQ(report.calendars.size(), 1u);
  EXPECT_EQ(Cached(source).find("Launch"), std::string::npos);
}

TEST_P(CalDavTest, OnlyPickedCalendarsAreShown)
{
  ASSERT_TRUE(fRadicale.MakeCalendar("/alice/home/", "Home"));
  ASSERT_TRUE(fRadicale.PutEvent("/alice/home/h.ics", "h", "20240113", "Dentist"));
  CalendarSource source = Source();
  source.calendars = {"/alice/home/"};
  SourceReport report = Sync(source);
  ASSERT_TRUE(report.marksChanged);
  EXPECT_EQ(report.marks.source->CountEntries(), 1);
  EXPECT_NE(Cached(source).find("Dentist"), std::string::npos);

  // Picking the other one drops the first's events.
  source.calendars = {"/alice/work/"};
  report = Sync(source);
  ASSERT_TRUE(report.marksChanged);
  EXPECT_EQ(report.marks.source->CountEntries(), 2);
  EXPECT_EQ(Cached(source).find("Dentist"), std::string::npos);
}

TEST_P(CalDavTest, AStoppedServerLeavesTheCachedEvents)
{
  const CalendarSource source = Source();
  ASSERT_EQ(Sync(source).state.status, SyncStatus::kSynced);
  const int port = fRadicale.Port();
  fRadicale.Stop();
  const SourceReport report = Sync(source);
  EXPECT_EQ(report.state.status, SyncStatus::kOffline) << report.state.detail;
  EXPECT_FALSE(report.marksChanged);

  // What the next start shows, before any network.
  const SourceReport loaded = LoadSource(source, SourceCache(source.Id()));
  EXPECT_EQ(loaded.state.status, SyncStatus::kOffline);
  EXPECT_EQ(loaded.state.offlineSince, 1000);
  ASSERT_NE(loaded.marks.source, nullptr);
  EXPECT_EQ(loaded.marks.source->CountEntries(), 2);

  fRadicale.Start(port);
  EXPECT_EQ(Sync(source).state.status, SyncStatus::kSynced);
}

INSTANTIATE_TEST_SUITE_P(Servers, CalDavTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "CtagsAndEtags" : "SyncCollection";
                         });
