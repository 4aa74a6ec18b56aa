// A language switch across programs: Orvella and AskOrvel run as real
// processes on a private session bus and X server; a user chooses a
// language in one program's menu with the keyboard, and both relabel at
// once, start in that language the next time, and go back to English
// together. In the second build Orvella speaks the desktop's language from
// its catalog and only AskOrvel follows its menu. Every wait is bounded.
#include "platform/messaging/BApplication.h"
#include "tests/client/RoadSupport.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

class TestApp : public BApplication {
public:
  TestApp() : BApplication("application/x-vnd.test-language") {}
};

// Orvella's window sits at its stored frame's left-top, 130, 130, with the
// settings menu field at 18..36, 12..34. AskOrvel is moved to 400, 300,
// where its language field lies at 200..280, 16..38.
constexpr int kSettingsX = 130 + 27;
constexpr int kSettingsY = 130 + 23;
constexpr int kAskLeft = 400;
constexpr int kAskTop = 300;
constexpr int kLanguageX = kAskLeft + 240;
constexpr int kLanguageY = kAskTop + 27;

// The month the panel shows, in the labels of German.
QString GermanMonth()
{
  static const char* const months[] = {"Jan.", "Feb.", "März", "Apr.", "Mai", "Juni",
                                       "Juli", "Aug.", "Sep.", "Okt.", "Nov.", "Dez."};
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  return QString::fromUtf8(months[local.tm_mon]);
}

class LanguageRoadTest : public testing::Test {
protected:
  static void SetUpTestSuite() { sApp = new TestApp; }
  static void TearDownTestSuite() { delete sApp; }

  // Starts Orvella, then AskOrvel beside it; both have shown their labels.
  void Start(const QString& orvellaLabels, const QString& askLabels, const QProcessEnvironment& orvellaEnvironment = {})
  {
    orvella = std::make_unique<Program>(BinDir() + "/Orvella", QStringList(), orvellaEnvironment);
    ASSERT_TRUE(WaitFor([] { return be_roster->IsRunning(kOrvellaSignature) && WindowShown("Orvella"); }))
        << orvella->Output();
    ASSERT_TRUE(orvella->WaitToSay(orvellaLabels)) << orvella->Output();
    ask = std::make_unique<Program>(BinDir() + "/AskOrvel", QStringList());
    ASSERT_TRUE(WaitFor([] { return WindowShown("AskOrvel"); })) << ask->Output();
    ASSERT_TRUE(ask->WaitToSay(askLabels)) << ask->Output();
    // AskOrvel starts Orvella once more; that start hands over to the
    // running one, which then activates its window and would close a menu
    // opened before.
    ASSERT_TRUE(ask->WaitToSay("\n-OVA end-\n")) << ask->Output();
    ASSERT_TRUE(PlaceWindow("AskOrvel", kAskLeft, kAskTop)) << ask->Output();
  }

  void Stop()
  {
    QuitOrvella();
    if (orvella)
      orvella->WaitToExit();
    orvella.reset();
    ask.reset();
  }

  void TearDown() override { Stop(); }

  static inline TestApp* sApp = nullptr;
  TempHome home;
  std::unique_ptr<Program> orvella;
  std::unique_ptr<Program> ask;
};

const QString kOrvellaEnglish = "labels: clip='Clip' cancel='Cancel' expand='Expand View' month='";
const QString kAskEnglish = "labels: askb='Ask Date' askt='Ask Time'\n";
const QString kAskGerman = "labels: askb='Datum wählen' askt='Uhrzeit wählen'\n";

QString OrvellaGerman()
{
  return "labels: clip='Kopie' cancel='Abbrechen' expand='Erweiterte Ansicht' month='" + GermanMonth()
         + "' sunday='So' ampm='";
}

} // namespace

#ifndef ORVELLA_DESKTOP_VARIANT

TEST_F(LanguageRoadTest, AChoiceInOneProgramSwitchesBothNowAndAtTheNextStart)
{
  Start(kOrvellaEnglish, kAskEnglish);

  // Deutsch in Orvella: settings menu, ninth item "Language", its first item.
  ASSERT_TRUE(ChooseInMenu("Orvella", kSettingsX, kSettingsY,
                           {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Return"}));
  ASSERT_TRUE(orvella->WaitToSay(OrvellaGerman())) << orvella->Output();
  ASSERT_TRUE(ask->WaitToSay(kAskGerman)) << ask->Output();
  WaitFor([] { return false; }, 1000);
  EXPECT_EQ(orvella->Count("OVA_Win#"), 1) << "no message goes back and forth";
  EXPECT_EQ(ask->Count("labels: "), 2) << ask->Output();
  Stop();

  // Both start in German.
  Start(OrvellaGerman(), kAskGerman);

  // "-default" in AskOrvel's language menu: the fourth item after Deutsch,
  // Français and the separator.
  ASSERT_TRUE(ChooseInMenu("AskOrvel", kLanguageX, kLanguageY, {"Down", "Down", "Down", "Return"}));
  ASSERT_TRUE(ask->WaitToSay(kAskEnglish)) << ask->Output();
  ASSERT_TRUE(orvella->WaitToSay(kOrvellaEnglish)) << orvella->Output();
  WaitFor([] { return false; }, 1000);
  EXPECT_EQ(orvella->Count("OVA_Win#"), 1) << orvella->Output();
  Stop();

  Start(kOrvellaEnglish, kAskEnglish);
}

#else

TEST_F(LanguageRoadTest, TheSecondBuildSpeaksTheDesktopLanguageAndLeavesChoicesToAskOrvel)
{
  QProcessEnvironment german;
  german.insert("LANGUAGE", "de");
  Start(OrvellaGerman(), kAskEnglish, german);
  EXPECT_TRUE(orvella->Said(" --class KXLangMenu* kxlm - not needet (Zeta)\n"));

  // Français in AskOrvel: its second item.
  ASSERT_TRUE(ChooseInMenu("AskOrvel", kLanguageX, kLanguageY, {"Down", "Down", "Return"}));
  ASSERT_TRUE(ask->WaitToSay("labels: askb='Choisir la date' askt='Choisir l’heure'\n")) << ask->Output();
  WaitFor([] { return false; }, 1000);
  EXPECT_EQ(orvella->Count("labels: "), 1) << "Orvella keeps the desktop's language";
  EXPECT_FALSE(orvella->Said("OVA_Win#"));
}

#endif
