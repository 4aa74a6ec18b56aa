// The window in another language: a choice in its language menu relabels
// every button, menu item and field text at once; the second build has no
// language menu and takes its labels from the catalogs.
#include "app/SettingsMenu.h"
#include "controls/TDView.h"
#include "locale/KXLangMenu.h"
#include "platform/interface/BButton.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "settings/Prefs.h"
#include "tests/app/OrvellaFixture.h"

#ifdef ORVELLA_DESKTOP_VARIANT
extern "C" int _nl_msg_cat_cntr; // gettext forgets its answers when it changes
#endif

namespace {

class WindowLanguage : public ::testing::Test {
protected:
  void SetUp() override
  {
    window = OrvellaEnv::app->Window();
    ASSERT_NE(window, nullptr);
    settings = window->Settings();
  }

  // What the user reads, in one line; a kind item without its count.
  std::string Shown() const
  {
    TDView* panel = window->Panel();
    const std::string kind = settings->globals->Label();
    return std::string(window->ClipButton()->Label()) + " | " + panel->BroadcastButton()->Label() + " | "
           + panel->CancelButton()->Label() + " | " + panel->OkButton()->Label() + " | " + settings->expand->Label()
           + " | " + kind.substr(kind.find(' ', 1) + 1) + " | " + settings->globals->Menu()->Superitem()->Label() + " | "
           + settings->htmlOneMonth->Label() + " | " + settings->quit->Label();
  }

  OVA_Window* window = nullptr;
  SettingsMenu* settings = nullptr;
};

#ifndef ORVELLA_DESKTOP_VARIANT

class WindowLanguageMenu : public WindowLanguage {
protected:
  void TearDown() override
  {
    if (window->IsWaitingForAnswer())
      window->SendDateTimeMessage(0);
    Choose(3);
    Settle();
  }

  // Sends the message of the language item at `index`, as choosing it does.
  void Choose(int32 index)
  {
    BMessage choice(*window->LangMenu()->ItemAt(index)->Message());
    window->MessageReceived(&choice);
  }
};

TEST_F(WindowLanguageMenu, AChoiceRelabelsTheWholeWindow)
{
  const std::vector<std::string> items = {window->LangMenu()->ItemAt(0)->Label(),
                                          window->LangMenu()->ItemAt(1)->Label()};
  EXPECT_EQ(items, (std::vector<std::string>{"Deutsch", "Français"}));
  EXPECT_EQ(Shown(), "Clip | Broadcast | Cancel | OK | Expand View | Globals | MarkDays | 1M Page | Quit");

  Choose(0);
  EXPECT_EQ(Shown(), "Kopie | An alle | Abbrechen | OK | Erweiterte Ansicht | Globale Feiertage | "
                     "Markierte Tage | Monatsseite | Beenden");
  EXPECT_TRUE(window->LangMenu()->ItemAt(0)->IsMarked());
  Choose(1);
  EXPECT_EQ(Shown(), "Copie | À tous | Annuler | OK | Vue étendue | Jours fériés globaux | Jours marqués | "
                     "Page du mois | Quitter");
  EXPECT_FALSE(window->LangMenu()->ItemAt(0)->IsMarked());
  Choose(3);
  EXPECT_EQ(Shown(), "Clip | Broadcast | Cancel | OK | Expand View | Globals | MarkDays | 1M Page | Quit");
  EXPECT_TRUE(window->LangMenu()->ItemAt(3)->IsMarked());
}

TEST_F(WindowLanguageMenu, TheHalfOfTheDayFieldFollowsTheLanguage)
{
  BMessage amPm('MENU');
  amPm.AddInt32("m_id", 5);
  window->MessageReceived(&amPm);
  TDStringView* half = window->Panel()->AmPmField();
  half->SetValue(1);
  Choose(0);
  EXPECT_STREQ(half->Text(), "vm") << "the first two characters of \"vm.\"";
  half->SetValue(2);
  EXPECT_STREQ(half->Text(), "nm");
  Choose(3);
  EXPECT_STREQ(half->Text(), "PM");
  window->MessageReceived(&amPm);
}

TEST_F(WindowLanguageMenu, TheOkLabelOfAWaitingRequesterStays)
{
  BMessage request('_KXT');
  request.AddBool("_ask", true);
  request.AddString("_okName", "get Date");
  window->MessageReceived(&request);
  ASSERT_TRUE(window->IsWaitingForAnswer());
  Choose(0);
  EXPECT_STREQ(window->Panel()->OkButton()->Label(), "> get Date");
  EXPECT_STREQ(window->Panel()->CancelButton()->Label(), "Abbrechen");
}

#else

TEST_F(WindowLanguage, TheSecondBuildHasNoLanguageMenuAndIgnoresChoices)
{
  EXPECT_EQ(window->LangMenu(), nullptr);
  BMessage choice('kxCL');
  choice.AddInt32("_MenuItem", 0);
  choice.AddString("_LangFilePath", "/opt/orvella/Dictionaries/Orvella.deDE");
  testing::internal::CaptureStdout();
  window->MessageReceived(&choice);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed.rfind("OVA_Window::MessageReceived\n", 0), 0u) << printed;
  EXPECT_EQ(Shown(), "Clip | Broadcast | Cancel | OK | Expand View | Globals | MarkDays | 1M Page | Quit")
      << "no catalog language chosen in the tests";
}

TEST_F(WindowLanguage, TheSecondBuildTakesItsLabelsFromTheCatalogs)
{
  setenv("LANGUAGE", "de", 1);
  ++_nl_msg_cat_cntr;
  window->ReplaceLabel();
  EXPECT_EQ(Shown(), "Kopie | An alle | Abbrechen | OK | Erweiterte Ansicht | Globale Feiertage | Markierte Tage | "
                     "Monatsseite | Beenden");
  unsetenv("LANGUAGE");
  ++_nl_msg_cat_cntr;
  window->ReplaceLabel();
  EXPECT_EQ(Shown(), "Clip | Broadcast | Cancel | OK | Expand View | Globals | MarkDays | 1M Page | Quit");
}

#endif

} // namespace
