#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessageRunner.h"
#include "platform/messaging/BMessenger.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <QDeadlineTimer>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Records what reached it, tagged with its own name; a passing recorder
// leaves 'pass' messages to the base class.
class Recorder : public BHandler {
public:
  Recorder(const char* name, std::vector<std::string>* log, bool passing = false)
      : BHandler(name), fLog(log), fPassing(passing) {}
  void MessageReceived(BMessage* message) override
  {
    if (fPassing && message->what == 'pass') {
      BHandler::MessageReceived(message);
      return;
    }
    fLog->push_back(std::string(Name()) + ":" + message->GetString("tag", "-"));
  }

private:
  std::vector<std::string>* fLog;
  bool fPassing;
};

class RecordingLooper : public BLooper {
public:
  RecordingLooper(std::vector<std::string>* log, bool* deleted = nullptr)
      : BLooper("looper"), fLog(log), fDeleted(deleted) {}
  ~RecordingLooper() override
  {
    if (fDeleted != nullptr)
      *fDeleted = true;
  }
  void MessageReceived(BMessage* message) override
  {
    fLog->push_back(std::string("looper:") + message->GetString("tag", "-"));
    if (message->what == 'quit')
      Quit();
    if (message->what == 'lock')
      fLog->push_back(IsLocked() ? "locked" : "unlocked");
  }
  bool QuitRequested() override { return allowQuit; }

  bool allowQuit = true;

private:
  std::vector<std::string>* fLog;
  bool* fDeleted;
};

class LooperTest : public testing::Test {
protected:
  static void SetUpTestSuite()
  {
    static int argc = 1;
    static char name[] = "looper_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }

  static void Drain() { QCoreApplication::processEvents(); }

  static BMessage Tagged(uint32 what, const char* tag)
  {
    BMessage message(what);
    message.AddString("tag", tag);
    return message;
  }

  std::vector<std::string> log;
};

} // namespace

TEST_F(LooperTest, PostedMessagesArriveLaterInOrderAtTheirTarget)
{
  RecordingLooper looper(&log);
  Recorder panel("panel", &log);
  looper.AddHandler(&panel);
  BMessage first = Tagged('abcd', "1");
  BMessage second = Tagged('abcd', "2");
  ASSERT_EQ(looper.PostMessage(&first), B_OK);
  ASSERT_EQ(looper.PostMessage(&second, &panel), B_OK);
  first.ReplaceString("tag", "changed after posting");
  EXPECT_TRUE(log.empty()) << "posting never delivers at once";
  Drain();
  EXPECT_EQ(log, (std::vector<std::string>{"looper:1", "panel:2"}));
}

TEST_F(LooperTest, HandlerPassesUnhandledMessagesToItsNextHandler)
{
  RecordingLooper looper(&log);
  Recorder panel("panel", &log, true);
  Recorder last("last", &log);
  looper.AddHandler(&panel);
  panel.SetNextHandler(&last);
  BMessage pass = Tagged('pass', "p");
  looper.PostMessage(&pass, &panel);
  Recorder alone("alone", &log, true);
  looper.AddHandler(&alone);
  looper.PostMessage(&pass, &alone);
  Drain();
  EXPECT_EQ(log, (std::vector<std::string>{"last:p"})) << "without a next handler it is dropped";
}

TEST_F(LooperTest, HandlerOfAnotherLooperIsRefused)
{
  RecordingLooper looper(&log);
  RecordingLooper other(&log);
  Recorder panel("panel", &log);
  other.AddHandler(&panel);
  EXPECT_EQ(looper.PostMessage('abcd', &panel), B_MISMATCHED_VALUES);
  Recorder loose("loose", &log);
  EXPECT_EQ(looper.PostMessage('abcd', &loose), B_MISMATCHED_VALUES);
}

TEST_F(LooperTest, MessagesToDeletedLoopersAndHandlersAreDropped)
{
  auto* looper = new RecordingLooper(&log);
  auto* panel = new Recorder("panel", &log);
  RecordingLooper survivor(&log);
  looper->AddHandler(panel);
  BMessage tagged = Tagged('abcd', "late");
  looper->PostMessage(&tagged, panel);
  looper->PostMessage(&tagged);
  survivor.PostMessage(&tagged);
  delete panel;
  delete looper;
  Drain();
  EXPECT_EQ(log, (std::vector<std::string>{"looper:late"})) << "only the survivor gets its message";
}

TEST_F(LooperTest, QuitInsideAHandlerDeletesTheLooperAfterwards)
{
  bool deleted = false;
  auto* looper = new RecordingLooper(&log, &deleted);
  BMessage quit = Tagged('quit', "q");
  looper->PostMessage(&quit);
  looper->PostMessage(&quit);
  Drain();
  EXPECT_TRUE(deleted);
  EXPECT_EQ(log, (std::vector<std::string>{"looper:q"})) << "nothing after quitting";
}

