// Hours on the 12-hour clock: 12 AM is the first hour of the day (0) and
// 12 PM noon (12); the half of the day is 1 (AM) or 2 (PM).
//
//   HourOnTwelveHourClock(0);   // 12
//   HalfOfDay(15);              // 2
//   HourOfDay(12, 1);           // 0
#pragma once

#include "platform/support/SupportDefs.h"

// The hour 1..12 shown for an hour of the day 0..23.
int32 HourOnTwelveHourClock(int32 hourOfDay);
// 1 for hours 0..11, 2 for 12..23.
int32 HalfOfDay(int32 hourOfDay);
// The hour of the day 0..23 for an hour 1..12 and a half of the day.
int32 HourOfDay(int32 twelveHour, int32 halfDay);
