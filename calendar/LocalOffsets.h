// The UTC offsets of this program's time zone over a span of days, so that
// many instants are turned into local days and clocks without asking the C
// library each time: past 2037 it reads the zone's rule text anew on every
// call. The offsets are asked for once a day and each change is narrowed
// down to its second; a zone that changed its offset and back within one
// day would be missed.
//
//   LocalOffsets local(DayNumber(2040, 1, 1), DayNumber(2040, 12, 31));
//   CivilDay day;
//   int32 minutes;
//   if (local.LocalTime(instant, &day, &minutes))
//     ...;   // else `instant` lies outside the days or the zone is unknown
#pragma once

#include <ctime>
#include <vector>

#include "calendar/CivilDay.h"

class LocalOffsets {
public:
  // Covers the instants from the start of UTC day `firstDay` to the end of
  // UTC day `lastDay` (day numbers).
  LocalOffsets(int64 firstDay, int64 lastDay);

  // The local day of `instant` and its minutes after midnight; false when
  // the instant lies outside the span or the C library had no local time.
  bool LocalTime(time_t instant, CivilDay* day, int32* minutes) const;

private:
  struct Change {
    time_t from;  // first second of the offset
    long offset;  // seconds east of UTC
  };

  time_t fFirst;
  time_t fLast;
  std::vector<Change> fChanges;  // by time; empty when unknown
};
