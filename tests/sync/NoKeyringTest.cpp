// Without a Secret Service on the session bus: Orvella asks for a
// password once a session, keeps it in memory only and says so.
#include "sync/Keyring.h"
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncRecorder.h"
#include "tests/sync/SyncServers.h"

#include <gtest/gtest.h>

TEST(NoKeyringTest, ThePasswordIsAskedOnceAndKeptInMemory)
{
  TempHome home;
  std::string password, why;
  EXPECT_EQ(Keyring::Lookup("https://dav.example.org/", "alice", &password, &why), Keyring::kUnavailable);
  EXPECT_NE(why.find("keyring"), std::string::npos) << why;

  TestServer server;
  ASSERT_TRUE(server.Running());
  CalendarSource source;
  source.url = server.Url("/auth/feed.ics").toStdString();
  source.user = "alice";
  ASSERT_TRUE(WriteSources(SourcesFilePath(), {source}, &why)) << why;

  SyncRecorder heard;
  CalendarSync sync(&heard);
  sync.Start();
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kPasswordNeeded));
  EXPECT_EQ(heard.wanted, std::vector<std::string>{source.Id()});
  EXPECT_TRUE(sync.KeyringMissing());
  EXPECT_EQ(server.Requests("/auth/feed.ics"), 0) << "nothing is sent without a password";

  // Asked once a session: a second sync without it asks no more.
  sync.SyncAll();
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kPasswordNeeded));
  EXPECT_EQ(heard.wanted.size(), 1u);

  sync.GivePassword(source.Id(), "secret");
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kSynced));
  sync.SyncAll();
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kSynced));
  EXPECT_EQ(server.Requests("/auth/feed.ics"), 2);
  ASSERT_NE(heard.marks[MarksId(source)], nullptr);
}
