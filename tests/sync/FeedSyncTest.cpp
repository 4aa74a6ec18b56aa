// Feeds synced from the test server, and the ways a server can fail: the
// last good data always stays, and the failure says what and where.
#include "sync/network/DavExchange.h"
#include "sync/network/HttpClient.h"
#include "sync/network/NetworkSync.h"
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncServers.h"


#include <gtest/gtest.h>

namespace {

const QByteArray kTwoEvents = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                              "BEGIN:VEVENT\r\nUID:a@test\r\nDTSTART;VALUE=DATE:20240101\r\nSUMMARY:New Year\r\nEND:VEVENT\r\n"
                              "BEGIN:VEVENT\r\nUID:b@test\r\nDTSTART;VALUE=DATE:20241003\r\nSUMMARY:Unity\r\nEND:VEVENT\r\n"
                              "END:VCALENDAR\r\n";

// Limits short enough for a test to wait them out.
HttpLimits ShortLimits()
{
  HttpLimits limits;
  limits.answerMs = 1500;
  limits.pauseMs = 1500;
  return limits;
}

class FeedTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(fServer.Running()); }

  CalendarSource Feed(const QString& url, const std::string& user = std::string())
  {
    CalendarSource source;
    source.url = url.toStdString();
    source.type = CalendarSource::kFeed;
    source.kind = "deDE";
    source.user = user;
    return source;
  }

  SourceReport Sync(const CalendarSource& source, const std::string& password = std::string(), int64 now = 1000)
  {
    HttpClient http(ShortLimits());
    http.SetCredentials(QUrl(QString::fromStdString(source.FetchUrl())), source.user, password);
    return SyncSource(http, source, SourceCache(source.Id()), now);
  }

  std::string CachedData(const CalendarSource& source)
  {
    std::string data, error;
    SourceCache(source.Id()).ReadData(&data, &error);
    return data;
  }

  TempHome fHome;
  TestServer fServer;
};

} // namespace

TEST_F(FeedTest, ChangedFeedIsFetchedUnchangedOneIsAskedConditionally)
{
  const CalendarSource source = Feed(fServer.Url("/feed.ics"));
  const SourceReport first = Sync(source, std::string(), 1000);
  EXPECT_EQ(first.state.status, SyncStatus::kSynced) << first.state.detail;
  EXPECT_EQ(first.state.lastSync, 1000);
  ASSERT_TRUE(first.marksChanged);
  ASSERT_NE(first.marks.source, nullptr);
  EXPECT_EQ(first.marks.source->CountEntries(), 1);
  EXPECT_EQ(first.marks.source->Kind(), uint32('deDE'));
  QJsonObject headers;
  EXPECT_EQ(fServer.Requests("/feed.ics", &headers), 1);
  EXPECT_FALSE(headers.contains("if-none-match"));

  const SourceReport second = Sync(source, std::string(), 2000);
  EXPECT_EQ(second.state.status, SyncStatus::kSynced);
  EXPECT_EQ(second.state.lastSync, 2000);
  EXPECT_FALSE(second.marksChanged) << "an unchanged feed leaves the marks as they are";
  EXPECT_EQ(second.state.entries, 1);
  EXPECT_EQ(fServer.Requests("/feed.ics", &headers), 2);
  EXPECT_EQ(headers["if-none-match"].toString(), "\"v1\"");
  EXPECT_TRUE(headers.contains("if-modified-since"));

  fServer.SetFeed(kTwoEvents);
  const SourceReport third = Sync(source);
  ASSERT_TRUE(third.marksChanged);
  EXPECT_EQ(third.marks.source->CountEntries(), 2);
  EXPECT_EQ(third.state.entries, 2);
  EXPECT_EQ(CachedData(source), kTwoEvents.toStdString());
}

TEST_F(FeedTest, FailuresKeepTheLastGoodData)
{
  const CalendarSource source = Feed(fServer.Url("/feed.ics"));
  ASSERT_EQ(Sync(source, std::string(), 500).state.status, SyncStatus::kSynced);
  const std::string good = CachedData(source);
  const std::string host = "127.0.0.1:" + std::to_string(fServer.Port());
  const struct {
    const char* edge;
    const char* mode;
    SyncStatus status;
  } rows[] = {
      {"not found", "status 404", SyncStatus::kNotCalendar},
      {"server error", "status 500", SyncStatus::kServerError},
      {"a web page", "html", SyncStatus::kNotCalendar},
      {"no headers in time", "slow-headers 4", SyncStatus::kTimedOut},
      {"a body that stalls", "slow-body 4", SyncStatus::kTimedOut},
      {"60 MB announced", "big 60", SyncStatus::kTooLarge},
      {"60 MB unannounced", "big-chunked 60", SyncStatus::kTooLarge},
      {"closed in the middle of the body", "cut", SyncStatus::kBadAnswer},
      {"endless redirects", "loop", SyncStatus::kTooManyRedirects},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    fServer.SetMode(row.mode);
    const SourceReport report = Sync(source, std::string(), 1000);
    EXPECT_EQ(report.state.status, row.status) << SyncStatusName(report.state.status) << " " << report.state.detail;
    EXPECT_NE(report.state.detail.find(host), std::string::npos) << report.state.detail;
    EXPECT_FALSE(report.marksChanged);
    EXPECT_EQ(report.state.lastSync, 500) << "the last good sync stays known";
    EXPECT_EQ(report.state.entries, 1);
    EXPECT_EQ(CachedData(source), good);
    const CacheState kept = SourceCache(source.Id()).ReadState();
    EXPECT_EQ(kept.state.status, row.status) << "the failure is remembered for the next start";
    EXPECT_EQ(kept.etag, "\"v1\"");
  }
  fServer.SetMode("");
  EXPECT_EQ(Sync(source).state.status, SyncStatus::kSynced);
}

