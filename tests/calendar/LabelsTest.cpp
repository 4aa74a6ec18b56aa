#include "calendar/Labels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

const char* Translated(int number)
{
  return number == 2 ? "Abbrechen" : nullptr;
}

TEST(Labels, BuiltInTable)
{
  struct Row {
    const char* edge;
    int number;
    const char* text;
  } rows[] = {
      {"program name", 0, "Orvella"},
      {"first button", 1, "OK"},
      {"blanks at both ends", 12, " Today-Now "},
      {"January", 75, "Jan."},
      {"December", 86, "Dec."},
      {"Sunday first", 91, "Su"},
      {"Saturday", 97, "Sa"},
      {"PM", 89, "PM"},
      {"placeholder below ten", 7, "07"},
      {"last placeholder", 99, "99"},
      {"entry after the labels", 100, "100"},
  };
  for (const Row& row : rows)
    EXPECT_STREQ(eLabel[row.number], row.text) << row.edge;
  EXPECT_EQ(eLabel[101], nullptr);
  for (int number = 0; number <= 100; number++)
    ASSERT_NE(eLabel[number], nullptr) << number;
}

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
      {"ordinary label", 75, "Jan."},
      {"last label", 98, "Wk"},
  };
  for (const Row& row : rows)
    EXPECT_STREQ(getLabel(row.number), row.text) << row.edge;
}

TEST(Labels, InstalledSourceAnswersNumbersOneToNinetyNine)
{
  SetLabelSource(Translated);
  EXPECT_STREQ(getLabel(2), "Abbrechen");
  EXPECT_STREQ(getLabel(1), "OK") << "a number the source does not know";
  EXPECT_STREQ(getLabel(0), "Orvella") << "0 never asks the source";
  SetLabelSource(nullptr);
  EXPECT_STREQ(getLabel(2), "Cancel");
}

} // namespace
