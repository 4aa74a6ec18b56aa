// The main program in one process: one application object and its window
// for the whole test program, in a fresh home folder, and a requester
// looper that records the answers it gets.
#pragma once

#include "app/OVA_Application.h"
#include "app/OVA_Window.h"
#include "controls/TDView.h"
#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"
#include "settings/Prefs.h"
#include "tests/platform/TempHome.h"
#include "tests/platform/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

class Requester : public BLooper {
public:
  Requester() : BLooper("requester") {}
  void MessageReceived(BMessage* message) override { answers.push_back(*message); }
  std::vector<BMessage> answers;
};

inline void Settle()
{
  WaitFor([] { return false; }, 50);
}

// One application and window for the whole program, in a fresh home.
class OrvellaEnv : public ::testing::Environment {
public:
  void SetUp() override
  {
    home = new TempHome();
    app = new OVA_Application();
  }
  void TearDown() override
  {
    delete app;
    delete home;
  }
  static inline TempHome* home = nullptr;
  static inline OVA_Application* app = nullptr;
};

// A test of the one window that changes its layout and its panel as a user
// does; each test leaves it compact, in 24-hour mode, on the current time.
class WindowTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    window = OrvellaEnv::app->Window();
    ASSERT_NE(window, nullptr);
    prefs = Prefs::getSTPrefs();
  }
  void TearDown() override
  {
    Layout(false, false);
    if (prefs->fTimeStyle)
      Menu(5);
    Menu(7);  // the panel back on the current time
    Settle();
  }

  void Menu(int32 id)
  {
    BMessage message('MENU');
    message.AddInt32("m_id", id);
    window->MessageReceived(&message);
  }
  void Layout(bool expand, bool triple)
  {
    if (prefs->fTriplePreview != triple)
      Menu(0);
    if (prefs->fShowExpand != expand)
      Menu(1);
  }

  TDView* Panel() const { return window->Panel(); }
  // Sets the panel's fields as the user's steps do, each reporting its change.
  void SetPanel(int32 year, int32 month, int32 day, int32 hour, int32 minute)
  {
    Panel()->YearField()->SetValue(year);
    Panel()->MonthField()->SetValue(month);
    Panel()->DayField()->SetValue(day);
    Panel()->HourField()->SetValue(hour);
    Panel()->MinuteField()->SetValue(minute);
  }

  OVA_Window* window = nullptr;
  Prefs* prefs = nullptr;
};
