// Hours of the day on the 12-hour clock: hours 0 and 12 read 12, the half
// of the day is 1 (AM) for hours 0 to 11 and 2 (PM) for 12 to 23.
//
//   TwelveHourOf(15);   // 3
//   HalfDayOf(15);      // 2, PM
//   DayHourOf(3, 2);    // 15
//   DayHourOf(12, 1);   // 0, midnight
#pragma once

#include "platform/support/SupportDefs.h"

// 0..23 to 1..12.
int32 TwelveHourOf(int32 dayHour);
// 0..23 to 1 (AM) or 2 (PM).
int32 HalfDayOf(int32 dayHour);
// 1..12 and the half of the day back to 0..23; any half above 1 is PM.
int32 DayHourOf(int32 twelveHour, int32 halfDay);
