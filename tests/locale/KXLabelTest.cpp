// The label dictionary: how dictionary lines replace label texts, what a
// failed load leaves, and what is remembered of the language.
#include "calendar/Labels.h"
#include "tests/locale/LocaleFixture.h"

#include <sys/stat.h>

namespace {

struct Expect {
  int number;
  const char* text;
};

struct MatchCase {
  const char* edge;
  std::string dictionary;
  int32 replaced;
  std::vector<Expect> labels;
};

const std::string kLong(5000, 'x');

const MatchCase kMatchCases[] = {
    {"a key replaces its label", "\"Cancel\" \"Abbrechen\"\n", 1, {{2, "Abbrechen"}, {1, "OK"}}},
    {"an empty new text empties the label", "\"Clip\" \"\"\n", 1, {{6, ""}}},
    {"a line with two quotes has no new text", "\"Clip\"\n\"Quit\" no third quote\n", 0, {{6, "Clip"}, {4, "Quit"}}},
    {"the new text runs to the end of a line without a fourth quote", "\"Quit\" \"Ende", 1, {{4, "Ende"}}},
    {"what follows the fourth quote is not part of it", "\"Quit\" \"Ende\" (menu)\n", 1, {{4, "Ende"}}},
    {"lines not starting with a quote are comments", "# \"Quit\" \"Ende\"\n \"Quit\" \"Ende\"\n\n", 0, {{4, "Quit"}}},
    {"the key must end where the label does", "\"Canceled\" \"Aus\"\n\"Cance\" \"Aus\"\n", 0, {{2, "Cancel"}}},
    {"a label found inside a line of its length matches too: AM and PM", "\"PM\" \"nach AM\"\n", 2,
     {{88, "nach AM"}, {89, "nach AM"}}},
    {"labels with the same text change together", "\"About\" \"Info\"\n", 2, {{5, "Info"}, {15, "Info"}}},
    {"a later line sees what earlier lines wrote", "\"Cancel\" \"Quit\"\n\"Quit\" \"Ende\"\n", 3,
     {{2, "Ende"}, {4, "Ende"}}},
    {"a line of any length", "\"Cancel\" \"" + kLong + "\"\n", 1, {{2, kLong.c_str()}}},
    {"Windows line ends keep the fourth quote", "\"Quit\" \"Ende\"\r\n", 1, {{4, "Ende"}}},
    {"a byte-order mark before the first entry is skipped", "\xef\xbb\xbf\"Cancel\" \"Abbrechen\"\n", 1,
     {{2, "Abbrechen"}}},
    {"only at the start of the file", "\"Quit\" \"Ende\"\n\xef\xbb\xbf\"Cancel\" \"Abbrechen\"\n", 1,
     {{4, "Ende"}, {2, "Cancel"}}},
};

class Dictionary : public LocaleTest {
protected:
  void SetUp() override
  {
    LocaleTest::SetUp();
    labels = KXLabel::getKXLabel("Orvella");
    labels->MirrorList(eLabel);
  }
  KXLabel* labels = nullptr;
};

TEST_F(Dictionary, LinesReplaceTheLabelsTheyMatch)
{
  for (const MatchCase& row : kMatchCases) {
    SCOPED_TRACE(row.edge);
    labels->MirrorList(eLabel);
    labels->LoadLangFile(WriteFile("Dictionaries/Orvella.deDE", row.dictionary).c_str());
    EXPECT_EQ(labels->Replaced(), row.replaced);
    for (const Expect& expect : row.labels)
      EXPECT_STREQ(labels->getLabel(nullptr, expect.number), expect.text) << expect.number;
  }
}

TEST_F(Dictionary, ShippedDictionariesTranslateWhatScreenReadersRead)
{
  // Short keys match every label of their length found in their line, so a
  // new label can be caught by an old line, or an old label by a new one.
  struct Row {
    const char* code;
    int number;
    const char* text;
  } rows[] = {
      {"deDE", kLabelJanuary + 4, "Mai"},         {"deDE", 79, "Mai"},
      {"deDE", kLabelJanuary + 5, "Juni"},        {"deDE", kLabelSunday + 1, "Montag"},
      {"deDE", kLabelDay, "Tag"},                 {"deDE", kLabelMinute, "Minute"},
      {"deDE", kLabelAmPmField, "Vor- oder nachmittags"},
      {"deDE", 10, "12-Stunden-Format"},          {"deDE", kLabelToday, "heute"},
      {"deDE", kLabelUserDay, "eigener Tag"},     {"deDE", kLabelSettings, "Einstellungen"},
      {"frFR", kLabelJanuary + 4, "mai"},         {"frFR", kLabelJanuary + 7, "août"},
      {"frFR", kLabelSunday, "dimanche"},         {"frFR", kLabelHoliday, "jour férié"},
      {"frFR", kLabelClock, "Horloge"},           {"frFR", 89, "PM"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.code) + " " + std::to_string(row.number));
    labels->MirrorList(AllLabels());
    labels->LoadLangFile(ShippedDictionary(row.code).c_str());
    EXPECT_STREQ(labels->getLabel(nullptr, row.number), row.text);
  }
}

TEST_F(Dictionary, LaterLabelsComeFromTheListOnlyWhenItHoldsThem)
{
  SetLabelSource(KXLabel::LabelText);
  labels->LoadLangFile(ShippedDictionary("deDE").c_str());
  EXPECT_STREQ(getMoreLabel(kLabelClock), "Clock") << "a list of the numbered table only";
  labels->MirrorList(AllLabels());
  labels->LoadLangFile(ShippedDictionary("deDE").c_str());
  EXPECT_STREQ(getMoreLabel(kLabelClock), "Uhr");
  EXPECT_STREQ(getMoreLabel(2), "Abbrechen") << "a number of the numbered table";
  EXPECT_STREQ(getMoreLabel(kMoreLabelFirst + kMoreLabelCount), "Orvella") << "past the later table";
  SetLabelSource(nullptr);
}

