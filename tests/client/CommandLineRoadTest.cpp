// AskOrvel's command-line mode as a script uses it, with the real programs
// on a private session bus and X server: the answer on standard output,
// the exit status, Orvella started when it does not run, and a user who
// presses Orvella's buttons with xdotool.
#include "tests/client/RoadSupport.h"

namespace {

class ScriptApp : public BApplication {
public:
  ScriptApp() : BApplication("application/x-vnd.test-script-road") {}
};

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { fApp = std::make_unique<ScriptApp>(); }
  void TearDown() override { fApp.reset(); }

private:
  std::unique_ptr<ScriptApp> fApp;
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

// Every request shows 10 March 2024, 09:30 first.
const QString kPreset = "--preset '2024-03-10 09:30'";

class CommandLineRoadTest : public RoadTest {
protected:
  // A shell line as in a script: the answer into a variable, then the
  // exit status and the variable.
  static std::unique_ptr<Program> Script(const QString& options)
  {
    QProcessEnvironment env;
    env.insert("ASK", BinDir() + "/AskOrvel");
    return std::make_unique<Program>("/bin/sh", QStringList{"-c", "d=$(\"$ASK\" " + options + "); echo \"rc=$? d=[$d]\""},
                                     env);
  }

  // AskOrvel alone, without a display: it shows no window, so it needs none.
  static std::unique_ptr<Program> Ask(const QStringList& options)
  {
    QProcessEnvironment env;
    env.insert("DISPLAY", "");
    return std::make_unique<Program>(BinDir() + "/AskOrvel", options, env);
  }

  // Orvella has taken its count-th request since it started.
  bool WaitForRequests(int count) { return fOrvella->WaitToSay("<- '0x", count); }
};

} // namespace

TEST_F(CommandLineRoadTest, ScriptStartsOrvellaAndGetsTheDate)
{
  std::unique_ptr<Program> script = Script("--date --format %d.%m.%Y " + kPreset);
  ASSERT_TRUE(WaitForOrvella()) << script->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return script->Said("rc="); })) << script->Output();
  EXPECT_EQ(script->Stdout(), "rc=0 d=[10.03.2024]\n") << script->Output();
  EXPECT_TRUE(be_roster->IsRunning(kOrvellaSignature)) << "Orvella goes on after the script has its answer";
}

TEST_F(CommandLineRoadTest, AnswersAndTheirExitStatus)
{
  StartOrvella();
  const QString years = QString("%Y").repeated(20000);
  const struct {
    const char* edge;
    QString options;
    int buttonX;        // clicked, unless a key is pressed
    const char* key;
    QString echoed;
    const char* error;  // on standard error
  } rows[] = {
      {"date", "--date", kOkX, nullptr, "rc=0 d=[2024-03-10]\n", ""},
      {"date and time", "--datetime", kOkX, nullptr, "rc=0 d=[2024-03-10 09:30]\n", ""},
      {"time only", "--time", kOkX, nullptr, "rc=0 d=[09:30]\n", ""},
      {"own format", "--datetime --format '%A, %d %B %Y at %H.%M'", kOkX, nullptr,
       "rc=0 d=[Sunday, 10 March 2024 at 09.30]\n", ""},
      {"answer past 64 KiB, whole", "--date --format " + years, kOkX, nullptr,
       "rc=0 d=[" + QString("2024").repeated(20000) + "]\n", ""},
      {"Return answers", "--date", 0, "Return", "rc=0 d=[2024-03-10]\n", ""},
      {"cancelled date", "--date", kCancelX, nullptr, "rc=1 d=[]\n", "AskOrvel: cancelled in Orvella\n"},
      {"cancelled time", "--time --timeout 60", kCancelX, nullptr, "rc=1 d=[]\n", "AskOrvel: cancelled in Orvella\n"},
      {"Escape cancels", "--time", 0, "Escape", "rc=1 d=[]\n", "AskOrvel: cancelled in Orvella\n"},
  };
  int requests = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    std::unique_ptr<Program> script = Script(row.options + " " + kPreset);
    ASSERT_TRUE(WaitForRequests(++requests)) << fOrvella->Output() << script->Output();
    if (row.key != nullptr) {
      ASSERT_TRUE(PressUntil(row.key, [&]() { return script->Said("rc="); })) << script->Output();
    } else {
      ASSERT_TRUE(ClickUntil(row.buttonX, kButtonY, [&]() { return script->Said("rc="); })) << script->Output();
    }
    ASSERT_TRUE(script->WaitToExit()) << "the whole answer is written";
    EXPECT_TRUE(script->Stdout() == row.echoed.toStdString()) << script->Stdout().substr(0, 200);
    EXPECT_NE(script->Stderr().find(row.error), std::string::npos) << script->Stderr();
  }
}

