// One recurrence rule (RRULE) of an iCalendar entry and the starts it gives
// within a range of days.
//
//   IcsRule rule;
//   if (rule.Parse("FREQ=YEARLY", start))                // start: 17 May 1970
//     rule.StartsIn(start, DayNumber(2035, 1, 1), DayNumber(2035, 12, 31), &starts);
//
// libical reads every rule. The rules that birthdays, holidays and meetings
// use are then worked out here by arithmetic, which is hundreds of times
// faster than libical's iteration and gives the same starts: every so many
// seconds, minutes, hours or days (the days perhaps only of some months,
// days of the month or weekdays); weeks on some weekdays; months on a day
// of the month (counted from its end when negative) or on the n-th (or n-th
// last) weekday; years on a day of one month or its n-th weekday. Dates
// that do not exist (30 February, a fifth Monday) are left out and not
// counted. libical expands all other rules, but for a limited time: one
// step of its iteration may search for many seconds. Rules repeating more
// often than daily with BY parts (every hour of second Sundays) are not
// read at all, since libical may search for minutes for one start of them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "marks/Deadline.h"
#include "platform/support/SupportDefs.h"

class IcsRule {
public:
  IcsRule();
  ~IcsRule();
  IcsRule(IcsRule&&) noexcept;
  IcsRule& operator=(IcsRule&&) noexcept;
  IcsRule(const IcsRule&);
  IcsRule& operator=(const IcsRule&);

  // Reads the rule of an entry that starts at `start`; false when libical
  // does not understand it, it has no usable frequency, interval or count,
  // or it repeats more often than daily with BY parts. A rule that libical
  // reads but will not repeat (a weekly rule by days of the month) gives
  // no starts.
  bool Parse(const std::string& text, const icaltimetype& start);
  // Appends, in order, the starts the rule gives whose day (in the start's
  // own calendar) lies in firstDay..lastDay (day numbers); of a rule
  // repeating more often than daily only the first start of each day (of
  // each local day of this program for a start in a zone). Each
  // start has the start's clock (or the repetition's) and zone. False when
  // libical's iteration ran past the deadline and the starts are not all there.
  bool StartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay, std::vector<icaltimetype>* starts,
                const Deadline& giveUp = Deadline()) const;
  // Whether the rule is worked out here rather than by libical.
  bool IsPlain() const { return fLibical == nullptr; }
  // Whether a rule's text repeats more often than daily: every so many
  // hours, minutes or seconds, or at several times of a day.
  static bool MoreOftenThanDaily(const std::string& text);

private:
  // Takes the rule's shape when it is one worked out here.
  bool TakePlainShape(const icalrecurrencetype& rule, const icaltimetype& start);
  // The first and last period (day, week, month or year after the start's)
  // that touch the range of days.
  void Periods(const icaltimetype& start, int64 firstDay, int64 lastDay, int64* first, int64* last) const;
  // The days of period k, in order; returns how many (at most 7).
  int DaysOfPeriod(const icaltimetype& start, int64 k, int64 days[7]) const;
  void PlainStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                     std::vector<icaltimetype>* starts) const;
  // Repetitions every fStepSeconds of wall-clock time.
  void StepStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                    std::vector<icaltimetype>* starts) const;
  bool LibicalStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay, std::vector<icaltimetype>* starts,
                       const Deadline& giveUp) const;
  // Whether a start is not after UNTIL.
  bool BeforeUntil(const icaltimetype& time) const;
  // Whether a day is one of the days a daily rule names.
  bool KeepsDay(int64 day) const;

  icalrecurrencetype_frequency fFrequency = ICAL_NO_RECURRENCE;
  int32 fInterval = 1;
  int32 fCount = 0;             // 0: no COUNT
  icaltimetype fUntil;          // null time: no UNTIL
  // The shape of a rule worked out here.
  int32 fMonth = 0;             // month of a yearly rule
  int32 fMonthDay = 0;          // day of the month; negative: from its end; 0: by weekday
  int32 fOrdinal = 0;           // n-th (negative: n-th last) weekday of the month
  int32 fWeekdays = 0;          // weekday bits (1 << 0 is Sunday): the weekly days, or the ordinal's day
  int32 fWeekStart = 1;         // first day of a week, 0 Sunday .. 6 Saturday
  int64 fStepSeconds = 0;       // of a rule repeating more often than daily
  // The days a daily rule keeps when it names some (BYMONTH, BYMONTHDAY,
  // BYDAY): bit sets, 0 for a part it does not name.
  int32 fDayMonths = 0;         // bit m - 1 for month m
  uint32 fDayMonthDays = 0;     // bit d - 1 for day d of the month
  uint32 fDayLastDays = 0;      // bit n - 1 for the n-th last day
  int32 fDayWeekdays = 0;       // bit w for weekday w, 0 Sunday
  // Rules libical expands; a kept rule holds no text of its own (no
  // RSCALE), so copies share it.
  std::shared_ptr<const icalrecurrencetype> fLibical;
};
