// The cache of a source: what a sync leaves for the next start.
#include "sync/SourceCache.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

TEST(SourceCacheTest, StateAndDataReadBackAsWritten)
{
  TempHome home;
  SourceCache cache("0123456789abcdef");
  EXPECT_EQ(cache.DataPath(), home.Path(".cache/orvella/0123456789abcdef.ics"));

  CacheState state;
  state.state = SourceState{SyncStatus::kOffline, "dav.example.org: Connection refused", 1700000000, 1700003600, 42};
  state.etag = "\"v7\"";
  state.lastModified = "Tue, 05 Mar 2024 10:00:00 GMT";
  state.home = "https://dav.example.org/alice/";
  state.calendars = {{"/alice/work/", "Work\nmultiline", "#FF0000", "\"c1\"", "tok1", true},
                     {"/alice/home/", "Home", "", "\"c2\"", "", false}};
  std::string error;
  ASSERT_TRUE(cache.WriteState(state, &error)) << error;
  ASSERT_TRUE(cache.WriteData("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", &error)) << error;

  const CacheState read = cache.ReadState();
  EXPECT_EQ(read.state, state.state);
  EXPECT_EQ(read.etag, state.etag);
  EXPECT_EQ(read.lastModified, state.lastModified);
  EXPECT_EQ(read.home, state.home);
  ASSERT_EQ(read.calendars.size(), 2u);
  EXPECT_EQ(read.calendars[0].name, "Work multiline");
  EXPECT_EQ(read.calendars[0].token, "tok1");
  EXPECT_TRUE(read.calendars[0].syncCollection);
  EXPECT_EQ(read.Calendar("/alice/home/")->ctag, "\"c2\"");
  std::string data;
  EXPECT_TRUE(cache.ReadData(&data, &error));
  EXPECT_EQ(data, "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");

  // Calendars are private: only their owner reads the copies.
  struct stat status;
  ASSERT_EQ(stat(cache.DataPath().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  cache.Remove();
  EXPECT_FALSE(cache.ReadData(&data, &error));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(cache.ReadState().state.status, SyncStatus::kNotSynced);
}

TEST(SourceCacheTest, AFailedWriteLeavesTheOldData)
{
  TempHome home;
  SourceCache cache("fedcba9876543210");
  std::string error;
  ASSERT_TRUE(cache.WriteData("old", &error));
  // A disk that takes no more than 10 bytes a file, even from root.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit small = saved;
  small.rlim_cur = 10;
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = cache.WriteData(std::string(100, 'n'), &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_NE(error.find(cache.DataPath()), std::string::npos) << error;
  std::string data;
  ASSERT_TRUE(cache.ReadData(&data, &error));
  EXPECT_EQ(data, "old");
}

TEST(SourceCacheTest, UnknownStatusNamesReadAsNotSynced)
{
  for (int status = 0; status <= int(SyncStatus::kCacheUnwritable); status++)
    EXPECT_EQ(SyncStatusFromName(SyncStatusName(SyncStatus(status))), SyncStatus(status));
  EXPECT_EQ(SyncStatusFromName("bored"), SyncStatus::kNotSynced);
}
