// Calendar sources with the real programs: `Orvella --add-calendar` from a
// script while Orvella runs, the password typed into the Calendars window
// when there is no keyring, and a restart with the server stopped.
#include "sync/CalendarSource.h"
#include "tests/client/RoadSupport.h"
#include "tests/sync/SyncServers.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

class TestApp : public BApplication {
public:
  TestApp() : BApplication("application/x-vnd.KX-SourcesRoadTest") {}
};

// `Orvella --add-calendar ...` as a script runs it: no display, the
// password (if any) on standard input.
struct Command {
  int exitCode = -1;
  QString output;
};

Command AddCalendar(const QStringList& args, const QByteArray& input = QByteArray())
{
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(variable);
  process.setProcessEnvironment(env);
  process.start(BinDir() + "/Orvella", args);
  process.write(input);
  process.closeWriteChannel();
  Command command;
  if (process.waitForFinished(kWaitMs))
    command.exitCode = process.exitCode();
  command.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
  return command;
}

class SourcesRoadTest : public RoadTest {
protected:
  static void SetUpTestSuite() { sApp = new TestApp(); }
  static void TearDownTestSuite() { delete sApp; }

  void SetUp() override
  {
    ASSERT_TRUE(fRadicale.Running());
    ASSERT_TRUE(fRadicale.MakeCalendar("/alice/work/", "Work"));
    ASSERT_TRUE(fRadicale.PutEvent("/alice/work/a.ics", "a", "20300507", "Planning"));
  }

  // A keyring of the test's own, unlocked, as at a desktop login.
  void StartKeyring()
  {
    fKeyring.Process().setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    fKeyring.Start("gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"});
    fKeyring.Process().write("login password\n");
    fKeyring.Process().closeWriteChannel();
    ASSERT_TRUE(WaitFor([]() {
      return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.secrets").value();
    }));
  }

  static inline TestApp* sApp = nullptr;
  Radicale fRadicale;
  ServerProcess fKeyring;
};

} // namespace

TEST_F(SourcesRoadTest, AScriptAddsAnAccountThatTheRunningWindowTakesUp)
{
  StartOrvella();
  // Qt Network costs every start its time; without a source it stays out.
  EXPECT_FALSE(fOrvella->HasLoaded("libQt6Network.so"));
  const QString account = fRadicale.Url("/");
  const struct {
    const char* edge;
    QStringList args;
    QByteArray input;
    int exitCode;
    const char* says;
  } rows[] = {
      {"no address", {"--add-calendar"}, {}, 2, "needs a value"},
      {"an unknown option", {"--add-calendar", account, "--colour", "red"}, {}, 2, "unknown option '--colour'"},
      {"an ftp address", {"--add-calendar", "ftp://example.org/cal"}, {}, 1, "only https://"},
      {"no password", {"--add-calendar", account, "--user", "alice"}, {}, 1, "no password given"},
      {"a wrong password", {"--add-calendar", account, "--user", "alice"}, "guess\n", 1, "not added: wrong password"},
      {"nobody there", {"--add-calendar", QString("http://127.0.0.1:%1/team.ics").arg(FreePort())}, {}, 1,
       "not added: offline"},
      {"the account", {"--add-calendar", account, "--user", "alice", "--kind", "user"}, kRadicalePassword + QByteArray("\n"), 0,
       "Added the CalDAV account"},
      {"the account again", {"--add-calendar", account, "--user", "alice"}, kRadicalePassword + QByteArray("\n"), 1, "already"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    const Command command = AddCalendar(row.args, row.input);
    EXPECT_EQ(command.exitCode, row.exitCode) << command.output.toStdString();
    EXPECT_TRUE(command.output.contains(row.says)) << command.output.toStdString();
    EXPECT_FALSE(command.output.contains(kRadicalePassword)) << "no password in any message";
  }

  // No keyring on this bus: the running window asks for the password once,
  // in the Calendars window, with the field ready for typing.
  ASSERT_TRUE(fOrvella->WaitToSay(": password needed")) << fOrvella->Output();
  ASSERT_TRUE(WaitFor([]() { return WindowShown("Calendars"); }));
  ASSERT_TRUE(fOrvella->WaitToSay("Calendars window row: 127.0.0.1")) << fOrvella->Output();
  QString id;
  ASSERT_TRUE(Xdotool({"search", "--onlyvisible", "--name", "^Calendars$"}, &id));
  ASSERT_TRUE(Xdotool({"type", "--window", id.trimmed(), "--delay", "20", kRadicalePassword}));
  ASSERT_TRUE(Xdotool({"key", "--window", id.trimmed(), "Return"}));
  ASSERT_TRUE(fOrvella->WaitToSay("calendar source: 1 Work: synced")) << fOrvella->Output();
  ASSERT_TRUE(fOrvella->WaitToSay(" 1 entries")) << fOrvella->Output();
  EXPECT_FALSE(fOrvella->Said(kRadicalePassword)) << "no password in any trace line";
  EXPECT_TRUE(fOrvella->HasLoaded("liborvella-sync-network.so"));
}

TEST_F(SourcesRoadTest, ARestartWithTheServerStoppedShowsTheCachedEvents)
{
  StartKeyring();
  const Command added = AddCalendar({"--add-calendar", fRadicale.Url("/"), "--user", "alice"}, kRadicalePassword + QByteArray("\n"));
  ASSERT_EQ(added.exitCode, 0) << added.output.toStdString();
  EXPECT_FALSE(added.output.contains("No keyring")) << added.output.toStdString();

  StartOrvella();
  ASSERT_TRUE(fOrvella->WaitToSay("calendar source: 1 Work: synced")) << fOrvella->Output();

  // An event added on the server shows after Reload (Ctrl+R).
  ASSERT_TRUE(fRadicale.PutEvent("/alice/work/b.ics", "b", "20300508", "Review"));
  QString id;
  ASSERT_TRUE(Xdotool({"search", "--onlyvisible", "--name", "^Orvella$"}, &id));
  // A click below the panel gives the window the keys.
  ASSERT_TRUE(Xdotool({"mousemove", "--window", id.trimmed(), "160", "73", "click", "1"}));
  ASSERT_TRUE(Xdotool({"key", "--window", id.trimmed(), "ctrl+r"}));
  ASSERT_TRUE(fOrvella->WaitToSay("calendar source: 2 Work: synced")) << fOrvella->Output();
  StopOrvella();

  // The server gone: the cached events show at once, and the source says
  // since when it is offline.
  fRadicale.Stop();
  StartOrvella();
  ASSERT_TRUE(fOrvella->WaitToSay(" 2 entries")) << fOrvella->Output();
  ASSERT_TRUE(fOrvella->WaitToSay("calendar source: 2 Work: offline since ")) << fOrvella->Output();
}
