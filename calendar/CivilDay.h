// Days of the proleptic Gregorian calendar counted from 1 January 1970,
// so that two dates can be told apart in days and a date moved by days
// without a time zone.
//
//   int64 n = DayNumber(2024, 3, 10);          // 19792
//   CivilDay day = CivilDayFromNumber(n + 30);   // 2024/04/09
//   int weekday = Weekday(n);                    // 0 = Sunday: 10 March 2024
//   DaysLater({2024, 2, 28}, 2);                 // 2024/03/01
//   MonthsLater({2024, 1, 31}, 1);               // 2024/02/29
#pragma once

#include "platform/support/SupportDefs.h"

struct CivilDay {
  int32 year;
  int32 month;  // 1..12
  int32 day;    // 1..31

  // year * 10000 + month * 100 + day, the registry's day code.
  int32 Code() const { return year * 10000 + month * 100 + day; }
};

// The number of the day. Nothing is checked: months outside 1..12 roll into
// the neighbouring years and days beyond the month into the next months,
// so (2024, 2, 30) is 1 March 2024 and (2024, 13, 1) 1 January 2025.
int64 DayNumber(int32 year, int32 month, int32 day);
CivilDay CivilDayFromNumber(int64 number);
// 0 Sunday .. 6 Saturday.
int Weekday(int64 number);

// The day `days` days later (earlier for a negative count).
CivilDay DaysLater(const CivilDay& day, int64 days);
// The same day of the month `months` months later (earlier for a negative
// count), or that month's last day when it is shorter.
CivilDay MonthsLater(const CivilDay& day, int32 months);
