// The month grid and the month view's geometry, without a window.
#include "calendar/CivilDay.h"
#include "calendar/MonthGrid.h"
#include "calendar/MonthLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(MonthGrid, FirstColumnStartsTheWeekOnMonday)
{
  const int32 columns[7] = {6, 0, 1, 2, 3, 4, 5};  // Sunday .. Saturday
  for (int32 weekday = 0; weekday < 7; weekday++)
    EXPECT_EQ(FirstColumn(weekday), columns[weekday]) << "weekday " << weekday;
}

TEST(MonthGrid, MonthsInRowsAndColumns)
{
  struct Row {
    const char* edge;
    int32 year, month;
    int32 days, firstColumn, rows, lastColumn;
  } rows[] = {
      {"30-day month starting on a Sunday needs six rows", 2008, 6, 30, 6, 6, 0},
      {"31 days from Sunday: the 31st on row 6", 2009, 3, 31, 6, 6, 1},
      {"31 days from Saturday need six rows", 2014, 3, 31, 5, 6, 0},
      {"30 days from Saturday fit five rows", 2008, 11, 30, 5, 5, 6},
      {"February of a leap year has 29 cells", 2004, 2, 29, 6, 5, 6},
      {"February 1900 is not a leap month", 1900, 2, 28, 3, 5, 2},
      {"February 2000 is one", 2000, 2, 29, 1, 5, 1},
      {"28-day February from Monday fills exactly four rows", 2010, 2, 28, 0, 4, 6},
      {"March 2004 starts on a Monday", 2004, 3, 31, 0, 5, 2},
      {"last month the panel offers", 2037, 12, 31, 1, 5, 3},
      {"month 0 gives no days", 2004, 0, 0, 0, 0, 0},
      {"month 13 gives no days", 2004, 13, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    const MonthGrid grid(row.year, row.month);
    EXPECT_EQ(grid.Days(), row.days);
    EXPECT_EQ(grid.Rows(), row.rows);
    if (row.days == 0)
      continue;
    EXPECT_EQ(grid.Column(1), row.firstColumn);
    EXPECT_EQ(grid.Row(1), 1);
    EXPECT_EQ(grid.Column(row.days), row.lastColumn);
    for (int32 day = 1; day <= row.days; day++) {
      EXPECT_EQ(grid.IsWeekend(day), grid.Column(day) >= 5) << day;
      EXPECT_EQ(grid.Weekday(day), Weekday(DayNumber(row.year, row.month, day))) << day;
    }
  }
}

TEST(MonthGrid, WeekdaysOfKnownDates)
{
  struct Row {
    int32 year, month, day, weekday;
  } rows[] = {
      {1970, 1, 1, 4}, {2000, 2, 29, 2}, {2004, 3, 7, 0}, {2038, 1, 19, 2}, {1900, 1, 1, 1}, {2100, 3, 1, 1},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Weekday(DayNumber(row.year, row.month, row.day)), row.weekday) << row.year << "/" << row.month << "/" << row.day;
}

TEST(MonthGrid, IsoWeeksAtTheTurnOfTheYear)
{
  struct Row {
    const char* edge;
    int32 year, month, day, week;
  } rows[] = {
      {"1 January on a Friday belongs to week 53 of the year before", 2010, 1, 1, 53},
      {"3 January 2010, a Sunday, still week 53", 2010, 1, 3, 53},
      {"4 January 2010, a Monday, starts week 1", 2010, 1, 4, 1},
      {"31 December 2004 on a Friday is week 53", 2004, 12, 31, 53},
      {"29 December 2008 on a Monday is week 1 of 2009", 2008, 12, 29, 1},
      {"31 December 2008 is week 1", 2008, 12, 31, 1},
      {"1 January 2006 on a Sunday is week 52", 2006, 1, 1, 52},
      {"1 January 2004 on a Thursday is week 1", 2004, 1, 1, 1},
      {"31 December 2007 on a Monday is week 1", 2007, 12, 31, 1},
      {"28 December is always in the last week", 2009, 12, 28, 53},
      {"an ordinary day", 2004, 3, 7, 10},
  };
  for (const Row& row : rows)
    EXPECT_EQ(IsoWeek(row.year, row.month, row.day), row.week) << row.edge;
}

TEST(MonthLayout, WeekColumnRules)
{
  struct Row {
    const char* edge;
    float width;
    bool reserved, numbers, head;
    float cellWidth;
  } rows[] = {
      {"190 wide: no column, numbers under the Sunday cells", 190, false, true, false, 178.0f / 7},
      {"194 wide: (width - 12) / 7 is exactly 26, no column", 194, false, true, false, 26},
      {"195 wide reserves the column", 195, true, false, false, 183.0f / 8},
      {"200 wide: column reserved, too narrow for numbers", 200, true, false, false, 23.5f},
      {"226 wide (the month pictures): numbers and head", 226, true, true, true, 26.75f},
      {"one-month window layout", 314, true, true, true, 37.75f},
      {"three-month window layout", 520.0f / 3 - 1, false, false, false, (520.0f / 3 - 13) / 7},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    const MonthLayout layout = MonthLayout::For(BRect(0, 0, row.width, 170));
    EXPECT_EQ(layout.weekColumn, row.reserved);
    EXPECT_EQ(layout.weekNumbers, row.numbers);
    EXPECT_EQ(layout.weekHead, row.head);
    EXPECT_FLOAT_EQ(layout.cellWidth, row.cellWidth);
    EXPECT_FLOAT_EQ(layout.sevenWidth, (row.width - 12) / 7);
  }
}

TEST(MonthLayout, CellRectangles)
{
  // The month pictures' bounds.
  const MonthLayout layout = MonthLayout::For(BRect(0, 0, 225, 170));
  const float w = 213.0f / 8, h = 170.0f / 9;
  EXPECT_FLOAT_EQ(layout.rowHeight, h);
  struct Row {
    const char* edge;
    int32 column, row;
    BRect rect;
  } rows[] = {
      {"Monday of the first row", 0, 1, BRect(7, h + 8, w + 5, h + 24)},
      {"Sunday of the first row", 6, 1, BRect(6 * w + 7, h + 8, 7 * w + 5, h + 24)},
      {"Thursday of the sixth row", 3, 6, BRect(3 * w + 7, 6 * h + 8, 4 * w + 5, 6 * h + 24)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    const BRect rect = layout.CellRect(row.column, row.row);
    EXPECT_FLOAT_EQ(rect.left, row.rect.left);
    EXPECT_FLOAT_EQ(rect.top, row.rect.top);
    EXPECT_FLOAT_EQ(rect.right, row.rect.right);
    EXPECT_FLOAT_EQ(rect.bottom, row.rect.bottom);
    EXPECT_FLOAT_EQ(rect.Height(), 16);
    EXPECT_FLOAT_EQ(rect.Width(), layout.cellWidth - 2);
  }
  EXPECT_LT(layout.CellRect(6, 6).bottom, 170 - 24) << "the sixth row stays above the caption";
}

} // namespace
