// The whole road of one request with real programs on a private session
// bus and X server: Orvella, a requester (this test program, AskOrvel or
// the Python example), and a user who presses Orvella's buttons with
// xdotool. Every wait is bounded.
#include "tests/client/RoadSupport.h"

#include <sys/xattr.h>

#include <cstdint>
#include <ctime>

namespace {

// 15 April 2008, 09:30 in Berlin (summer time).
constexpr int64 kPreset = 1208244600;
// AskOrvel's window sits at 100, 100 with "Ask Date" at 20..120, 16..38.
constexpr int kAskDateX = 100 + 70;
constexpr int kAskDateY = 100 + 27;

void* Tag(uintptr_t value)
{
  return reinterpret_cast<void*>(value);
}

// Records the messages that reach it; answers are the '_KXT' without "_ask".
class Inbox : public BHandler {
public:
  void MessageReceived(BMessage* message) override { messages.push_back(*message); }

  std::vector<const BMessage*> Answers() const
  {
    std::vector<const BMessage*> answers;
    for (const BMessage& message : messages) {
      if (message.what == '_KXT' && !message.HasBool("_ask"))
        answers.push_back(&message);
    }
    return answers;
  }

  std::vector<BMessage> messages;
};

class RequesterApp : public BApplication {
public:
  RequesterApp() : BApplication("application/x-vnd.test-requester") {}
  void MessageReceived(BMessage* message) override { inbox.MessageReceived(message); }
  Inbox inbox;
};

RequesterApp* sApp = nullptr;

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { sApp = new RequesterApp; }
  void TearDown() override
  {
    delete sApp;
    sApp = nullptr;
  }
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

BMessage Request(void* tag)
{
  BMessage request('_KXT');
  request.AddBool("_ask", true);
  request.AddBool("_onlyTime", false);
  request.AddInt64("_presetTime", kPreset);
  request.AddString("_okName", "pick");
  request.AddPointer("_itor", tag);
  return request;
}

const std::vector<std::string> kSendFields = {">time", ">target", ">stype", ">state"};
const std::vector<std::string> kCancelFields = {">target", ">stype", ">state", "_resetPtr"};

class RequestRoadTest : public RoadTest {
protected:
  void SetUp() override
  {
    sApp->inbox.messages.clear();
    sApp->AddHandler(&fFirst);
    sApp->AddHandler(&fSecond);
  }

  void TearDown() override
  {
    RoadTest::TearDown();
    sApp->RemoveHandler(&fFirst);
    sApp->RemoveHandler(&fSecond);
  }

  bool Ask(Inbox* inbox, void* tag)
  {
    BMessage request = Request(tag);
    return BMessenger(kOrvellaSignature).SendMessage(&request, inbox) == B_OK;
  }

  static bool GotAnswers(const Inbox& inbox, size_t count)
  {
    return WaitFor([&]() { return inbox.Answers().size() >= count; }, 0);
  }

  Inbox fFirst;
  Inbox fSecond;
};

} // namespace

TEST_F(RequestRoadTest, OkSendsThePresetTimeToTheRequester)
{
  StartOrvella();
  ASSERT_TRUE(Ask(&fFirst, Tag(0x5eed)));
  ASSERT_TRUE(WaitForRequest(Tag(0x5eed))) << fOrvella->Output();
  EXPECT_TRUE(fOrvella->Said("BMessage('_KXT') {")) << "Orvella prints the request";
  EXPECT_TRUE(fOrvella->Said("_okName = string(\"pick\", 4 bytes)"));

  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return GotAnswers(fFirst, 1); })) << fOrvella->Output();
  const BMessage& answer = *fFirst.Answers().front();
  EXPECT_EQ(FieldNames(answer), kSendFields);
  EXPECT_EQ(answer.GetInt64(">time", 0), kPreset);
  EXPECT_EQ(answer.GetInt32(">stype", 99), 1);
  EXPECT_STREQ(answer.GetString(">state", ""), "send");
  BMessenger target;
  ASSERT_EQ(answer.FindMessenger(">target", &target), B_OK);
  EXPECT_EQ(target, BMessenger(&fFirst)) << "the requester's own return address";

  ASSERT_TRUE(fOrvella->WaitToSay("(send   2008/04/15 09:30 )")) << fOrvella->Output();
  EXPECT_TRUE(fOrvella->Said("SEND: \n"));
  EXPECT_EQ(fFirst.Answers().size(), 1u);
  EXPECT_TRUE(be_roster->IsRunning(kOrvellaSignature)) << "no answer ends Orvella";
}

