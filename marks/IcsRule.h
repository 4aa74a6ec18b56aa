// One recurrence rule (RRULE) of an iCalendar entry and the starts it gives
// within a range of days.
//
//   IcsRule rule;
//   if (rule.Parse("FREQ=YEARLY", start))                // start: 17 May 1970
//     rule.StartsIn(start, DayNumber(2035, 1, 1), DayNumber(2035, 12, 31), &starts);
//
// libical reads every rule and expands the rules with BY parts (the second
// Monday of a month, the last Friday, ...). The plain rules, a start
// repeated every so many days, weeks, months or years as most birthdays and
// holidays are, are worked out here by arithmetic, which is hundreds of
// times faster and gives the same starts: dates that do not exist (30
// February, 29 February in other years) are left out and not counted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "platform/support/SupportDefs.h"

class IcsRule {
public:
  IcsRule();
  ~IcsRule();
  IcsRule(IcsRule&&) noexcept;
  IcsRule& operator=(IcsRule&&) noexcept;

  // Reads the rule of an entry that starts at `start`; false when libical
  // does not understand it or it has no usable frequency, interval or count.
  bool Parse(const std::string& text, const icaltimetype& start);
  // Appends, in order, the starts the rule gives whose day (in the start's
  // own calendar) lies in firstDay..lastDay (day numbers). Each start has
  // the start's clock and zone.
  void StartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay, std::vector<icaltimetype>* starts) const;
  // Whether the rule is worked out here rather than by libical.
  bool IsPlain() const { return fLibical == nullptr; }

private:
  void PlainStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                     std::vector<icaltimetype>* starts) const;
  void LibicalStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                       std::vector<icaltimetype>* starts) const;
  // Whether a start is not after UNTIL.
  bool BeforeUntil(const icaltimetype& time) const;

  icalrecurrencetype_frequency fFrequency = ICAL_NO_RECURRENCE;
  int32 fInterval = 1;
  int32 fCount = 0;             // 0: no COUNT
  icaltimetype fUntil;          // null time: no UNTIL
  std::unique_ptr<icalrecurrencetype> fLibical;  // rules libical expands
};
