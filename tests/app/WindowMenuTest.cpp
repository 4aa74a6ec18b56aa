// The settings menu as the user sees and uses it: items, marks, labels, and
// the commands behind them.
#include "app/SettingsMenu.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "settings/Prefs.h"
#include "tests/app/OrvellaFixture.h"

#include <fstream>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

class WindowMenu : public ::testing::Test {
protected:
  void SetUp() override
  {
    window = OrvellaEnv::app->Window();
    ASSERT_NE(window, nullptr);
    settings = window->Settings();
    prefs = Prefs::getSTPrefs();
  }

  void Send(uint32 what, int32 id = -1)
  {
    BMessage message(what);
    if (id >= 0)
      message.AddInt32("m_id", id);
    window->MessageReceived(&message);
  }

  // The first byte of a stored switch, as another program would read it.
  int StoredByte(const char* key) const
  {
    const std::string file = OrvellaEnv::home->Path(".config/_LP_x-vnd.KX/OVA_settings");
    unsigned char byte = 0xff;
    if (getxattr(file.c_str(), (std::string("user.") + key).c_str(), &byte, 1) != 1)
      return -1;
    return byte;
  }

  OVA_Window* window = nullptr;
  SettingsMenu* settings = nullptr;
  Prefs* prefs = nullptr;
};

TEST_F(WindowMenu, ItemsInOrderWithTheStoredMarks)
{
  const BMenu* menu = settings->Menu();
  std::vector<std::string> labels;
  for (int32 i = 0; i < menu->CountItems(); i++)
    labels.push_back(menu->ItemAt(i)->Label());
  const std::vector<std::string> expected = {"WindowTab", "Expand View", "Triple-Preview", "AM/PM",
                                             " Today-Now ", "", "MarkDays", "Calendars...", "", "HTML-View", "",
#ifndef ORVELLA_DESKTOP_VARIANT
                                             "Language", "",
#endif
                                             "About", "", "Quit"};
  EXPECT_EQ(labels, expected);
  EXPECT_TRUE(settings->windowTab->IsMarked());
  EXPECT_FALSE(settings->expand->IsMarked());
  EXPECT_TRUE(settings->htmlOneMonth->IsMarked());
  EXPECT_STREQ(settings->globals->Label(), " 0 Globals");
  EXPECT_STREQ(settings->events->Label(), " 0 vEvents");
  EXPECT_FALSE(settings->events->IsEnabled()) << "no events folder";
}

TEST_F(WindowMenu, HtmlLayoutMarksOnlyTheChoiceAndAsksForTheMonthView)
{
  Send('sN3C');
  EXPECT_EQ(prefs->fHtmlModus, 3);
  EXPECT_FALSE(settings->htmlOneMonth->IsMarked());
  EXPECT_TRUE(settings->htmlThreeRows->IsMarked());

  BAlert::SetAutoAnswer(0);
  const int32 before = BAlert::AutoAnsweredCount();
  Send('sN1C');
  EXPECT_EQ(BAlert::AutoAnsweredCount(), before + 1);
  EXPECT_EQ(BAlert::LastText(), "OVA_App please expand View..");
  EXPECT_TRUE(settings->htmlOneMonth->IsMarked());
  EXPECT_FALSE(settings->htmlThreeRows->IsMarked());
}

TEST_F(WindowMenu, DaysSwitchFlipsItsMarkAndReachesTheFile)
{
  Send('sGmd');
  EXPECT_FALSE(prefs->fDaysGlobal);
  EXPECT_FALSE(settings->globals->IsMarked());
  EXPECT_EQ(StoredByte("days_global"), 0);
  Send('sGmd');
  EXPECT_TRUE(settings->globals->IsMarked());
  EXPECT_EQ(StoredByte("days_global"), 1);
}

TEST_F(WindowMenu, ReloadCountsTheNewMarkDaysFileAndEvents)
{
  mkdir(OrvellaEnv::home->Path("people").c_str(), 0755);
  mkdir(OrvellaEnv::home->Path("events").c_str(), 0755);
  std::ofstream(OrvellaEnv::home->Path("people/MarkDays"))
      << "[HD][ever/12/25][Christmas Day][enUS]\n"
      << "[HD][1970/05/17][Birthday][user]\n"
      << "[HD][ever/10/03][Unity Day][deDE]\n";
  Send('rMDf');
  EXPECT_STREQ(settings->locals->Label(), " 1 Locals");
  EXPECT_STREQ(settings->users->Label(), " 1 Users");
  EXPECT_STREQ(settings->globals->Label(), " 1 Globals");
  EXPECT_TRUE(settings->events->IsEnabled()) << "the events folder exists now";
  Send('rMDf');
  EXPECT_STREQ(settings->users->Label(), " 1 Users") << "a reload adds nothing twice";
}

TEST_F(WindowMenu, SwitchesResizeTheWindowAndKeepTheirMarks)
{
  Send('MENU', 1);
  EXPECT_TRUE(settings->expand->IsMarked());
  EXPECT_EQ(window->Bounds(), BRect(0, 0, MIN_W, MAX_H));
  Send('MENU', 0);
  EXPECT_TRUE(settings->triplePreview->IsMarked());
  EXPECT_EQ(window->Bounds(), BRect(0, 0, MAX_W, MAX_H));
  Send('MENU', 1);
  Send('MENU', 0);
  EXPECT_EQ(window->Bounds(), BRect(0, 0, MIN_W, MIN_H));
  EXPECT_EQ(StoredByte("show_expand"), 0);

  EXPECT_EQ(window->Look(), B_FLOATING_WINDOW_LOOK) << "a small tab by default";
  Send('MENU', 2);
  EXPECT_FALSE(settings->windowTab->IsMarked());
  EXPECT_EQ(window->Look(), B_BORDERED_WINDOW_LOOK);
  EXPECT_EQ(StoredByte("window_tab"), 0);
  Send('MENU', 2);
  EXPECT_EQ(window->Look(), B_FLOATING_WINDOW_LOOK);

  Send('MENU', 5);
  EXPECT_TRUE(settings->amPm->IsMarked());
  EXPECT_EQ(StoredByte("time_style"), 1);
  Send('MENU', 5);
  EXPECT_FALSE(settings->amPm->IsMarked());
}

TEST_F(WindowMenu, ItemsSendTheirCommandsToTheWindow)
{
  settings->amPm->Invoke();
  ASSERT_TRUE(WaitFor([&] { return prefs->fTimeStyle; }));
  settings->amPm->Invoke();
  ASSERT_TRUE(WaitFor([&] { return !prefs->fTimeStyle; }));
}

}  // namespace