// The start-up helper reaches the bus before the main thread makes the Qt
// application: the window still takes the click.
TEST_F(RequestRoadTest, ClickTakenWhenTheStartUpHelperReachesQtFirst)
{
  QProcessEnvironment shim;
  shim.insert("LD_PRELOAD", START_ORDER_SHIM);
  // The sanitizer build's runtime must come first among preloaded libraries.
  shim.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  fOrvella = std::make_unique<Program>(BinDir() + "/Orvella", QStringList(), shim);
  ASSERT_TRUE(WaitForOrvella()) << fOrvella->Output();
  ASSERT_TRUE(fOrvella->WaitToSayOnStderr("start-order shim: the bus was reached before")) << fOrvella->Output();

  ASSERT_TRUE(Ask(&fFirst, Tag(0x0de7)));
  ASSERT_TRUE(WaitForRequest(Tag(0x0de7))) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return GotAnswers(fFirst, 1); })) << fOrvella->Output();
  EXPECT_EQ(fFirst.Answers().front()->GetInt64(">time", 0), kPreset);
  EXPECT_EQ(fOrvella->Stderr().find("not created in the main() thread"), std::string::npos) << fOrvella->Output();
}

TEST_F(RequestRoadTest, CancelHandsTheRequestTagBack)
{
  StartOrvella();
  ASSERT_TRUE(Ask(&fFirst, Tag(0xc0ffee)));
  ASSERT_TRUE(WaitForRequest(Tag(0xc0ffee))) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kCancelX, kButtonY, [&]() { return GotAnswers(fFirst, 1); })) << fOrvella->Output();
  const BMessage& answer = *fFirst.Answers().front();
  EXPECT_EQ(FieldNames(answer), kCancelFields);
  EXPECT_EQ(answer.GetInt32(">stype", 99), 0);
  EXPECT_STREQ(answer.GetString(">state", ""), "cancel");
  EXPECT_EQ(answer.GetPointer("_resetPtr"), Tag(0xc0ffee));
}

TEST_F(RequestRoadTest, SecondRequestCancelsTheWaitingOne)
{
  StartOrvella();
  ASSERT_TRUE(Ask(&fFirst, Tag(0xa)));
  ASSERT_TRUE(WaitForRequest(Tag(0xa))) << fOrvella->Output();
  ASSERT_TRUE(Ask(&fSecond, Tag(0xb)));
  ASSERT_TRUE(WaitFor([&]() { return GotAnswers(fFirst, 1); })) << fOrvella->Output();
  const BMessage& cancel = *fFirst.Answers().front();
  std::vector<std::string> displaced = kCancelFields;
  displaced.push_back(">displaced");
  EXPECT_EQ(FieldNames(cancel), displaced);
  EXPECT_EQ(cancel.GetPointer("_resetPtr"), Tag(0xa)) << "the first request's own tag";
  EXPECT_TRUE(cancel.GetBool(">displaced", false)) << "a cancel the user did not make says so";
  ASSERT_TRUE(WaitForRequest(Tag(0xb))) << fOrvella->Output();

  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return GotAnswers(fSecond, 1); })) << fOrvella->Output();
  EXPECT_EQ(fSecond.Answers().front()->GetInt64(">time", 0), kPreset);
  EXPECT_EQ(fFirst.Answers().size(), 1u) << "the first requester hears nothing more";
}

