#include "marks/IcsRule.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"
#include "marks/IcsTime.h"
#include "marks/Libical.h"

namespace {

constexpr int64 kSecondsPerDay = 86400;

int64 FloorDiv(int64 a, int64 b)
{
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int64 CeilDiv(int64 a, int64 b)
{
  return -FloorDiv(-a, b);
}

bool RepeatsWithinADay(icalrecurrencetype_frequency frequency)
{
  return frequency == ICAL_SECONDLY_RECURRENCE || frequency == ICAL_MINUTELY_RECURRENCE
         || frequency == ICAL_HOURLY_RECURRENCE;
}

// How many values a BY part holds, counted up to 7.
int Count(const short* by)
{
  int count = 0;
  while (count < 7 && by[count] != ICAL_RECURRENCE_ARRAY_MAX)
    count++;
  return count;
}

// The values of a BY part, all of them.
template <size_t N>
std::vector<short> Values(const short (&by)[N])
{
  std::vector<short> values;
  for (size_t i = 0; i < N && by[i] != ICAL_RECURRENCE_ARRAY_MAX; i++)
    values.push_back(by[i]);
  return values;
}

// libical counts weekdays from Sunday = 1.
int WeekdayOf(short byDay)
{
  return int(Ical().icalrecurrencetype_day_day_of_week(byDay)) - 1;
}

icaltimetype OnDay(icaltimetype time, int64 day)
{
  const CivilDay civil = CivilDayFromNumber(day);
  time.year = civil.year;
  time.month = civil.month;
  time.day = civil.day;
  return time;
}

int64 MonthLength(int64 monthIndex)
{
  return TagePerMonat(int(monthIndex % 12), int(monthIndex / 12));
}

} // namespace

IcsRule::IcsRule() : fUntil(Ical().icaltime_null_time()) {}
IcsRule::~IcsRule() = default;
IcsRule::IcsRule(IcsRule&&) noexcept = default;
IcsRule& IcsRule::operator=(IcsRule&&) noexcept = default;
IcsRule::IcsRule(const IcsRule&) = default;
IcsRule& IcsRule::operator=(const IcsRule&) = default;

bool IcsRule::Parse(const std::string& text, const icaltimetype& start)
{
  icalrecurrencetype rule = Ical().icalrecurrencetype_from_string(text.c_str());
  if (rule.rscale != nullptr) {
    // Calendars other than the Gregorian one are not read; libical leaves
    // the text to its caller.
    free(rule.rscale);
    return false;
  }
  if (rule.freq == ICAL_NO_RECURRENCE || rule.interval < 1 || rule.count < 0)
    return false;
  fFrequency = rule.freq;
  fInterval = rule.interval;
  fCount = rule.count;
  fUntil = rule.until;
  fLibical.reset();
  if (TakePlainShape(rule, start))
    return true;
  if (RepeatsWithinADay(rule.freq))
    return false;
  // A rule libical takes but cannot iterate gives no starts; trying that
  // here would cost more than all the rest of reading the file.
  fLibical = std::make_shared<const icalrecurrencetype>(rule);
  return true;
}

bool IcsRule::MoreOftenThanDaily(const std::string& text)
{
  icalrecurrencetype rule = Ical().icalrecurrencetype_from_string(text.c_str());
  free(rule.rscale);
  return RepeatsWithinADay(rule.freq) || Count(rule.by_hour) > 1 || Count(rule.by_minute) > 1
         || Count(rule.by_second) > 1;
}

bool IcsRule::TakePlainShape(const icalrecurrencetype& rule, const icaltimetype& start)
{
  if (Count(rule.by_second) + Count(rule.by_minute) + Count(rule.by_hour) + Count(rule.by_year_day)
          + Count(rule.by_week_no) + Count(rule.by_set_pos)
      > 0)
    return false;
  const int days = Count(rule.by_day);
  const int monthDays = Count(rule.by_month_day);
  const int months = Count(rule.by_month);
  if (days > 1 && rule.freq != ICAL_WEEKLY_RECURRENCE && rule.freq != ICAL_DAILY_RECURRENCE)
    return false;
  const int ordinal = days == 1 ? Ical().icalrecurrencetype_day_position(rule.by_day[0]) : 0;
  const int monthDay = monthDays == 1 ? rule.by_month_day[0] : 0;
  fMonth = start.month;
  fMonthDay = start.day;
  fOrdinal = 0;
  fWeekdays = 1 << Weekday(IcsWallDay(start));
  fWeekStart = int(rule.week_start) >= 1 && int(rule.week_start) <= 7 ? int(rule.week_start) - 1 : 1;

  switch (rule.freq) {
  case ICAL_SECONDLY_RECURRENCE:
  case ICAL_MINUTELY_RECURRENCE:
  case ICAL_HOURLY_RECURRENCE:
    fStepSeconds = int64(fInterval) * (rule.freq == ICAL_HOURLY_RECURRENCE     ? 3600
                                       : rule.freq == ICAL_MINUTELY_RECURRENCE ? 60
                                                                               : 1);
    return days == 0 && monthDays == 0 && months == 0;
  case ICAL_DAILY_RECURRENCE:
    // The days are tested one by one against the parts: libical would
    // search centuries ahead for a day the rule never names (30 February).
    fDayMonths = fDayWeekdays = 0;
    fDayMonthDays = fDayLastDays = 0;
    for (short day : Values(rule.by_day)) {
      if (Ical().icalrecurrencetype_day_position(day) != 0)
        return false;
      fDayWeekdays |= 1 << WeekdayOf(day);
    }
    for (short month : Values(rule.by_month)) {
      if (Ical().icalrecurrencetype_month_is_leap(month) || month < 1 || month > 12)
        return false;
      fDayMonths |= 1 << (month - 1);
    }
    for (short day : Values(rule.by_month_day)) {
      if (day == 0 || day < -31 || day > 31)
        return false;
      (day > 0 ? fDayMonthDays : fDayLastDays) |= 1u << ((day > 0 ? day : -day) - 1);
    }
    return true;
  case ICAL_WEEKLY_RECURRENCE:
    if (monthDays > 0 || months > 0)
      return false;
    if (days > 0) {
      fWeekdays = 0;
      for (int i = 0; i < days; i++) {
        if (Ical().icalrecurrencetype_day_position(rule.by_day[i]) != 0)
          return false;
        fWeekdays |= 1 << WeekdayOf(rule.by_day[i]);
      }
    }
    return true;
  case ICAL_MONTHLY_RECURRENCE:
  case ICAL_YEARLY_RECURRENCE: {
    const bool yearly = rule.freq == ICAL_YEARLY_RECURRENCE;
    if (monthDays > 1 || months > 1 || (days == 1 && (monthDays > 0 || ordinal == 0 || ordinal < -5 || ordinal > 5)))
      return false;
    if (yearly && months == 0 && (days > 0 || monthDays > 0))
      return false;  // days of every month, or of the whole year
    if (!yearly && months > 0)
      return false;
    if (months == 1) {
      if (Ical().icalrecurrencetype_month_is_leap(rule.by_month[0]) || rule.by_month[0] < 1 || rule.by_month[0] > 12)
        return false;
      fMonth = rule.by_month[0];
    }
    if (monthDays == 1) {
      if (monthDay == 0 || monthDay < -31 || monthDay > 31)
        return false;
      fMonthDay = monthDay;
    }
    if (days == 1) {
      fMonthDay = 0;
      fOrdinal = ordinal;
      fWeekdays = 1 << WeekdayOf(rule.by_day[0]);
    }
    return true;
  }
  default:
    return false;
  }
}

bool IcsRule::BeforeUntil(const icaltimetype& time) const
{
  return Ical().icaltime_is_null_time(fUntil) || IcsCompare(time, fUntil) <= 0;
}

bool IcsRule::StartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                       std::vector<icaltimetype>* starts, const Deadline& giveUp) const
{
  if (fFrequency == ICAL_NO_RECURRENCE || lastDay < IcsWallDay(start))
    return true;
  if (fLibical != nullptr)
    return LibicalStartsIn(start, firstDay, lastDay, starts, giveUp);
  if (RepeatsWithinADay(fFrequency))
    StepStartsIn(start, firstDay, lastDay, starts);
  else
    PlainStartsIn(start, firstDay, lastDay, starts);
  return true;
}

