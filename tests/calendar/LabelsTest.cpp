#include "calendar/DateNames.h"
#include "calendar/Labels.h"

#include <gtest/gtest.h>

namespace {

TEST(Labels, Lookup)
{
  struct Row {
    const char* edge;
    int number;
    const char* text;
  } rows[] = {
      {"0 is the program name", 0, "Orvella"},
      {"100 is the program name", 100, "Orvella"},
      {"negative is the program name", -5, "Orvella"},
      {"blanks at both ends", 12, " Today-Now "},
      {"January", 75, "Jan."},
      {"Sunday first", 91, "Su"},
      {"placeholder", 7, "07"},
  };
  for (const Row& row : rows)
    EXPECT_STREQ(getLabel(row.number), row.text) << row.edge;
  EXPECT_STREQ(eLabel[100], "100");
  EXPECT_EQ(eLabel[101], nullptr);
}

TEST(Labels, InstalledSourceAnswersNumbersOneToNinetyNine)
{
  SetLabelSource([](int number) -> const char* { return number == 2 ? "Abbrechen" : nullptr; });
  EXPECT_STREQ(getLabel(2), "Abbrechen");
  EXPECT_STREQ(getLabel(1), "OK") << "a number the source does not know";
  EXPECT_STREQ(getLabel(0), "Orvella") << "0 never asks the source";
  SetLabelSource(nullptr);
  EXPECT_STREQ(getLabel(2), "Cancel");
}

TEST(DateNames, DatesInWordsFollowTheLabels)
{
  struct Row {
    const char* edge;
    int32 year, month, day;
    const char* text;
  } rows[] = {
      {"a Monday in March", 2004, 3, 15, "Monday, 15 March 2004"},
      {"leap day of a century leap year", 2000, 2, 29, "Tuesday, 29 February 2000"},
      {"the panel's first day", 1900, 1, 1, "Monday, 1 January 1900"},
      {"the panel's last day, a Thursday", 2037, 12, 31, "Thursday, 31 December 2037"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(LongDateText(row.year, row.month, row.day), row.text) << row.edge;
  EXPECT_EQ(MonthYearText(2004, 3), "March 2004");
  EXPECT_STREQ(MonthName(0), "");
  EXPECT_STREQ(MonthName(13), "");
  EXPECT_STREQ(WeekdayName(7), "");

  SetLabelSource([](int number) -> const char* {
    return number == kLabelJanuary + 2 ? "März" : number == kLabelSunday + 1 ? "Montag" : nullptr;
  });
  EXPECT_EQ(LongDateText(2004, 3, 15), "Montag, 15 März 2004");
  SetLabelSource(nullptr);
}

} // namespace
