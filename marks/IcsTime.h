// Dates and date-times of iCalendar values, read strictly and held as
// libical times: "20240310" (a date), "20240310T090000" (a wall-clock time,
// floating or in the zone of its TZID) and "20240310T080000Z" (UTC).
//
//   icaltimetype start;
//   if (ParseIcsTime("20240310T090000", berlin, &start))
//     time_t at = IcsInstant(start);            // 08:00 UTC
//   int64 day = IcsWallDay(start);              // 10 March 2024 as a day number
#pragma once

#include <ctime>
#include <string_view>

#include <libical/ical.h>

#include "platform/support/SupportDefs.h"

// Reads a DATE or DATE-TIME value; `zone` is given to date-times without
// "Z" (null: floating time). False for anything else, including dates that
// do not exist and years outside 1..9999.
bool ParseIcsTime(std::string_view text, icaltimezone* zone, icaltimetype* time);

// The day number (calendar/CivilDay.h) of the time's own calendar date.
int64 IcsWallDay(const icaltimetype& time);
// Seconds of the time's own date and clock since 1970, as if it were UTC;
// compares wall clocks without time zones.
int64 IcsWallSeconds(const icaltimetype& time);
// The time moved to a wall clock counted like IcsWallSeconds, keeping its
// zone and whether it is a date.
icaltimetype IcsAtWallSeconds(icaltimetype time, int64 seconds);
// Orders two times: by day when either is a date, by instant when both
// name one, else by wall clock. Negative, 0 or positive.
int IcsCompare(const icaltimetype& a, const icaltimetype& b);
// Whether the time names an instant: UTC or in a time zone.
bool IcsHasZone(const icaltimetype& time);
// The instant of a time in a zone or UTC; a floating time is taken as local
// time.
time_t IcsInstant(const icaltimetype& time);
// The wall clock of an instant in a zone, counted like IcsWallSeconds.
int64 IcsWallSecondsAt(time_t instant, const icaltimezone* zone);
// The instant a local day (a day number) begins, in this program's zone.
time_t IcsLocalMidnight(int64 day);