TEST_F(LooperTest, QuitRequestHonoursTheHook)
{
  bool deleted = false;
  auto* looper = new RecordingLooper(&log, &deleted);
  looper->allowQuit = false;
  looper->PostMessage(B_QUIT_REQUESTED);
  Drain();
  EXPECT_FALSE(deleted);
  looper->allowQuit = true;
  looper->PostMessage(B_QUIT_REQUESTED);
  Drain();
  EXPECT_TRUE(deleted);
}

TEST_F(LooperTest, LockIsRecursiveAndHeldDuringDispatch)
{
  RecordingLooper looper(&log);
  EXPECT_FALSE(looper.IsLocked());
  ASSERT_TRUE(looper.Lock());
  ASSERT_TRUE(looper.Lock());
  looper.Unlock();
  EXPECT_TRUE(looper.IsLocked());
  looper.Unlock();
  EXPECT_FALSE(looper.IsLocked());
  looper.PostMessage('lock');
  Drain();
  EXPECT_EQ(log, (std::vector<std::string>{"looper:-", "locked"}));
  EXPECT_EQ(looper.CountLocks(), 0);
}

TEST_F(LooperTest, ReplyHandlerBecomesTheReturnAddress)
{
  RecordingLooper looper(&log);
  Recorder panel("panel", &log);
  Recorder replies("replies", &log);
  looper.AddHandler(&panel);
  looper.AddHandler(&replies);

  // Answers every message to its return address.
  class Echo : public BHandler {
  public:
    void MessageReceived(BMessage* message) override
    {
      BMessage answer('answ');
      answer.AddString("tag", "answer");
      status = message->ReturnAddress().SendMessage(&answer);
    }
    status_t status = B_ERROR;
  } echo;
  looper.AddHandler(&echo);

  BMessage question = Tagged('ques', "q");
  ASSERT_EQ(looper.PostMessage(&question, &echo, &replies), B_OK);
  Drain();
  Drain();
  EXPECT_EQ(echo.status, B_OK);
  EXPECT_EQ(log, (std::vector<std::string>{"replies:answer"}));

  log.clear();
  looper.PostMessage(&question, &echo);
  Drain();
  EXPECT_EQ(echo.status, B_BAD_PORT_ID) << "no return address, nowhere to answer";
  EXPECT_TRUE(log.empty());
}

TEST_F(LooperTest, MessengerToADeletedHandlerIsInvalid)
{
  RecordingLooper looper(&log);
  auto* panel = new Recorder("panel", &log);
  looper.AddHandler(panel);
  BMessenger toPanel(panel);
  EXPECT_TRUE(toPanel.IsValid());
  EXPECT_EQ(toPanel, BMessenger(panel, &looper));
  EXPECT_NE(toPanel, BMessenger(&looper));
  RecordingLooper other(&log);
  status_t status = B_OK;
  BMessenger wrongLooper(panel, &other, &status);
  EXPECT_EQ(status, B_MISMATCHED_VALUES);
  EXPECT_FALSE(wrongLooper.IsValid());
  delete panel;
  EXPECT_FALSE(toPanel.IsValid());
  EXPECT_EQ(toPanel.SendMessage('abcd'), B_BAD_PORT_ID);
}

TEST_F(LooperTest, MessageRunnerSendsItsCountAndStopsWhenDestroyed)
{
  RecordingLooper looper(&log);
  BMessage tick = Tagged('tick', "t");
  // Runs the event loop until `done` holds or, with no condition, for the time.
  auto runUntil = [](int ms, const std::function<bool()>& done) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !(done && done()))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  };
  {
    BMessageRunner twice(BMessenger(&looper), &tick, 10000, 2);
    ASSERT_EQ(twice.InitCheck(), B_OK);
    runUntil(5000, [&]() { return log.size() >= 2; });
    runUntil(100, nullptr);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"looper:t", "looper:t"})) << "a count ends the runner";

  log.clear();
  auto endless = std::make_unique<BMessageRunner>(BMessenger(&looper), &tick, 10000);
  runUntil(5000, [&]() { return log.size() >= 3; });
  EXPECT_GE(log.size(), 3u);
  endless.reset();
  Drain();  // what was sent before
  const size_t sent = log.size();
  runUntil(100, nullptr);
  EXPECT_EQ(log.size(), sent) << "a destroyed runner sends nothing more";

  EXPECT_EQ(BMessageRunner(BMessenger(&looper), nullptr, 1000).InitCheck(), B_BAD_VALUE);
  EXPECT_EQ(BMessageRunner(BMessenger(), &tick, 1000).InitCheck(), B_BAD_VALUE);
  EXPECT_EQ(BMessageRunner(BMessenger(&looper), &tick, 0).InitCheck(), B_BAD_VALUE);
  EXPECT_EQ(BMessageRunner(BMessenger(&looper), &tick, 1000, 0).InitCheck(), B_BAD_VALUE);
}
