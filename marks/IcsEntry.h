// One entry (VEVENT) of an iCalendar file: its start, how many days an
// all-day entry covers, and its repetitions (RRULE, RDATE) less its
// exceptions (EXDATE, and starts that another entry of the same UID moves
// or cancels through RECURRENCE-ID). It tells the local days of a year on
// which it lies. An entry may also stand for the later part of another's
// repetitions, moved (RECURRENCE-ID;RANGE=THISANDFUTURE).
//
//   IcsEntry entry;
//   ParseIcsTime("19700517", nullptr, &entry.fStart);
//   IcsRule yearly;
//   yearly.Parse("FREQ=YEARLY", entry.fStart);
//   entry.AddRule(std::move(yearly));
//   entry.Prepare();
//   entry.DaysIn(2035, &days, &starts);   // 17 May 2035, all day
//
// All-day entries mark their days whatever the time zone; an entry with a
// time marks the local day of each start (the TZ of this program), so an
// evening in New York may fall on the next day here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "marks/IcsRule.h"

class LocalOffsets;
#include "platform/support/SupportDefs.h"

// A local day an entry lies on.
struct IcsDay {
  int32 code;     // year * 10000 + month * 100 + day
  int32 minutes;  // local start time in minutes after midnight; -1 all day
};

class IcsEntry {
public:
  IcsEntry();
  ~IcsEntry();
  IcsEntry(IcsEntry&&) noexcept;
  IcsEntry& operator=(IcsEntry&&) noexcept;

  void AddRule(IcsRule rule);
  void AddExtraStart(const icaltimetype& start);  // RDATE
  void AddException(const icaltimetype& start);   // EXDATE, moved or cancelled starts
  // Ends the repetitions before `start`: a later part is moved.
  void EndBefore(const icaltimetype& start);
  // Takes the repetitions of `series` from `start` on (and before `end`
  // unless it is null), each moved by `shiftSeconds` of wall clock; the
  // summary and span stay this entry's own.
  void Follow(const IcsEntry& series, const icaltimetype& start, const icaltimetype& end, int64 shiftSeconds);
  // Sorts the extra starts and exceptions; call once all are added.
  void Prepare();
  // Sets `days` to the local days of the year on which the entry lies, in
  // order, each once (with its first start of that day). `starts` is room
  // for the work, kept by the caller from one call to the next. `local`,
  // when given, holds the local offsets around the year. False when
  // libical ran past the deadline and not all days are there.
  bool DaysIn(int32 year, std::vector<IcsDay>* days, std::vector<icaltimetype>* starts,
              const Deadline& giveUp = Deadline(), const LocalOffsets* local = nullptr) const;

  std::string fSummary;
  icaltimetype fStart{};  // libical's null time: all zero
  int32 fSpanDays = 1;  // days an all-day entry covers

private:
  // What only repeating entries need, so that the many single ones stay small.
  struct Repetition;

  Repetition& Repeat();
  bool IsException(const icaltimetype& start) const;
  // Whether a start lies in the part of the repetitions the entry takes.
  bool InPart(const icaltimetype& start) const;
  void AddDays(const icaltimetype& start, int32 year, const LocalOffsets* local, std::vector<IcsDay>* days) const;

  std::unique_ptr<Repetition> fRepeat;
};
