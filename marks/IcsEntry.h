// One entry (VEVENT) of an iCalendar file: its start, how many days an
// all-day entry covers, and its repetitions (RRULE, RDATE) less its
// exceptions (EXDATE, and starts that another entry of the same UID moves
// or cancels through RECURRENCE-ID). It tells the local days of a year on
// which it lies.
//
//   IcsEntry entry;
//   ParseIcsTime("19700517", nullptr, &entry.fStart);
//   entry.fRules.emplace_back(); entry.fRules.back().Parse("FREQ=YEARLY", entry.fStart);
//   entry.Prepare();
//   entry.DaysIn(2035, &days);   // 17 May 2035, all day
//
// All-day entries mark their days whatever the time zone; an entry with a
// time marks the local day of each start (the TZ of this program), so an
// evening in New York may fall on the next day here.
#pragma once

#include <string>
#include <vector>

#include <libical/ical.h>

#include "marks/IcsRule.h"
#include "platform/support/SupportDefs.h"

// A local day an entry lies on.
struct IcsDay {
  int32 code;     // year * 10000 + month * 100 + day
  int32 minutes;  // local start time in minutes after midnight; -1 all day
};

class IcsEntry {
public:
  // Sorts the extra starts and exceptions; call once all are added.
  void Prepare();
  bool Repeats() const { return !fRules.empty() || !fExtraStarts.empty(); }
  // Sets `days` to the local days of the year on which the entry lies, in
  // order, each once (with its first start of that day).
  void DaysIn(int32 year, std::vector<IcsDay>* days) const;

  std::string fSummary;
  icaltimetype fStart = icaltime_null_time();
  int32 fSpanDays = 1;                     // days an all-day entry covers
  std::vector<IcsRule> fRules;
  std::vector<icaltimetype> fExtraStarts;  // RDATE
  std::vector<icaltimetype> fExceptions;   // EXDATE, moved or cancelled starts

private:
  bool IsException(const icaltimetype& start) const;
  void AddDays(const icaltimetype& start, int32 year, std::vector<IcsDay>* days) const;

  // The exceptions by how they compare: whole days, instants of zoned
  // times, wall clocks of floating and of zoned times. All sorted.
  std::vector<int64> fExceptionDays;
  std::vector<int64> fExceptionInstants;
  std::vector<int64> fExceptionFloatingWalls;
  std::vector<int64> fExceptionZonedWalls;
};
