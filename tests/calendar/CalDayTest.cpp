#include "calendar/CalDay.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <string>

namespace {

TEST(CalDay, LeapYears)
{
  struct Row {
    const char* edge;
    int year;
    int leap;
  } rows[] = {
      {"ordinary fourth year", 1996, 1},
      {"1900 is not a leap year", 1900, 0},
      {"2000 is a leap year", 2000, 1},
      {"odd year", 2001, 0},
      {"negative fourth year", -4, 1},
      {"negative century", -100, 0},
      {"negative fourth century", -400, 1},
  };
  for (const Row& row : rows)
    EXPECT_EQ(isSchaltjahr(row.year), row.leap) << row.edge;
}

TEST(CalDay, DaysPerMonth)
{
  struct Row {
    const char* edge;
    int month0;
    int year;
    int days;
  } rows[] = {
      {"February of a leap year", 1, 2004, 29},
      {"February 1900", 1, 1900, 28},
      {"December", 11, 2003, 31},
      {"April", 3, 2003, 30},
      {"month 12 is January of the next year", 12, 2003, 31},
      {"month 13 is February of the next year", 13, 2003, 29},
      {"month -1 is December of the year before", -1, 2004, 31},
      {"month -11 is February of the year before", -11, 2004, 28},
      {"month -11 reaching back into a leap year", -11, 2005, 29},
      {"several years back", -38, 2008, 30},  // November 2004
      {"largest month does not hang", INT_MAX, 2000, 31},
      {"smallest month and year do not overflow", INT_MIN, INT_MIN, 31},
  };
  for (const Row& row : rows)
    EXPECT_EQ(TagePerMonat(row.month0, row.year), row.days) << row.edge;
}

TEST(CalDay, DateText)
{
  struct Row {
    const char* edge;
    kx_calday day;
    const char* text;
  } rows[] = {
      {"ordinary day", {2004, 3, 7, 0}, "2004/03/07"},
      {"year 0 reads ever", {0, 12, 24, 0}, "ever/12/24"},
      {"three-digit year starts with a blank", {987, 1, 2, 0}, " 987/01/02"},
      {"smallest documented year", {-999, 1, 1, 0}, "-999/01/01"},
      {"five-digit year is kept whole", {12345, 6, 7, 0}, "12345/06/07"},
      {"smallest year is kept whole", {INT_MIN, 255, 255, 0}, "-2147483648/255/255"},
  };
  for (const Row& row : rows)
    EXPECT_STREQ(CDay2str(&row.day), row.text) << row.edge;
}

TEST(CalDay, DateFromText)
{
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const kx_calday today = {local.tm_year + 1900, static_cast<uint8>(local.tm_mon + 1),
                           static_cast<uint8>(local.tm_mday), 0};
  struct Row {
    const char* edge;
    const char* text;
    kx_calday day;
  } rows[] = {
      {"ordinary date", "2004/03/07", {2004, 3, 7, 0}},
      {"ever is year 0", "ever/01/06", {0, 1, 6, 0}},
      {"impossible date is not checked", "2004/13/45", {2004, 13, 45, 0}},
      {"blanks before the numbers", " 987/ 1/ 2", {987, 1, 2, 0}},
      {"month keeps its low 8 bits", "2004/257/1", {2004, 1, 0, 0}},
      {"eight characters give today", "2004/1/6", today},
      {"a word gives today", "Datum", today},
      {"null gives today", nullptr, today},
  };
  for (const Row& row : rows) {
    std::unique_ptr<kx_calday> day = str2CDay(row.text);
    EXPECT_EQ(day->year, row.day.year) << row.edge;
    EXPECT_EQ(day->month, row.day.month) << row.edge;
    EXPECT_EQ(day->day, row.day.day) << row.edge;
    EXPECT_EQ(day->reserved, 0u) << row.edge;
  }
}

} // namespace