void IcsRule::StepStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                           std::vector<icaltimetype>* starts) const
{
  // The k-th repetition lies k steps after the start. Each day needs only
  // its first one, so the work goes by days, not by steps: by the wall
  // clock's days, or for a start in a zone by this program's local days.
  const int64 startWall = IcsWallSeconds(start);
  const bool zoned = IcsHasZone(start);
  for (int64 day = std::max(firstDay, IcsWallDay(start) - 1); day <= lastDay; day++) {
    int64 from = day * kSecondsPerDay;
    int64 to = from + kSecondsPerDay;
    if (zoned) {
      from = IcsWallSecondsAt(IcsLocalMidnight(day), start.zone);
      to = IcsWallSecondsAt(IcsLocalMidnight(day + 1), start.zone);
    }
    const int64 k = std::max<int64>(0, CeilDiv(from - startWall, fStepSeconds));
    const int64 wall = startWall + k * fStepSeconds;
    if (wall >= to)
      continue;
    if (fCount > 0 && k >= fCount)
      return;
    const icaltimetype time = IcsAtWallSeconds(start, wall);
    if (!BeforeUntil(time))
      return;
    starts->push_back(time);
  }
}

void IcsRule::Periods(const icaltimetype& start, int64 firstDay, int64 lastDay, int64* first, int64* last) const
{
  const int64 startDay = IcsWallDay(start);
  switch (fFrequency) {
  case ICAL_DAILY_RECURRENCE:
    *first = FloorDiv(firstDay - startDay, fInterval);
    *last = FloorDiv(lastDay - startDay, fInterval);
    break;
  case ICAL_WEEKLY_RECURRENCE: {
    const int64 weekOfStart = startDay - (Weekday(startDay) - fWeekStart + 7) % 7;
    *first = FloorDiv(firstDay - weekOfStart, 7 * int64(fInterval));
    *last = FloorDiv(lastDay - weekOfStart, 7 * int64(fInterval));
    break;
  }
  default: {
    const int64 period = int64(fInterval) * (fFrequency == ICAL_YEARLY_RECURRENCE ? 12 : 1);
    const int64 startMonth = int64(start.year) * 12 + start.month - 1;
    const CivilDay from = CivilDayFromNumber(firstDay);
    const CivilDay to = CivilDayFromNumber(lastDay);
    // A yearly period starts with the start's year, whatever its month.
    const int64 shift = fFrequency == ICAL_YEARLY_RECURRENCE ? start.month - 1 : 0;
    *first = FloorDiv(int64(from.year) * 12 + from.month - 1 - startMonth + shift, period);
    *last = FloorDiv(int64(to.year) * 12 + to.month - 1 - startMonth + shift, period);
    break;
  }
  }
  if (*first < 0)
    *first = 0;
}

