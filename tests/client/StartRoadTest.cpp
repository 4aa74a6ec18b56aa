// Starting Orvella as a user does, with things in the way: a running
// Orvella that does not answer, and a calendar folder of hostile files.
#include "tests/client/RoadSupport.h"

#include <QDBusConnectionInterface>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

class Listener : public BApplication {
public:
  Listener() : BApplication("application/x-vnd.test-starter") {}
  void MessageReceived(BMessage* message) override
  {
    if (message->what == '_KXT')
      answers.push_back(*message);
  }
  std::vector<BMessage> answers;
};

Listener* sApp = nullptr;

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { sApp = new Listener; }
  void TearDown() override
  {
    delete sApp;
    sApp = nullptr;
  }
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

class StartRoadTest : public RoadTest {
protected:
  pid_t OrvellaPid() const
  {
    return pid_t(QDBusConnection::sessionBus().interface()->servicePid(kOrvellaBusName).value());
  }
};

TEST_F(StartRoadTest, ASecondStartFindingAnOrvellaThatDoesNotAnswerSaysSo)
{
  StartOrvella();
  const pid_t running = OrvellaPid();
  ASSERT_GT(running, 0);
  // Before, the second start took the missing answer for a hand-over and
  // ended with 0: the user got no window and no word.
  ASSERT_EQ(kill(running, SIGSTOP), 0);
  Program second(BinDir() + "/Orvella", {});
  const bool ended = second.WaitToExit();
  kill(running, SIGCONT);
  ASSERT_TRUE(ended);
  EXPECT_EQ(second.ExitCode(), 1);
  EXPECT_NE(second.Stderr().find("an Orvella already runs but does not answer"), std::string::npos)
      << second.Output();

  // Answering again, it takes the next start over as before.
  Program third(BinDir() + "/Orvella", {});
  ASSERT_TRUE(third.WaitToExit());
  EXPECT_EQ(third.ExitCode(), 0) << third.Output();
}

TEST_F(StartRoadTest, HostileCalendarFilesHoldNothingUp)
{
  // A pipe that held Orvella in open() before its window existed, a time
  // zone repeating every second that filled memory, and files of rules
  // that never meet their BY parts.
  const std::string folder = fHome.Path(".local/share/orvella/calendars");
  ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
  ASSERT_EQ(mkfifo((folder + "/pipe.ics").c_str(), 0644), 0);
  std::ofstream(folder + "/zone.ics")
      << "BEGIN:VCALENDAR\nBEGIN:VTIMEZONE\nTZID:Odd\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
         "TZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nRRULE:FREQ=SECONDLY\nEND:STANDARD\nEND:VTIMEZONE\n"
         "BEGIN:VEVENT\nDTSTART;TZID=Odd:20240101T120000\nRRULE:FREQ=DAILY\nSUMMARY:Odd\nEND:VEVENT\nEND:VCALENDAR\n";
  for (int i = 0; i < 40; i++)
    std::ofstream(folder + "/never" + std::to_string(i) + ".ics")
        << "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20240101\n"
           "RRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30\nSUMMARY:Never\nEND:VEVENT\nEND:VCALENDAR\n";

  StartOrvella();
  // The window takes a click while the files are worked on.
  ASSERT_TRUE(ClickUntil(kBroadcastX, kButtonY, [&]() {
    return WaitFor([&]() { return !sApp->answers.empty(); }, 0);
  })) << fOrvella->Output();
  EXPECT_TRUE(fOrvella->WaitToSay("pipe.ics' not read: not a regular file")) << fOrvella->Output();
  EXPECT_TRUE(fOrvella->WaitToSay("zone.ics': 1 time-zone rule repeating more often than daily ignored"))
      << fOrvella->Output();

  // And it still takes a second start over.
  Program second(BinDir() + "/Orvella", {});
  ASSERT_TRUE(second.WaitToExit());
  EXPECT_EQ(second.ExitCode(), 0) << second.Output();
}

} // namespace
