// The language menu: which dictionaries it lists and how, which item is
// marked, and what choosing one does.
#include "calendar/Labels.h"
#include "locale/KXLangMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "tests/locale/LocaleFixture.h"
#include "tests/platform/GuiApp.h"

#include <memory>

namespace {

const char kGerman[] = "\"Cancel\" \"Abbrechen\"\n";
const char kFrench[] = "\"Cancel\" \"Annuler\"\n";

class LangMenu : public LocaleTest {
protected:
  void SetUp() override
  {
    EnsureGuiApp();
    LocaleTest::SetUp();
  }

  std::unique_ptr<KXLangMenu> Scan(const char* owner = "Orvella")
  {
    return std::make_unique<KXLangMenu>("Language", owner, Program().c_str());
  }

  // Each item as "label" with "*" when marked and "#n" for its "_MenuItem".
  static std::vector<std::string> Items(const KXLangMenu& menu)
  {
    std::vector<std::string> items;
    for (int32 i = 0; i < menu.CountItems(); i++) {
      const BMenuItem* item = menu.ItemAt(i);
      std::string text = item->Label();
      if (item->IsMarked())
        text += "*";
      if (item->Message())
        text += "#" + std::to_string(item->Message()->GetInt32("_MenuItem", -1));
      items.push_back(text);
    }
    return items;
  }

  static BMessage Choice(const KXLangMenu& menu, int32 index)
  {
    return *menu.ItemAt(index)->Message();
  }
};

TEST_F(LangMenu, ListsTheOwnersDictionariesByLanguageAndMarksTheLastOne)
{
  StoreLast(std::string("deDE\0", 5));
  const std::string german = WriteFile("Dictionaries/Orvella.deDE", kGerman);
  WriteFile("Dictionaries/Orvella.frFR", kFrench);
  auto menu = Scan();
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Deutsch*#0", "Français#1", "", "-default#3"}));
  EXPECT_EQ(menu->ItemCountAfterScan(), 4);
  EXPECT_EQ(menu->MarkedIndex(), 0);
  EXPECT_EQ(menu->CurrentPath(), german);
  EXPECT_STREQ(Choice(*menu, 1).GetString("_LangFilePath", ""), (Program() + "/Dictionaries/Orvella.frFR").c_str());
  EXPECT_STREQ(Choice(*menu, 3).GetString("_LangFilePath", ""), "_none");
}

TEST_F(LangMenu, TakesOnlyReadableFilesOfItsOwnerAndNamesThem)
{
  WriteFile("Dictionaries/orvella.itIT", kGerman);             // the owner's name in any case
  WriteFile("Dictionaries/Orvella.xxYY", kGerman);             // no known code: its own name
  WriteFile("Dictionaries/Orvella.deDE.frFR", kGerman);        // the first code of the table wins
  WriteFile("Dictionaries/AskOrvel.deDE", kGerman);            // another program's
  WriteFile("Dictionaries/Orvella.esES", "");                  // empty: cannot be read
  WriteFile("Dictionaries/Orvella.nlNL/inside", kGerman);      // a folder
  mkfifo((Program() + "/Dictionaries/Orvella.ptPT").c_str(), 0644); // a pipe: no wait
  symlink("nowhere", (Program() + "/Dictionaries/Orvella.ruRU").c_str());
  const std::string odd = "Orvella\x01\xff" + std::string(240, 'z');
  WriteFile("Dictionaries/" + odd, kGerman);                   // any bytes, 249 of them
  auto menu = Scan();
  // A long name is cut in the middle to 40 characters, so that the menu
  // does not grow as wide as the screen.
  const std::string elided = "Orvella\x01\xff" + std::string(11, 'z') + "\u2026" + std::string(19, 'z');
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{elided + "#0", "Deutsch#1", "Orvella.xxYY#2", "Italian#3", "",
                                                    "-default*#5"}))
      << "in the order of the names' bytes";
  EXPECT_EQ(menu->MarkedIndex(), -1) << "nothing chosen yet";
  EXPECT_EQ(menu->CurrentPath(), "");
}

TEST_F(LangMenu, FoldersWithoutDictionariesGiveAnEmptyMenu)
{
  EXPECT_EQ(Scan()->CountItems(), 0) << "no folder at all";
  mkdir((Program() + "/Dictionaries").c_str(), 0755);
  EXPECT_EQ(Scan()->CountItems(), 0) << "an empty folder: no separator, no default";
  WriteFile("Dictionaries/AskOrvel.deDE", kGerman);
  EXPECT_EQ(Scan()->CountItems(), 0) << "only other programs' dictionaries";
  rmdir((Program() + "/Dictionaries").c_str());
}

TEST_F(LangMenu, LanguageDictionariesIsTheSecondPlace)
{
  WriteFile("Language/Dictionaries/Orvella.frFR", kFrench);
  EXPECT_EQ(Items(*Scan()), (std::vector<std::string>{"Français#0", "", "-default*#2"}));
  WriteFile("Dictionaries/Orvella.deDE", kGerman);
  EXPECT_EQ(Items(*Scan()), (std::vector<std::string>{"Deutsch#0", "", "-default*#2"})) << "the first place wins";
}

