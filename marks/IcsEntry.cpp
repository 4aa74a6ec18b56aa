#include "marks/IcsEntry.h"

#include <algorithm>
#include <ctime>

#include "calendar/CivilDay.h"
#include "calendar/LocalOffsets.h"
#include "marks/IcsTime.h"
#include "marks/Libical.h"

namespace {

// Zones lie within 14 hours of UTC, so a start two days outside a year can
// not fall on a local day inside it.
constexpr int64 kZoneMarginDays = 2;

bool Contains(const std::vector<int64>& sorted, int64 value)
{
  return std::binary_search(sorted.begin(), sorted.end(), value);
}

void SortValues(std::vector<int64>* values)
{
  std::sort(values->begin(), values->end());
}

} // namespace

struct IcsEntry::Repetition {
  std::vector<IcsRule> rules;
  std::vector<icaltimetype> extraStarts;
  std::vector<icaltimetype> exceptions;
  // The exceptions by how they compare: whole days, instants of zoned
  // times, wall clocks of floating and of zoned times. All sorted.
  std::vector<int64> exceptionDays;
  std::vector<int64> exceptionInstants;
  std::vector<int64> exceptionFloatingWalls;
  std::vector<int64> exceptionZonedWalls;
  // The part of the repetitions taken: starts from `from` and before
  // `until` (null: no bound), moved by `shift` seconds.
  icaltimetype from = Ical().icaltime_null_time();
  icaltimetype until = Ical().icaltime_null_time();
  int64 shift = 0;
};

IcsEntry::IcsEntry() = default;
IcsEntry::~IcsEntry() = default;
IcsEntry::IcsEntry(IcsEntry&&) noexcept = default;
IcsEntry& IcsEntry::operator=(IcsEntry&&) noexcept = default;

IcsEntry::Repetition& IcsEntry::Repeat()
{
  if (fRepeat == nullptr)
    fRepeat = std::make_unique<Repetition>();
  return *fRepeat;
}

void IcsEntry::AddRule(IcsRule rule)
{
  Repeat().rules.push_back(std::move(rule));
}

void IcsEntry::AddExtraStart(const icaltimetype& start)
{
  Repeat().extraStarts.push_back(start);
}

void IcsEntry::AddException(const icaltimetype& start)
{
  Repeat().exceptions.push_back(start);
}

void IcsEntry::EndBefore(const icaltimetype& start)
{
  Repetition& repeat = Repeat();
  if (Ical().icaltime_is_null_time(repeat.until) || IcsCompare(start, repeat.until) < 0)
    repeat.until = start;
}

void IcsEntry::Follow(const IcsEntry& series, const icaltimetype& start, const icaltimetype& end, int64 shiftSeconds)
{
  fStart = series.fStart;
  fRepeat = std::make_unique<Repetition>(series.fRepeat ? *series.fRepeat : Repetition());
  fRepeat->from = start;
  fRepeat->until = end;
  fRepeat->shift = shiftSeconds;
}

void IcsEntry::Prepare()
{
  if (fRepeat == nullptr)
    return;
  Repetition& repeat = *fRepeat;
  std::sort(repeat.extraStarts.begin(), repeat.extraStarts.end(),
            [](const icaltimetype& a, const icaltimetype& b) { return IcsWallSeconds(a) < IcsWallSeconds(b); });
  repeat.exceptionDays.clear();
  repeat.exceptionInstants.clear();
  repeat.exceptionFloatingWalls.clear();
  repeat.exceptionZonedWalls.clear();
  for (const icaltimetype& exception : repeat.exceptions) {
    // A date-time names a day of an all-day series by its date, as some
    // programs write the RECURRENCE-ID of a moved day.
    if (exception.is_date || fStart.is_date) {
      repeat.exceptionDays.push_back(IcsWallDay(exception));
    } else if (IcsHasZone(exception)) {
      repeat.exceptionInstants.push_back(int64(IcsInstant(exception)));
      repeat.exceptionZonedWalls.push_back(IcsWallSeconds(exception));
    } else {
      repeat.exceptionFloatingWalls.push_back(IcsWallSeconds(exception));
    }
  }
  SortValues(&repeat.exceptionDays);
  SortValues(&repeat.exceptionInstants);
  SortValues(&repeat.exceptionFloatingWalls);
  SortValues(&repeat.exceptionZonedWalls);
}

