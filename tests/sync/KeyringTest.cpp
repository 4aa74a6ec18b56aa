// Passwords in a real keyring: gnome-keyring, started by the test on its
// private session bus and unlocked from standard input, as a desktop
// session does at login.
#include "sync/Keyring.h"
#include "sync/SourcesFile.h"
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncRecorder.h"
#include "tests/sync/SyncServers.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDirIterator>

#include <gtest/gtest.h>

namespace {

class KeyringTest : public testing::Test {
protected:
  // One keyring for the program, in a home folder of its own: the
  // program's connection to the Secret Service outlives a test.
  static void SetUpTestSuite()
  {
    sHome = new TempHome();
    sKeyring = new ServerProcess();
    sKeyring->Process().setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    sKeyring->Start("gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"});
    sKeyring->Process().write("login password\n");
    sKeyring->Process().closeWriteChannel();
    WaitFor([]() {
      return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.secrets").value();
    });
  }
  static void TearDownTestSuite()
  {
    delete sKeyring;
    delete sHome;
  }
  void SetUp() override
  {
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.secrets").value());
  }

  // Whether any file below the home folder holds the text.
  bool HomeHolds(const QByteArray& text)
  {
    QDirIterator files(QString::fromStdString(fHome.Root()), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
      QFile file(files.next());
      if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text))
        return true;
    }
    return false;
  }

  static inline TempHome* sHome = nullptr;
  static inline ServerProcess* sKeyring = nullptr;
  TempHome fHome;
};

} // namespace

TEST_F(KeyringTest, StoresFindsAndClearsAPassword)
{
  std::string password, why;
  ASSERT_EQ(Keyring::Lookup("https://dav.example.org/", "alice", &password, &why), Keyring::kNotFound) << why;
  EXPECT_EQ(Keyring::Store("https://dav.example.org/", "alice", "s3cret", &why), Keyring::kDone) << why;
  EXPECT_EQ(Keyring::Store("https://dav.example.org/", "bob", "other", &why), Keyring::kDone) << why;
  ASSERT_EQ(Keyring::Lookup("https://dav.example.org/", "alice", &password, &why), Keyring::kDone) << why;
  EXPECT_EQ(password, "s3cret");
  EXPECT_EQ(Keyring::Lookup("https://other.example.org/", "alice", &password, &why), Keyring::kNotFound);
  EXPECT_EQ(Keyring::Clear("https://dav.example.org/", "alice", &why), Keyring::kDone);
  EXPECT_EQ(Keyring::Lookup("https://dav.example.org/", "alice", &password, &why), Keyring::kNotFound);
  ASSERT_EQ(Keyring::Lookup("https://dav.example.org/", "bob", &password, &why), Keyring::kDone);
  EXPECT_EQ(password, "other");
}

TEST_F(KeyringTest, AnAccountAddedOnceSyncsAfterARestartWithoutAsking)
{
  Radicale radicale;
  ASSERT_TRUE(radicale.MakeCalendar("/alice/work/", "Work"));
  ASSERT_TRUE(radicale.PutEvent("/alice/work/a.ics", "a", "20240110", "Planning"));
  CalendarSource source;
  source.url = radicale.Url("/").toStdString();
  source.type = CalendarSource::kCalDav;
  source.user = "alice";
  {
    SyncRecorder heard;
    CalendarSync sync(&heard);
    sync.Start();
    std::string error;
    ASSERT_TRUE(sync.Add(source, kRadicalePassword, &error)) << error;
    ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kSynced));
    EXPECT_FALSE(sync.KeyringMissing());
    ASSERT_NE(heard.marks[MarksId(source)], nullptr);
    EXPECT_EQ(heard.marks[MarksId(source)]->CountEntries(), 1);
    // Worked out on the worker for the years asked for.
    EXPECT_EQ(heard.years[MarksId(source)][2024].size(), 1u);
  }
  // The next start finds the password in the keyring.
  SyncRecorder heard;
  CalendarSync sync(&heard);
  sync.Start();
  ASSERT_TRUE(SyncRecorder::WaitForState(sync, source.Id(), SyncStatus::kSynced));
  EXPECT_TRUE(heard.wanted.empty());

  // The password is in no file of the home folder: not in calendars.conf,
  // not in the cache (the keyring's own file is encrypted).
  EXPECT_FALSE(HomeHolds(kRadicalePassword));
  std::string password, why;
  EXPECT_EQ(Keyring::Lookup(source.url, "alice", &password, &why), Keyring::kDone);

  // Removing the source takes its password out of the keyring.
  std::string error;
  ASSERT_TRUE(sync.Remove(source.Id(), &error)) << error;
  EXPECT_TRUE(WaitFor([&]() { return Keyring::Lookup(source.url, "alice", &password, &why) == Keyring::kNotFound; }));
}
