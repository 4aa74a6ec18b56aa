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

} // namespace