TEST_F(FeedTest, OfflineSinceTheFirstFailedTry)
{
  const CalendarSource source = Feed(QString("http://127.0.0.1:%1/feed.ics").arg(FreePort()));
  EXPECT_EQ(Sync(source, std::string(), 1000).state.offlineSince, 1000);
  const SourceReport again = Sync(source, std::string(), 2000);
  EXPECT_EQ(again.state.status, SyncStatus::kOffline);
  EXPECT_EQ(again.state.offlineSince, 1000);
  EXPECT_EQ(SourceCache(source.Id()).ReadState().state.offlineSince, 1000) << "also after a restart";
}

TEST_F(FeedTest, PasswordsGoOnlyWhereTheyBelong)
{
  const struct {
    const char* edge;
    const char* password;
    SyncStatus status;
  } rows[] = {
      {"the right password", "secret", SyncStatus::kSynced},
      {"a wrong password", "guess", SyncStatus::kWrongPassword},
      {"no password", "", SyncStatus::kPasswordNeeded},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    EXPECT_EQ(Sync(Feed(fServer.Url("/auth/feed.ics"), "alice"), row.password).state.status, row.status);
  }

  // A redirect to another port is another origin: the password stays behind.
  TestServer other;
  ASSERT_TRUE(other.Running());
  const CalendarSource redirected = Feed(fServer.Url("/redirect?to=" + other.Url("/feed.ics")), "alice");
  EXPECT_EQ(Sync(redirected, "secret").state.status, SyncStatus::kSynced);
  QJsonObject first, second;
  fServer.Requests("/redirect?to=" + other.Url("/feed.ics"), &first);
  EXPECT_EQ(other.Requests("/feed.ics", &second), 1);
  EXPECT_TRUE(first.contains("authorization"));
  EXPECT_FALSE(second.contains("authorization"));
}

TEST_F(FeedTest, NoPasswordOverPlainHttpToAnotherMachine)
{
  HttpClient http(ShortLimits());
  http.SetCredentials(QUrl("http://calendar.example/"), "alice", "secret");
  const HttpAnswer answer = http.Run({"GET", QUrl("http://calendar.example/team.ics"), {}, {}});
  EXPECT_EQ(answer.failure, SyncStatus::kPlainHttpRefused);
  EXPECT_NE(answer.detail.find("calendar.example"), std::string::npos);
  EXPECT_EQ(http.Requests(), 0) << "nothing was sent";
}

TEST_F(FeedTest, UntrustedCertificateIsRefusedNamingTheHost)
{
  TestServer tls({"--tls", ORVELLA_TEST_DATA "/tls/cert.pem", ORVELLA_TEST_DATA "/tls/key.pem"});
  ASSERT_TRUE(tls.Running());
  const SourceReport report = Sync(Feed(tls.Url("/feed.ics", "https")));
  EXPECT_EQ(report.state.status, SyncStatus::kCertificate) << report.state.detail;
  EXPECT_NE(report.state.detail.find("127.0.0.1"), std::string::npos) << report.state.detail;
  EXPECT_EQ(tls.Requests("/feed.ics"), 0) << "no request went over the untrusted connection";
}

TEST_F(FeedTest, HostileDavAnswersAreRefused)
{
  const struct {
    const char* edge;
    const char* path;
    SyncStatus status;
    const char* detail;
  } rows[] = {
      {"malformed XML", "/dav/malformed", SyncStatus::kBadAnswer, "XML error"},
      {"an entity bomb", "/dav/entities", SyncStatus::kBadAnswer, "document type declaration"},
      {"60 MB of answer", "/dav/huge", SyncStatus::kTooLarge, "50 MB"},
      {"a web page", "/dav/notxml", SyncStatus::kBadAnswer, "no multistatus"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    HttpClient http(ShortLimits());
    DavAnswer answer;
    SyncFailure failure;
    EXPECT_FALSE(DavExchange(http, "PROPFIND", QUrl(fServer.Url(row.path)), 1, kCalendarsBody, &answer, &failure));
    EXPECT_EQ(failure.status, row.status);
    EXPECT_NE(failure.detail.find(row.detail), std::string::npos) << failure.detail;

    // A CalDAV source there keeps its cached events.
    CalendarSource source = Feed(fServer.Url(row.path));
    source.type = CalendarSource::kCalDav;
    std::string error;
    ASSERT_TRUE(SourceCache(source.Id()).WriteData("cached events", &error));
    const SourceReport report = Sync(source);
    EXPECT_EQ(report.state.status, row.status);
    EXPECT_FALSE(report.marksChanged);
    EXPECT_EQ(CachedData(source), "cached events");
  }
}
