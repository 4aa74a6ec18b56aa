// When the sources are synced next: a source at its interval, an offline
// one sooner, and each further try after twice the wait, up to the
// interval.
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncRecorder.h"
#include "tests/sync/SyncServers.h"

#include <chrono>

#include <gtest/gtest.h>

namespace {

// Minutes from now to the entry's next sync, rounded.
int MinutesToNext(const CalendarSync::Entry& entry)
{
  const int64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
  return int((entry.nextSyncMs - now + 30000) / 60000);
}

} // namespace

TEST(ScheduleTest, OfflineSourcesAreTriedSoonerUpToTheirInterval)
{
  TempHome home;
  TestServer server;
  ASSERT_TRUE(server.Running());
  CalendarSource online;
  online.url = server.Url("/feed.ics").toStdString();
  online.refreshMinutes = 45;
  CalendarSource offline;
  offline.url = QString("http://127.0.0.1:%1/feed.ics").arg(FreePort()).toStdString();
  offline.refreshMinutes = 3;
  std::string error;
  ASSERT_TRUE(WriteSources(SourcesFilePath(), {online, offline}, &error)) << error;

  SyncRecorder heard;
  CalendarSync sync(&heard);
  sync.Start();
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, online.Id(), SyncStatus::kSynced));
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, offline.Id(), SyncStatus::kOffline));
  EXPECT_EQ(MinutesToNext(*sync.Find(online.Id())), 45);
  EXPECT_EQ(MinutesToNext(*sync.Find(offline.Id())), 1);
  for (int expected : {2, 3, 3}) {
    sync.SyncNow(offline.Id());
    ASSERT_TRUE(sync.Find(offline.Id())->syncing);
    ASSERT_TRUE(SyncRecorder::WaitForState(sync, offline.Id(), SyncStatus::kOffline));
    EXPECT_EQ(MinutesToNext(*sync.Find(offline.Id())), expected);
  }
}
