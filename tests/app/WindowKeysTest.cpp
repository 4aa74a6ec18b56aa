// The keyboard's way around the window: F6 between the panel and the
// grid, keys that stay in the grid through requests, answers and layouts,
// and Return and Escape that answer only a waiting requester.
#include "app/PanelFocus.h"
#include "calendar/LocalTime.h"
#include "platform/messaging/BMessenger.h"
#include "tests/app/OrvellaFixture.h"
#include "tests/controls/Input.h"
#include "views/MonView.h"
#include "views/TimeView.h"

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

TEST_F(WindowKeys, F6MovesTheKeysBetweenTheDayFieldAndTheGrid)
{
  Layout(true, false);
  Panel()->SetFocusOn(nullptr, kFocusHour);
  ASSERT_FALSE(window->Clock()->IsHidden());
  F6();
  EXPECT_TRUE(window->MainMonth()->IsFocus());
  EXPECT_FALSE(window->MainMonth()->IsHidden()) << "the month comes back from under the clock";
  EXPECT_TRUE(Panel()->DayField()->focused) << "the day field is marked: the grid sets the day";
  F6();
  EXPECT_TRUE(Panel()->DayField()->IsFocus());

  Layout(false, false);
  Panel()->SetFocusOn(nullptr, kFocusNone);
  F6();
  EXPECT_TRUE(Panel()->DayField()->IsFocus()) << "without a grid, the day field";
}

TEST_F(WindowKeys, KeysInTheGridStayThroughRequestsAnswersAndLayouts)
{
  Layout(true, false);
  F6();
  Ask();
  EXPECT_EQ(Panel()->DayField()->value, 15);
  ASSERT_TRUE(window->MainMonth()->IsFocus()) << "the request leaves the keys in the grid";
  PressKey(window->MainMonth(), Qt::Key_Right);
  PressKey(window->MainMonth(), Qt::Key_Return);
  ASSERT_TRUE(WaitFor([&] { return !requester->answers.empty(); }));
  const BMessage& answer = requester->answers.back();
  EXPECT_EQ(answer.GetInt64(">time", 0), LocalInstant(2004, 3, 16, 9, 30));
  EXPECT_TRUE(window->MainMonth()->IsFocus()) << "and the answer too";

  Layout(true, true);
  EXPECT_TRUE(window->MainMonth()->IsFocus()) << "the grid of the new layout takes them";

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