TEST_F(RequestRoadTest, BroadcastAnswersReachEveryProgram)
{
  StartOrvella();
  // Nobody waits: the Broadcast button reaches every program through the
  // broadcast alone, and Orvella ignores its own copy.
  ASSERT_TRUE(ClickUntil(kBroadcastX, kButtonY, [&]() { return GotAnswers(sApp->inbox, 1); }))
      << fOrvella->Output();
  const BMessage& idle = *sApp->inbox.Answers().front();
  EXPECT_EQ(FieldNames(idle), (std::vector<std::string>{"_year", "_month", "_day", "_hour", "_min", "_sec", ">time",
                                                        ">target", ">stype", ">state"}));
  EXPECT_EQ(idle.GetInt32(">stype", 99), -1);
  EXPECT_STREQ(idle.GetString(">state", ""), "2all");
  const time_t picked = time_t(idle.GetInt64(">time", 0));
  struct tm local;
  ASSERT_NE(localtime_r(&picked, &local), nullptr);
  EXPECT_EQ(idle.GetInt32("_year", 0), local.tm_year + 1900);
  EXPECT_EQ(idle.GetInt32("_month", 0), local.tm_mon + 1);
  EXPECT_EQ(idle.GetInt32("_day", 0), local.tm_mday);
  EXPECT_EQ(idle.GetInt32("_hour", -1), local.tm_hour);
  EXPECT_EQ(idle.GetInt32("_min", -1), local.tm_min);
  EXPECT_EQ(idle.GetInt32("_sec", -1), 0);
  EXPECT_FALSE(fOrvella->Said("OVA_App#")) << fOrvella->Output();
  BMessenger target;
  ASSERT_EQ(idle.FindMessenger(">target", &target), B_OK);
  EXPECT_TRUE(target.IsValid()) << "with nobody waiting \">target\" is Orvella's window";
}

// Another program reaches only what the wire contract offers it: requests,
// language changes and the quit request. The codes of Orvella's own menus
// and buttons are dropped, at the application and at the window alike.
TEST_F(RequestRoadTest, OtherProgramsReachOnlyWhatTheContractOffers)
{
  StartOrvella();
  ASSERT_TRUE(ClickUntil(kBroadcastX, kButtonY, [&]() { return GotAnswers(sApp->inbox, 1); }))
      << fOrvella->Output();
  BMessenger window;
  ASSERT_EQ(sApp->inbox.Answers().front()->FindMessenger(">target", &window), B_OK);
  const std::string settings = fHome.Path(".config/_LP_x-vnd.KX/OVA_settings");
  auto stored = [&settings](const char* key) {
    char byte = 9;
    getxattr(settings.c_str(), (std::string("user.") + key).c_str(), &byte, 1);
    return int(byte);
  };
  ASSERT_EQ(stored("time_style"), 0);
  ASSERT_EQ(stored("days_global"), 1);

  BMessage amPm('MENU');
  amPm.AddInt32("m_id", 5);
  BMessage broadcast('Qmod');
  broadcast.AddInt32("_QuitMod", -1);
  for (BMessenger to : {BMessenger(kOrvellaSignature), window}) {
    for (BMessage message : {amPm, BMessage('sGmd'), BMessage('rMDf'), BMessage('oMDf'), broadcast})
      ASSERT_EQ(to.SendMessage(&message), B_OK);
  }
  ASSERT_TRUE(fOrvella->WaitToSay("from another program dropped", 10)) << fOrvella->Output();
  EXPECT_TRUE(fOrvella->Said("OVA_App: 'MENU' from another program dropped\n")) << fOrvella->Output();
  EXPECT_EQ(stored("time_style"), 0) << "the settings file is untouched";
  EXPECT_EQ(stored("days_global"), 1);
  EXPECT_FALSE(fOrvella->Said("m_idValue")) << fOrvella->Output();
  EXPECT_FALSE(fOrvella->Said("[open]")) << fOrvella->Output();
  EXPECT_EQ(sApp->inbox.Answers().size(), 1u) << "no answer was made";

  // A request by broadcast is taken and answered.
  BMessage request = Request(Tag(0xbc));
  ASSERT_EQ(be_roster->Broadcast(&request), B_OK);
  ASSERT_TRUE(WaitForRequest(Tag(0xbc))) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return GotAnswers(sApp->inbox, 2); })) << fOrvella->Output();
  EXPECT_EQ(sApp->inbox.Answers().back()->GetInt64(">time", 0), kPreset);

  // And the desktop's quit request ends Orvella.
  ASSERT_EQ(window.SendMessage(B_QUIT_REQUESTED), B_OK);
  EXPECT_TRUE(WaitFor([]() { return !be_roster->IsRunning(kOrvellaSignature); })) << fOrvella->Output();
}