bool IcsRule::KeepsDay(int64 day) const
{
  if (fDayMonths == 0 && fDayWeekdays == 0 && fDayMonthDays == 0 && fDayLastDays == 0)
    return true;
  const CivilDay civil = CivilDayFromNumber(day);
  if (fDayMonths != 0 && !(fDayMonths & (1 << (civil.month - 1))))
    return false;
  if (fDayWeekdays != 0 && !(fDayWeekdays & (1 << Weekday(day))))
    return false;
  if (fDayMonthDays == 0 && fDayLastDays == 0)
    return true;
  const int fromEnd = TagePerMonat(civil.month - 1, civil.year) - civil.day;
  return (fDayMonthDays & (1u << (civil.day - 1))) || (fDayLastDays & (1u << fromEnd));
}

int IcsRule::DaysOfPeriod(const icaltimetype& start, int64 k, int64 days[7]) const
{
  const int64 startDay = IcsWallDay(start);
  switch (fFrequency) {
  case ICAL_DAILY_RECURRENCE:
    days[0] = startDay + k * fInterval;
    return KeepsDay(days[0]) ? 1 : 0;
  case ICAL_WEEKLY_RECURRENCE: {
    const int64 week = startDay - (Weekday(startDay) - fWeekStart + 7) % 7 + 7 * int64(fInterval) * k;
    int count = 0;
    for (int i = 0; i < 7; i++) {
      if (fWeekdays & (1 << ((fWeekStart + i) % 7)))
        days[count++] = week + i;
    }
    return count;
  }
  default: {
    const bool yearly = fFrequency == ICAL_YEARLY_RECURRENCE;
    const int64 month = yearly ? (int64(start.year) + k * fInterval) * 12 + fMonth - 1
                               : int64(start.year) * 12 + start.month - 1 + k * fInterval;
    const int32 year = int32(month / 12);
    const int32 month1 = int32(month % 12) + 1;
    const int64 length = MonthLength(month);
    const int64 firstOfMonth = DayNumber(year, month1, 1);
    if (fOrdinal == 0) {
      const int64 day = fMonthDay > 0 ? fMonthDay : length + 1 + fMonthDay;
      if (day < 1 || day > length)
        return 0;
      days[0] = firstOfMonth + day - 1;
      return 1;
    }
    int weekday = 0;
    while (!(fWeekdays & (1 << weekday)))
      weekday++;
    int64 day;
    if (fOrdinal > 0) {
      day = firstOfMonth + (weekday - Weekday(firstOfMonth) + 7) % 7 + 7 * int64(fOrdinal - 1);
    } else {
      const int64 lastOfMonth = firstOfMonth + length - 1;
      day = lastOfMonth - (Weekday(lastOfMonth) - weekday + 7) % 7 - 7 * int64(-fOrdinal - 1);
    }
    if (day < firstOfMonth || day >= firstOfMonth + length)
      return 0;
    days[0] = day;
    return 1;
  }
  }
}