TEST_F(CommandLineRoadTest, SecondRequestCancelsTheFirst)
{
  StartOrvella();
  std::unique_ptr<Program> first = Script("--date " + kPreset);
  ASSERT_TRUE(WaitForRequests(1)) << first->Output();
  std::unique_ptr<Program> second = Script("--time " + kPreset);
  ASSERT_TRUE(first->WaitToSay("rc=")) << first->Output() << fOrvella->Output();
  EXPECT_EQ(first->Stdout(), "rc=1 d=[]\n");
  EXPECT_NE(first->Stderr().find("AskOrvel: cancelled: another request took Orvella away from this one\n"),
            std::string::npos)
      << first->Stderr();
  ASSERT_TRUE(WaitForRequests(2));
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return second->Said("rc="); })) << second->Output();
  EXPECT_EQ(second->Stdout(), "rc=0 d=[09:30]\n");
}

TEST_F(CommandLineRoadTest, TimeOutWrongOptionsAndOrvellaQuitting)
{
  StartOrvella();
  const struct {
    const char* edge;
    QStringList options;
    int status;
    const char* out;   // all of standard output
    const char* error; // a line on standard error
  } rows[] = {
      {"no answer in time", {"--date", "--timeout", "2"}, 5, "", "AskOrvel: no answer within 2 seconds\n"},
      {"timeout of 0", {"--date", "--timeout", "0"}, 2, "",
       "AskOrvel: --timeout wants a whole number of seconds above 0, not '0'\nusage: AskOrvel "},
      {"no kind of request", {"--format", "%d"}, 2, "", "AskOrvel: choose one of --date, --time and --datetime\n"},
      {"preset after the panel's last year", {"--date", "--preset", "2038-01-19 04:15"}, 2, "",
       "AskOrvel: --preset 2038-01-19 04:15 lies outside the years 1900 to 2037 that Orvella shows\n"},
      {"help", {"--help"}, 0, nullptr, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    std::unique_ptr<Program> ask = Ask(row.options);
    ASSERT_TRUE(ask->WaitToExit()) << ask->Output();
    EXPECT_EQ(ask->ExitCode(), row.status) << ask->Output();
    if (row.out != nullptr)
      EXPECT_EQ(ask->Stdout(), row.out);
    else
      EXPECT_EQ(ask->Stdout().rfind("usage: AskOrvel [--date | --time | --datetime]", 0), 0u) << ask->Stdout();
    EXPECT_NE(ask->Stderr().find(row.error), std::string::npos) << ask->Stderr();
  }

  // A requester whose Orvella goes away does not wait for ever.
  std::unique_ptr<Program> ask = Ask({"--date"});
  ASSERT_TRUE(WaitForRequests(2)) << ask->Output();
  StopOrvella();
  ASSERT_TRUE(ask->WaitToExit()) << ask->Output();
  EXPECT_EQ(ask->ExitCode(), 3);
  EXPECT_EQ(ask->Stdout(), "");
  EXPECT_NE(ask->Stderr().find("AskOrvel: Orvella quit before it answered\n"), std::string::npos) << ask->Stderr();
}

// Without a display the Orvella that AskOrvel starts ends at once; the
// script learns why at once too instead of waiting for the time-out, and
// nothing is left behind.
TEST_F(CommandLineRoadTest, WithoutADisplayOrvellasReasonComesAtOnce)
{
  mkdir(fHome.Path("run").c_str(), 0700);
  QProcessEnvironment env;
  env.insert("DISPLAY", "");
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(fHome.Path("run")));
  Program ask(BinDir() + "/AskOrvel", {"--date", "--timeout", "60"}, env);
  ASSERT_TRUE(ask.WaitToExit(10000)) << "not the time-out's 60 seconds: " << ask.Output();
  EXPECT_EQ(ask.ExitCode(), 3);
  EXPECT_EQ(ask.Stdout(), "");
  EXPECT_NE(ask.Stderr().find("AskOrvel: Orvella ended before it could take the request; it said:\n"), std::string::npos)
      << ask.Stderr();
  EXPECT_NE(ask.Stderr().find("  qt.qpa.xcb: could not connect to display"), std::string::npos) << ask.Stderr();
  EXPECT_FALSE(be_roster->IsRunning(kOrvellaSignature));
  EXPECT_EQ(rmdir(fHome.Path("run").c_str()), 0) << "the file of Orvella's errors is gone";
}