TEST_F(RequestRoadTest, RequesterThatLeftMissesItsAnswerAndOrvellaGoesOn)
{
  StartOrvella();
  Program gone("/usr/bin/python3", {ASK_DATE_PY, "--timeout", "1"});
  ASSERT_TRUE(gone.WaitToExit()) << gone.Output();
  EXPECT_EQ(gone.ExitCode(), 3) << gone.Output();
  ASSERT_TRUE(fOrvella->WaitToSay("<- '0x1'")) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return fOrvella->Said("SEND: "); })) << fOrvella->Output();

  ASSERT_TRUE(Ask(&fFirst, Tag(0x2)));
  ASSERT_TRUE(WaitForRequest(Tag(0x2))) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return GotAnswers(fFirst, 1); })) << fOrvella->Output();
  EXPECT_EQ(fFirst.Answers().front()->GetInt64(">time", 0), kPreset);
}

TEST_F(RequestRoadTest, PythonExampleGetsTheAnsweredDate)
{
  StartOrvella();
  Program example("/usr/bin/python3", {ASK_DATE_PY, "--preset", "2008/04/15 09:30", "--timeout", "60"});
  ASSERT_TRUE(example.WaitToSay("asked")) << example.Output();
  ASSERT_TRUE(WaitForRequest(Tag(0x1))) << fOrvella->Output();
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return example.Said("2008/04/15 09:30\n"); }))
      << example.Output() << fOrvella->Output();
  ASSERT_TRUE(example.WaitToExit());
  EXPECT_EQ(example.ExitCode(), 0);
}

TEST_F(RequestRoadTest, AskOrvelStartsOrvellaAndShowsTheAnswer)
{
  // Orvella's trace comes through AskOrvel's output: AskOrvel started it.
  Program ask(BinDir() + "/AskOrvel", {});
  ASSERT_TRUE(ask.WaitToSay("App found :) \n")) << ask.Output();
  ASSERT_TRUE(WaitForOrvella()) << ask.Output();
  ASSERT_TRUE(WaitFor([]() { return WindowShown("AskOrvel"); }));

  // Cancel gives the "Ask Date" button back; the date stays unanswered.
  ASSERT_TRUE(ClickUntil(kAskDateX, kAskDateY, [&]() { return ask.Said("<- '0x"); })) << ask.Output();
  ASSERT_TRUE(ClickUntil(kCancelX, kButtonY, [&]() { return ask.Said("shown: "); })) << ask.Output();
  EXPECT_TRUE(ask.Said("shown: askMode=1 askb=1 askt=1 rdate='...' rtime='...' bcSv='...'\n")) << ask.Output();

  ASSERT_TRUE(ClickUntil(kAskDateX, kAskDateY, [&]() { return ask.Count("<- '0x") >= 2; })) << ask.Output();
  EXPECT_TRUE(ask.Said("already runs; handing over")) << "every request starts Orvella again";
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&]() { return ask.Count("shown: ") >= 2; })) << ask.Output();
  EXPECT_TRUE(ask.Said("shown: askMode=0 askb=1 askt=1 rdate=' 2008/04/15 09:30' rtime='...' bcSv='...'\n"))
      << ask.Output();
}

// Orvella quits while AskOrvel's request waits: the button comes back and
// the date line says why no date came.
TEST_F(RequestRoadTest, AskOrvelGetsItsButtonBackWhenOrvellaQuits)
{
  StartOrvella();
  Program ask(BinDir() + "/AskOrvel", {});
  ASSERT_TRUE(WaitFor([]() { return WindowShown("AskOrvel"); })) << ask.Output();
  ASSERT_TRUE(ClickUntil(kAskDateX, kAskDateY, [&]() { return fOrvella->Said("<- '0x"); })) << fOrvella->Output();
  StopOrvella();
  ASSERT_TRUE(ask.WaitToSay("shown: ")) << ask.Output();
  EXPECT_TRUE(ask.Said("ask Win: Orvella quit before answering\n"));
  EXPECT_TRUE(ask.Said("shown: askMode=0 askb=1 askt=1 rdate='Orvella quit before answering' rtime='...' bcSv='...'\n"))
      << ask.Output();
}
