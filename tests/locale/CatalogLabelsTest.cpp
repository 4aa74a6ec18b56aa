// The second build's labels: the gettext catalogs made from Orvella's
// dictionaries, found beside the program, and giving the same texts as the
// dictionaries.
#include "calendar/Labels.h"
#include "locale/CatalogLabels.h"
#include "locale/KXLabel.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"
#include "tests/locale/LocaleFixture.h"

#include <cstdlib>

extern "C" int _nl_msg_cat_cntr; // gettext forgets its answers when it changes

namespace {

void UseLanguage(const char* language)
{
  setenv("LANGUAGE", language, 1);
  ++_nl_msg_cat_cntr;
}

std::string Dictionary(const char* code)
{
  BPath program;
  find_directory(B_PROGRAM_DIRECTORY, &program);
  return std::string(program.Path()) + "/Dictionaries/Orvella." + code;
}

TEST_F(LocaleTest, CatalogsGiveTheDictionariesTexts)
{
  UseLabelCatalog("orvella");
  EXPECT_NE(std::string(LabelCatalogFolder()).find("/share/locale"), std::string::npos);
  KXLabel* labels = KXLabel::getKXLabel("Orvella");
  // With a second language listed, a label that reads the same in
  // translation still comes from the first one's catalog.
  for (const auto& [code, languages] : {std::pair{"deDE", "de:fr"}, {"frFR", "fr:de"}}) {
    SCOPED_TRACE(languages);
    UseLanguage(languages);
    labels->MirrorList(eLabel);
    labels->LoadLangFile(Dictionary(code).c_str());
    ASSERT_GT(labels->Replaced(), 30);
    for (int number = 1; number < kLabelCount; number++)
      EXPECT_STREQ(getLabel(number), labels->getLabel(nullptr, number)) << number;
  }
  UseLanguage("it");
  EXPECT_STREQ(getLabel(2), "Cancel") << "a language without a catalog";
  UseLanguage("de");
  EXPECT_STREQ(getLabel(2), "Abbrechen");
  EXPECT_STREQ(getLabel(0), "Orvella");
  SetLabelSource(nullptr);
  unsetenv("LANGUAGE");
}

} // namespace