// An exception given as a date drops every start on that day; one with a
// time drops the start at that instant, or at that wall clock when either
// side floats.
bool IcsEntry::IsException(const icaltimetype& start) const
{
  if (fRepeat == nullptr)
    return false;
  const Repetition& repeat = *fRepeat;
  if (Contains(repeat.exceptionDays, IcsWallDay(start)))
    return true;
  if (start.is_date)
    return false;
  const int64 wall = IcsWallSeconds(start);
  if (Contains(repeat.exceptionFloatingWalls, wall))
    return true;
  if (IcsHasZone(start))
    return !repeat.exceptionInstants.empty() && Contains(repeat.exceptionInstants, int64(IcsInstant(start)));
  return Contains(repeat.exceptionZonedWalls, wall);
}

bool IcsEntry::InPart(const icaltimetype& start) const
{
  if (fRepeat == nullptr)
    return true;
  const Libical& ical = Ical();
  return (ical.icaltime_is_null_time(fRepeat->from) || IcsCompare(start, fRepeat->from) >= 0)
         && (ical.icaltime_is_null_time(fRepeat->until) || IcsCompare(start, fRepeat->until) < 0);
}

void IcsEntry::AddDays(const icaltimetype& start, int32 year, const LocalOffsets* local,
                       std::vector<IcsDay>* days) const
{
  if (start.is_date) {
    const int64 first = std::max(IcsWallDay(start), DayNumber(year, 1, 1));
    const int64 last = std::min(IcsWallDay(start) + fSpanDays - 1, DayNumber(year, 12, 31));
    for (int64 day = first; day <= last; day++)
      days->push_back({CivilDayFromNumber(day).Code(), -1});
    return;
  }
  if (!IcsHasZone(start)) {
    // A floating time is local time already.
    if (start.year == year)
      days->push_back({year * 10000 + start.month * 100 + start.day, start.hour * 60 + start.minute});
    return;
  }
  const time_t instant = IcsInstant(start);
  CivilDay day;
  int32 minutes;
  if (local == nullptr || !local->LocalTime(instant, &day, &minutes)) {
    struct tm clock;
    if (localtime_r(&instant, &clock) == nullptr)
      return;
    day = {clock.tm_year + 1900, clock.tm_mon + 1, clock.tm_mday};
    minutes = clock.tm_hour * 60 + clock.tm_min;
  }
  if (day.year == year)
    days->push_back({day.Code(), minutes});
}

bool IcsEntry::DaysIn(int32 year, std::vector<IcsDay>* days, std::vector<icaltimetype>* starts,
                      const Deadline& giveUp, const LocalOffsets* local) const
{
  days->clear();
  if (Ical().icaltime_is_null_time(fStart))
    return true;
  const int64 yearFirst = DayNumber(year, 1, 1);
  const int64 yearLast = DayNumber(year, 12, 31);
  // Starts moved by a shift come from days that much earlier or later.
  const int64 shift = fRepeat != nullptr ? fRepeat->shift : 0;
  const int64 shiftFirst = shift >= 0 ? shift / 86400 + (shift % 86400 != 0 ? 1 : 0) : -((-shift) / 86400);
  const int64 shiftLast = shift >= 0 ? shift / 86400 : -((-shift) / 86400 + ((-shift) % 86400 != 0 ? 1 : 0));
  const int64 firstDay =
      (fStart.is_date ? yearFirst - (fSpanDays - 1) : yearFirst - kZoneMarginDays) - shiftFirst;
  const int64 lastDay = (fStart.is_date ? yearLast : yearLast + kZoneMarginDays) - shiftLast;

  starts->clear();
  const int64 startDay = IcsWallDay(fStart);
  if (startDay >= firstDay && startDay <= lastDay)
    starts->push_back(fStart);
  bool complete = true;
  if (fRepeat != nullptr) {
    for (const IcsRule& rule : fRepeat->rules)
      complete = rule.StartsIn(fStart, firstDay, lastDay, starts, giveUp) && complete;
    const std::vector<icaltimetype>& extras = fRepeat->extraStarts;
    auto extra = std::lower_bound(extras.begin(), extras.end(), firstDay,
                                  [](const icaltimetype& time, int64 day) { return IcsWallDay(time) < day; });
    for (; extra != extras.end() && IcsWallDay(*extra) <= lastDay; ++extra)
      starts->push_back(*extra);
  }

  for (const icaltimetype& start : *starts) {
    if (IsException(start) || !InPart(start))
      continue;
    AddDays(shift != 0 ? IcsAtWallSeconds(start, IcsWallSeconds(start) + shift) : start, year, local, days);
  }
  // Each day once, with its earliest start.
  std::sort(days->begin(), days->end(), [](const IcsDay& a, const IcsDay& b) {
    return a.code != b.code ? a.code < b.code : a.minutes < b.minutes;
  });
  days->erase(std::unique(days->begin(), days->end(), [](const IcsDay& a, const IcsDay& b) { return a.code == b.code; }),
              days->end());
  return complete;
}
