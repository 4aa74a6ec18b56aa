// The locale setting file: what is stored of a language code, and what a
// read gives back.
#include "locale/LocaleSetting.h"
#include "tests/locale/LocaleFixture.h"

namespace {

TEST_F(LocaleTest, AStoredCodeIsExactlyFiveBytesPaddedWithNuls)
{
  struct {
    const char* value;
    std::string stored;
    const char* returned;
  } const rows[] = {
      {"deDE", std::string("deDE\0", 5), "deDE"},
      {"de", std::string("de\0\0\0", 5), "de"},
      {"", std::string(5, '\0'), ""},
      {"abcdefghijkl", "abcde", "abcdefg"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(AskStrSetting("Orvella", row.value, true), row.returned);
    EXPECT_EQ(Stored("_last_lg_selected"), row.stored);
    EXPECT_EQ(Stored("Orvella"), row.stored);
  }
  EXPECT_EQ(Stored("AskOrvel"), "(none)") << "only the writing owner's own attribute";
}

TEST_F(LocaleTest, AReadGivesTheStoredCodeOrTheValueGiven)
{
  EXPECT_EQ(AskStrSetting("Orvella", "LAST", false), "LAST") << "nothing stored";
  struct {
    const char* edge;
    std::string stored;
    const char* read;
  } const rows[] = {
      {"a code with its NUL", std::string("frFR\0", 5), "frFR"},
      {"five bytes without a NUL", "frFRx", "frFRx"},
      {"a longer value is read to five bytes", "abcdefgh", "abcde"},
      {"a short code", std::string("de\0", 3), "de"},
      {"an empty value counts as none", "", "LAST"},
      {"a value of NULs counts as none", std::string(5, '\0'), "LAST"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    StoreLast(row.stored);
    EXPECT_EQ(AskStrSetting("Orvella", "LAST", false), row.read);
  }
}

TEST_F(LocaleTest, AWriteMakesTheSettingsFolderAndAMenuNumberIsKept)
{
  EXPECT_EQ(AskIntSetting(3, false), 3) << "no file yet";
  AskStrSetting("AskOrvel", "frFR", true);
  EXPECT_EQ(Stored("_last_lg_selected"), std::string("frFR\0", 5)) << "stored before Orvella ever ran";
  EXPECT_EQ(AskIntSetting(7, true), 7);
  EXPECT_EQ(AskIntSetting(0, false), 7);
}

} // namespace