void IcsRule::PlainStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                            std::vector<icaltimetype>* starts) const
{
  const int64 startDay = IcsWallDay(start);
  int64 first;
  int64 last;
  Periods(start, firstDay, lastDay, &first, &last);
  int64 days[7];
  // COUNT counts the starts of every period before the range too.
  int64 counted = 0;
  if (fCount > 0) {
    for (int64 k = 0; k < first && counted < fCount; k++) {
      const int found = DaysOfPeriod(start, k, days);
      for (int i = 0; i < found; i++)
        counted += days[i] >= startDay ? 1 : 0;
    }
  }
  for (int64 k = first; k <= last; k++) {
    const int found = DaysOfPeriod(start, k, days);
    for (int i = 0; i < found; i++) {
      if (days[i] < startDay)
        continue;
      if (fCount > 0 && counted >= fCount)
        return;
      counted++;
      if (days[i] < firstDay || days[i] > lastDay)
        continue;
      const icaltimetype time = OnDay(start, days[i]);
      if (!BeforeUntil(time))
        return;
      starts->push_back(time);
    }
  }
}

bool IcsRule::LibicalStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                              std::vector<icaltimetype>* starts, const Deadline& giveUp) const
{
  if (giveUp.Passed())
    return false;
  icalrecur_iterator* iterator = Ical().icalrecur_iterator_new(*fLibical, start);
  if (iterator == nullptr)
    return true;
  // Without COUNT the iterator may jump to the range instead of walking
  // every repetition since the start.
  if (fCount == 0 && firstDay > IcsWallDay(start)) {
    icaltimetype from = OnDay(start, firstDay);
    if (!from.is_date)
      from.hour = from.minute = from.second = 0;
    Ical().icalrecur_iterator_set_start(iterator, from);
  }
  bool complete = true;
  for (;;) {
    if (giveUp.Passed()) {
      complete = false;
      break;
    }
    icaltimetype next = Ical().icalrecur_iterator_next(iterator);
    if (Ical().icaltime_is_null_time(next))
      break;
    const int64 day = IcsWallDay(next);
    if (day > lastDay)
      break;
    if (day >= firstDay) {
      next.zone = start.zone;
      next.is_date = start.is_date;
      starts->push_back(next);
    }
  }
  Ical().icalrecur_iterator_free(iterator);
  return complete;
}
