#include "calendar/CalDay.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>

namespace {

TEST(CalDay, DaysPerMonthAndLeapYears)
{
  struct Row {
    const char* edge;
    int month0, year, days;
  } rows[] = {
      {"February of a leap year", 1, 2004, 29},
      {"1900 is not a leap year", 1, 1900, 28},
      {"2000 is a leap year", 1, 2000, 29},
      {"April", 3, 2003, 30},
      {"month 13 is February of the next year", 13, 2003, 29},
      {"month -1 is December of the year before", -1, 2004, 31},
      {"month -11 reaching back into a leap year", -11, 2005, 29},
      {"several years back", -38, 2008, 30},  // November 2004
      {"negative leap year", 1, -4, 29},
      {"extreme month and year neither hang nor overflow", INT_MIN, INT_MIN, 31},
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
      {"five-digit year is kept whole", {12345, 6, 7, 0}, "12345/06/07"},
      {"longest text fits", {INT_MIN, 255, 255, 0}, "-2147483648/255/255"},
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
      {"ever is year 0", "ever/01/06", {0, 1, 6, 0}},
      {"impossible date is not checked", "2004/13/45", {2004, 13, 45, 0}},
      {"month keeps its low 8 bits", "2004/257/1", {2004, 1, 0, 0}},
      {"eight characters give today", "2004/1/6", today},
      {"null gives today", nullptr, today},
  };
  for (const Row& row : rows) {
    std::unique_ptr<kx_calday> day = str2CDay(row.text);
    EXPECT_EQ(CDay2str(day.get()), std::string(CDay2str(&row.day))) << row.edge;
  }
}

} // namespace
