// The keyboard's way around the window where no grid takes the keys, and
// Return and Escape that answer only a waiting requester. The keys in the
// real program are tests/access/keyboard_test.py.
#include "app/PanelFocus.h"
#include "calendar/LocalTime.h"
#include "platform/messaging/BMessenger.h"
#include "tests/app/OrvellaFixture.h"
#include "tests/controls/Input.h"
#include "views/MonView.h"

#include <memory>

namespace {

class WindowKeys : public WindowTest {
protected:
  void TearDown() override
  {
    if (window->IsWaitingForAnswer())
      window->SendDateTimeMessage(0);
    Panel()->SetFocusOn(nullptr, kFocusNone);
    WindowTest::TearDown();
  }

  void F6()
  {
    BMessage key('KGRD');
    window->MessageReceived(&key);
  }
  void Ask(bool onlyTime = false)
  {
    BMessage request('_KXT');
    request.AddBool("_ask", true);
    request.AddBool("_onlyTime", onlyTime);
    request.AddInt64("_presetTime", LocalInstant(2004, 3, 15, 9, 30));
    BMessenger(be_app).SendMessage(&request, requester.get());
    ASSERT_TRUE(WaitFor([&] { return window->IsWaitingForAnswer(); }));
  }

  std::unique_ptr<Requester> requester = std::make_unique<Requester>();
};

TEST_F(WindowKeys, WithoutAGridShownTheKeysGoToTheFields)
{
  Layout(false, false);
  Panel()->SetFocusOn(nullptr, kFocusNone);
  F6();
  EXPECT_TRUE(Panel()->DayField()->IsFocus()) << "no grid: the day field";

  Layout(true, false);
  F6();
  ASSERT_TRUE(window->MainMonth()->IsFocus());
  Ask(true);
  EXPECT_TRUE(Panel()->HourField()->IsFocus()) << "a time-only request shows the clock: the hour takes the keys";
}

TEST_F(WindowKeys, ReturnAndEscapeInTheGridAnswerOnlyAWaitingRequester)
{
  Layout(true, false);
  F6();
  PressKey(window->MainMonth(), Qt::Key_Down);
  const int32 picked = Panel()->DayField()->value;
  PressKey(window->MainMonth(), Qt::Key_Return);
  PressKey(window->MainMonth(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(Panel()->DayField()->value, picked) << "nobody waits: the panel keeps the pick";
  EXPECT_TRUE(requester->answers.empty());

  Ask();
  PressKey(window->MainMonth(), Qt::Key_Escape);
  ASSERT_TRUE(WaitFor([&] { return !requester->answers.empty(); }));
  EXPECT_EQ(requester->answers.back().GetInt32(">stype", 9), 0) << "Escape cancels";
}

} // namespace