TEST_F(LangMenu, AChoiceLoadsMarksAndIsRememberedAtTheNextStart)
{
  WriteFile("Dictionaries/Orvella.deDE", kGerman);
  WriteFile("Dictionaries/Orvella.frFR", kFrench);
  auto menu = Scan();
  menu->StartWith(eLabel);
  KXLabel* labels = KXLabel::labelZgr;

  BMessage french = Choice(*menu, 1);
  EXPECT_TRUE(menu->TakeLanguage(&french, eLabel));
  EXPECT_STREQ(labels->getLabel(nullptr, 2), "Annuler");
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Deutsch#0", "Français*#1", "", "-default#3"}));
  EXPECT_EQ(Stored("_last_lg_selected"), std::string("frFR\0", 5));

  BMessage german = Choice(*menu, 0);
  menu->TakeLanguage(&german, eLabel);
  EXPECT_STREQ(labels->getLabel(nullptr, 2), "Abbrechen") << "the built-in texts again, then German";

  // The next start loads the remembered dictionary.
  labels->DeleteMe();
  menu = Scan();
  menu->StartWith(eLabel);
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Abbrechen");
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Deutsch*#0", "Français#1", "", "-default#3"}));

  BMessage fallback = Choice(*menu, 3);
  menu->TakeLanguage(&fallback, eLabel);
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Cancel");
  EXPECT_EQ(Stored("_last_lg_selected"), std::string("_non\0", 5));
  KXLabel::labelZgr->DeleteMe();
  menu = Scan();
  menu->StartWith(eLabel);
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Deutsch#0", "Français#1", "", "-default*#3"}));
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Cancel");
}

// The chosen language's dictionary is deleted while the program runs:
// before, the labels went back to English, "_non" was remembered instead of
// the user's choice, and the other programs switched all the same.
TEST_F(LangMenu, ADictionaryDeletedAfterStartKeepsTheChoiceAndTheMenuIsReadAgain)
{
  StoreLast(std::string("deDE\0", 5));
  const std::string german = WriteFile("Dictionaries/Orvella.deDE", kGerman);
  WriteFile("Dictionaries/Orvella.frFR", kFrench);
  auto menu = Scan();
  menu->StartWith(eLabel);
  BMessage choice = Choice(*menu, 0);
  unlink(german.c_str());
  testing::internal::CaptureStdout();
  EXPECT_FALSE(menu->TakeLanguage(&choice, eLabel));
  EXPECT_NE(testing::internal::GetCapturedStdout().find("KXLangMenu: the dictionary '" + german + "' is missing"),
            std::string::npos);
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Abbrechen") << "the labels stay";
  EXPECT_EQ(Stored("_last_lg_selected"), std::string("deDE\0", 5)) << "the choice is kept";
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Français#0", "", "-default*#2"}));

  // The menu read again works as before.
  BMessage french = Choice(*menu, 0);
  EXPECT_TRUE(menu->TakeLanguage(&french, eLabel));
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Annuler");
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Français*#0", "", "-default#2"}));
}

TEST_F(LangMenu, AChoiceMissingItsFieldsAppliesWhatItHas)
{
  WriteFile("Dictionaries/Orvella.deDE", kGerman);
  auto menu = Scan();
  menu->StartWith(eLabel);
  BMessage onlyPath('kxCL');
  onlyPath.AddString("_LangFilePath", Choice(*menu, 0).GetString("_LangFilePath", ""));
  menu->SetLangFile(&onlyPath);
  EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), "Abbrechen");
  EXPECT_EQ(menu->MarkedIndex(), -1) << "no item number: the marks stay";
  BMessage onlyItem('kxCL');
  onlyItem.AddInt32("_MenuItem", 0);
  menu->SetLangFile(&onlyItem);
  EXPECT_EQ(menu->MarkedIndex(), 0);
}

TEST_F(LangMenu, AChoiceInAnotherProgramLoadsTheOwnDictionaryOfItsLanguage)
{
  WriteFile("Dictionaries/Orvella.deDE", kGerman);
  WriteFile("Dictionaries/Orvella.frFR", kFrench);
  auto menu = Scan();
  menu->StartWith(eLabel);
  struct {
    const char* chosen; // the other program's dictionary
    const char* cancel;
    int32 marked;
  } const rows[] = {
      {"/opt/other/Dictionaries/AskOrvel.frFR", "Annuler", 1},
      {"_none", "Cancel", 3},
      {"/opt/other/Dictionaries/AskOrvel.deDE", "Abbrechen", 0},
      {"/opt/other/Dictionaries/AskOrvel.jaJP", "Cancel", 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.chosen);
    BMessage change('kxCL');
    change.AddInt32("_MenuItem", 7);
    change.AddString("_LangFilePath", row.chosen);
    menu->MirrorThisList(eLabel);
    menu->FollowLangFile(&change);
    EXPECT_STREQ(KXLabel::labelZgr->getLabel(nullptr, 2), row.cancel);
    EXPECT_EQ(menu->MarkedIndex(), row.marked);
  }
  EXPECT_EQ(Stored("_last_lg_selected"), std::string("deDE\0", 5)) << "a language without a dictionary here "
                                                                        "leaves the stored choice alone";
}

} // namespace