TEST_F(Dictionary, LoadingTwiceReplacesOnlyWhereANewTextIsAKey)
{
  const std::string path = WriteFile("Dictionaries/Orvella.deDE", "\"Cancel\" \"Abbrechen\"\n");
  labels->LoadLangFile(path.c_str());
  EXPECT_EQ(labels->Replaced(), 1);
  labels->LoadLangFile(path.c_str());
  EXPECT_EQ(labels->Replaced(), 0) << "the key is no label's text any more";
  EXPECT_STREQ(labels->getLabel(nullptr, 2), "Abbrechen");

  // "Clip" is a label of the key's length: the line matches it each time.
  const std::string twice = WriteFile("Dictionaries/Orvella.frFR", "\"Quit\" \"Clip\"\n");
  labels->LoadLangFile(twice.c_str());
  EXPECT_EQ(labels->Replaced(), 2);
  labels->LoadLangFile(twice.c_str());
  EXPECT_EQ(labels->Replaced(), 2);
  EXPECT_STREQ(labels->getLabel(nullptr, 4), "Clip");
}

TEST_F(Dictionary, FailedLoadsKeepTheTexts)
{
  const std::string german = WriteFile("Dictionaries/Orvella.deDE", "\"Cancel\" \"Abbrechen\"\n");
  labels->LoadLangFile(german.c_str());
  mkfifo((Program() + "/Orvella.ptPT").c_str(), 0644);
  struct {
    const char* edge;
    std::string path;
    const char* last; // the language afterwards
  } const rows[] = {
      {"an empty file changes nothing", WriteFile("Orvella.frFR", ""), "deDE"},
      {"a missing file keeps the language chosen", Program() + "/Orvella.esES", "deDE"},
      {"the default item's path keeps the texts and stores none", "_none", "_non"},
      {"a relative path is not opened", "Orvella.deDE", "deDE"},
      {"a folder is not opened", Program(), "deDE"},
      {"a pipe is not opened and does not block", Program() + "/Orvella.ptPT", "deDE"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    labels->LoadLangFile(german.c_str());
    labels->LoadLangFile(row.path.c_str());
    EXPECT_STREQ(labels->getLabel(nullptr, 2), "Abbrechen");
    EXPECT_EQ(labels->GetLastLanguage(), row.last);
    EXPECT_EQ(Stored("_last_lg_selected"), std::string(row.last) + '\0');
  }
}

TEST_F(Dictionary, TheLanguageIsTheTextAfterTheLastDot)
{
  struct {
    std::string file;
    std::string last;
    std::string stored; // exactly five bytes
  } const rows[] = {
      {"Orvella.frFR", "frFR", std::string("frFR\0", 5)},
      {"Orvella.de", "de", std::string("de\0\0\0", 5)},
      {"Orvella.abcdefghij", "abcdefghij", "abcde"},
      {"Orvella", Program() + "/Orvella", Program().substr(0, 5)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    labels->LoadLangFile(WriteFile(row.file, "\"OK\" \"Gut\"\n").c_str());
    EXPECT_EQ(labels->GetLastLanguage(), row.last);
    EXPECT_EQ(Stored("_last_lg_selected"), row.stored);
    EXPECT_EQ(Stored("Orvella"), row.stored) << "also under the owner's name";
  }
}

TEST_F(Dictionary, NumbersOutsideTheListAreNotFound)
{
  EXPECT_EQ(labels->TopIndex(), 100);
  EXPECT_STREQ(labels->getLabel(nullptr, 100), "100");
  EXPECT_STREQ(labels->getLabel(nullptr, 101), "-nf-");
  EXPECT_STREQ(labels->getLabel(nullptr, -1), "-nf-");
  const char* const more[] = {"extra", "last", nullptr};
  labels->AddToMirrorList(more);
  EXPECT_EQ(labels->TopIndex(), 102);
  EXPECT_STREQ(labels->getLabel(nullptr, 102), "last");
  labels->ClearMirrorList();
  EXPECT_STREQ(labels->getLabel(nullptr, 1), "-nf-") << "an empty list answers nothing";
}

TEST_F(Dictionary, GetLabelAnswersThroughTheDictionaryOnceInstalled)
{
  labels->LoadLangFile(WriteFile("Orvella.deDE", "\"Cancel\" \"Abbrechen\"\n").c_str());
  EXPECT_STREQ(getLabel(2), "Cancel") << "no label source yet";
  SetLabelSource(KXLabel::LabelText);
  EXPECT_STREQ(getLabel(2), "Abbrechen");
  EXPECT_STREQ(getLabel(0), "Orvella");
  labels->DeleteMe();
  EXPECT_STREQ(getLabel(2), "Cancel") << "without a dictionary the built-in text";
  SetLabelSource(nullptr);
}

TEST_F(LocaleTest, ANewDictionaryStartsWithTheStoredLanguage)
{
  EXPECT_EQ(KXLabel::getKXLabel("Orvella")->GetLastLanguage(), "LAST");
  KXLabel::labelZgr->DeleteMe();
  StoreLast(std::string("deDE\0", 5));
  KXLabel* labels = KXLabel::getKXLabel("AskOrvel");
  EXPECT_EQ(labels->GetLastLanguage(), "deDE");
  EXPECT_EQ(KXLabel::getKXLabel("Orvella"), labels) << "a later owner gets the same one";
  EXPECT_EQ(labels->Owner(), "AskOrvel");
  EXPECT_STREQ(labels->getLabel(nullptr, 1), "-nf-") << "nothing mirrored yet";
}

} // namespace
