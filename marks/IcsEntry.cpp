#include "marks/IcsEntry.h"

#include <algorithm>
#include <ctime>

#include "calendar/CivilDay.h"
#include "marks/IcsTime.h"

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

void IcsEntry::Prepare()
{
  std::sort(fExtraStarts.begin(), fExtraStarts.end(),
            [](const icaltimetype& a, const icaltimetype& b) { return IcsWallSeconds(a) < IcsWallSeconds(b); });
  fExceptionDays.clear();
  fExceptionInstants.clear();
  fExceptionFloatingWalls.clear();
  fExceptionZonedWalls.clear();
  for (const icaltimetype& exception : fExceptions) {
    if (exception.is_date) {
      fExceptionDays.push_back(IcsWallDay(exception));
    } else if (IcsHasZone(exception)) {
      fExceptionInstants.push_back(int64(IcsInstant(exception)));
      fExceptionZonedWalls.push_back(IcsWallSeconds(exception));
    } else {
      fExceptionFloatingWalls.push_back(IcsWallSeconds(exception));
    }
  }
  SortValues(&fExceptionDays);
  SortValues(&fExceptionInstants);
  SortValues(&fExceptionFloatingWalls);
  SortValues(&fExceptionZonedWalls);
}

// An exception given as a date drops every start on that day; one with a
// time drops the start at that instant, or at that wall clock when either
// side floats.
bool IcsEntry::IsException(const icaltimetype& start) const
{
  if (Contains(fExceptionDays, IcsWallDay(start)))
    return true;
  if (start.is_date)
    return false;
  const int64 wall = IcsWallSeconds(start);
  if (Contains(fExceptionFloatingWalls, wall))
    return true;
  if (IcsHasZone(start))
    return !fExceptionInstants.empty() && Contains(fExceptionInstants, int64(IcsInstant(start)));
  return Contains(fExceptionZonedWalls, wall);
}

void IcsEntry::AddDays(const icaltimetype& start, int32 year, std::vector<IcsDay>* days) const
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
  struct tm local;
  if (localtime_r(&instant, &local) == nullptr || local.tm_year + 1900 != year)
    return;
  days->push_back({year * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday, local.tm_hour * 60 + local.tm_min});
}

void IcsEntry::DaysIn(int32 year, std::vector<IcsDay>* days) const
{
  days->clear();
  if (icaltime_is_null_time(fStart))
    return;
  const int64 yearFirst = DayNumber(year, 1, 1);
  const int64 yearLast = DayNumber(year, 12, 31);
  const int64 firstDay = fStart.is_date ? yearFirst - (fSpanDays - 1) : yearFirst - kZoneMarginDays;
  const int64 lastDay = fStart.is_date ? yearLast : yearLast + kZoneMarginDays;

  std::vector<icaltimetype> starts;
  const int64 startDay = IcsWallDay(fStart);
  if (startDay >= firstDay && startDay <= lastDay)
    starts.push_back(fStart);
  for (const IcsRule& rule : fRules)
    rule.StartsIn(fStart, firstDay, lastDay, &starts);
  auto extra = std::lower_bound(fExtraStarts.begin(), fExtraStarts.end(), firstDay,
                                [](const icaltimetype& time, int64 day) { return IcsWallDay(time) < day; });
  for (; extra != fExtraStarts.end() && IcsWallDay(*extra) <= lastDay; ++extra)
    starts.push_back(*extra);

  for (const icaltimetype& start : starts) {
    if (!IsException(start))
      AddDays(start, year, days);
  }
  // Each day once, with its earliest start.
  std::sort(days->begin(), days->end(), [](const IcsDay& a, const IcsDay& b) {
    return a.code != b.code ? a.code < b.code : a.minutes < b.minutes;
  });
  days->erase(std::unique(days->begin(), days->end(), [](const IcsDay& a, const IcsDay& b) { return a.code == b.code; }),
              days->end());
}
