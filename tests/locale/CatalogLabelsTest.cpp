// The second build's labels: the gettext catalogs made from Orvella's
// dictionaries, found beside the program, and giving the same texts as the
// dictionaries.
#include "calendar/Labels.h"
#include "locale/CatalogLabels.h"
#include "locale/KXLabel.h"
#include "tests/locale/LocaleFixture.h"

#include <cstdlib>
#include <fstream>
#include <map>

extern "C" int _nl_msg_cat_cntr; // gettext forgets its answers when it changes

namespace {

void UseLanguage(const char* language)
{
  setenv("LANGUAGE", language, 1);
  ++_nl_msg_cat_cntr;
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
    labels->MirrorList(AllLabels());
    labels->LoadLangFile(ShippedDictionary(code).c_str());
    ASSERT_GT(labels->Replaced(), 30);
    for (int number = 1; number < kMoreLabelFirst + kMoreLabelCount; number++) {
      if (number != kLabelCount)
        EXPECT_STREQ(getMoreLabel(number), labels->getLabel(nullptr, number)) << number;
    }
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

namespace {

// A line's key and new text; false for comments and lines without both.
bool Entry(const std::string& line, std::string* key, std::string* text)
{
  if (line.empty() || line[0] != '"')
    return false;
  const size_t keyEnd = line.find('"', 1);
  const size_t textStart = keyEnd == std::string::npos ? keyEnd : line.find('"', keyEnd + 1);
  if (textStart == std::string::npos)
    return false;
  const size_t textEnd = line.find('"', textStart + 1);
  *key = line.substr(1, keyEnd - 1);
  *text = line.substr(textStart + 1, textEnd == std::string::npos ? textEnd : textEnd - textStart - 1);
  return true;
}

// Since a line also rewrites other labels of its key's length that occur in
// it, a new line may change more than its own label: every label of the
// shipped dictionaries must end up with the text of its own line.
TEST_F(LocaleTest, EachLabelTakesTheTextOfItsOwnLine)
{
  KXLabel* labels = KXLabel::getKXLabel("Orvella");
  for (const char* code : {"deDE", "frFR"}) {
    SCOPED_TRACE(code);
    std::map<std::string, std::string> translations;
    std::ifstream file(ShippedDictionary(code));
    std::string line, key, text;
    while (std::getline(file, line)) {
      if (Entry(line, &key, &text))
        translations.emplace(key, text);
    }
    const char* const* texts = AllLabels();
    labels->MirrorList(texts);
    labels->LoadLangFile(ShippedDictionary(code).c_str());
    for (int number = 1; texts[number] != nullptr; number++) {
      auto own = translations.find(texts[number]);
      EXPECT_EQ(labels->getLabel(nullptr, number), own != translations.end() ? own->second : texts[number])
          << number << " " << texts[number];
    }
  }
}

} // namespace
