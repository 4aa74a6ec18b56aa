// A month as the calendar views lay it out: week rows that begin on Monday,
// one column per weekday, and the ISO 8601 week number of each day. Plain
// date arithmetic without a time zone; the views paint what it computes.
//
//   MonthGrid june(2008, 6);        // 1 June 2008 was a Sunday
//   june.Days();                    // 30
//   june.Column(1), june.Row(1);    // 6, 1: the last column of the first row
//   june.Row(30);                   // 6: the month needs six week rows
//   IsoWeek(2008, 12, 29);          // 1: already week 1 of 2009
#pragma once

#include "platform/support/SupportDefs.h"

class MonthGrid {
public:
  // Year in full, month 1..12. Another month gives a grid without days.
  MonthGrid(int32 year, int32 month);

  // The days of the month, 28..31 (0 for a month outside 1..12).
  int32 Days() const { return fDays; }
  // The column of a day: 0 Monday .. 6 Sunday.
  int32 Column(int32 day) const;
  // The week row of a day: 1 is the row of the 1st (row 0 of a month view
  // holds the weekday names).
  int32 Row(int32 day) const;
  // The weekday of a day: 0 Sunday .. 6 Saturday.
  int32 Weekday(int32 day) const;
  bool IsWeekend(int32 day) const;
  // Week rows the month spans, 4..6.
  int32 Rows() const { return fDays > 0 ? Row(fDays) : 0; }

private:
  int32 fDays;
  int32 fFirstColumn;
};

// The column of a month's 1st from its weekday (0 Sunday .. 6 Saturday):
// weeks begin on Monday, so a Sunday 1st stands in the last column, 6.
int32 FirstColumn(int32 weekday);

// The ISO 8601 week number of a date, 1..53: weeks begin on Monday and week
// 1 holds the year's first Thursday, so 1 January may lie in week 52 or 53
// and 31 December in week 1.
int32 IsoWeek(int32 year, int32 month, int32 day);
