// The date and time the user picked in the entry panel, as one value.
//
//   PickedDate pick{2008, 4, 15, 9, 30};
//   time_t t = PickedTime(pick, /*amMode=*/false, /*halfDay=*/1);
#pragma once

#include "platform/support/SupportDefs.h"

#include <ctime>

struct PickedDate {
  int32 year;
  int32 month;  // 1..12
  int32 day;
  int32 hour;   // 0..23, or 1..12 in 12-hour entry
  int32 minute;
};

// The hour of the day, 0..23: in 12-hour entry 12 stands for 0 and the
// afternoon (halfDay 2) adds 12.
int32 PickedHour(const PickedDate& pick, bool amMode, int32 halfDay);

// Local time of the pick at second 0, as mktime gives it (fields outside
// their ranges roll over, as mktime does).
time_t PickedTime(const PickedDate& pick, bool amMode, int32 halfDay);
