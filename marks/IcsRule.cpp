#include "marks/IcsRule.h"

#include <cstdlib>

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"
#include "marks/IcsTime.h"

namespace {

// Most steps one libical rule may take for one range of days: enough for a
// rule that repeats every hour for a year.
// FIXME: rules that repeat more often than hourly mark only the first days
// of each year.
constexpr int kMaxLibicalSteps = 10000;

int64 FloorDiv(int64 a, int64 b)
{
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int64 CeilDiv(int64 a, int64 b)
{
  return -FloorDiv(-a, b);
}

bool NoneGiven(const short* by)
{
  return by[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

bool OnlyGiven(const short* by, int value)
{
  return by[0] == value && by[1] == ICAL_RECURRENCE_ARRAY_MAX;
}

// Whether the rule only repeats the start every so many days, weeks,
// months or years; BY parts that merely restate the start count as none.
bool IsPlainRule(const icalrecurrencetype& rule, const icaltimetype& start)
{
  if (rule.rscale != nullptr || !NoneGiven(rule.by_second) || !NoneGiven(rule.by_minute)
      || !NoneGiven(rule.by_hour) || !NoneGiven(rule.by_year_day) || !NoneGiven(rule.by_week_no)
      || !NoneGiven(rule.by_set_pos))
    return false;
  const bool noDay = NoneGiven(rule.by_day);
  const bool noMonthDay = NoneGiven(rule.by_month_day);
  const bool noMonth = NoneGiven(rule.by_month);
  switch (rule.freq) {
  case ICAL_DAILY_RECURRENCE:
    return noDay && noMonthDay && noMonth;
  case ICAL_WEEKLY_RECURRENCE: {
    const int weekday = Weekday(IcsWallDay(start)) + 1;  // libical counts Sunday as 1
    const bool sameDay = noDay
                         || (rule.by_day[1] == ICAL_RECURRENCE_ARRAY_MAX
                             && icalrecurrencetype_day_position(rule.by_day[0]) == 0
                             && int(icalrecurrencetype_day_day_of_week(rule.by_day[0])) == weekday);
    return sameDay && noMonthDay && noMonth;
  }
  case ICAL_MONTHLY_RECURRENCE:
    return noDay && noMonth && (noMonthDay || OnlyGiven(rule.by_month_day, start.day));
  case ICAL_YEARLY_RECURRENCE:
    return noDay
           && ((noMonth && noMonthDay)
               || (OnlyGiven(rule.by_month, start.month) && (noMonthDay || OnlyGiven(rule.by_month_day, start.day))));
  default:
    return false;
  }
}

icaltimetype OnDay(icaltimetype time, int64 day)
{
  const CivilDay civil = CivilDayFromNumber(day);
  time.year = civil.year;
  time.month = civil.month;
  time.day = civil.day;
  return time;
}

} // namespace

IcsRule::IcsRule() : fUntil(icaltime_null_time()) {}
IcsRule::~IcsRule() = default;
IcsRule::IcsRule(IcsRule&&) noexcept = default;
IcsRule& IcsRule::operator=(IcsRule&&) noexcept = default;

bool IcsRule::Parse(const std::string& text, const icaltimetype& start)
{
  icalrecurrencetype rule = icalrecurrencetype_from_string(text.c_str());
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
  if (IsPlainRule(rule, start))
    return true;
  icalrecur_iterator* check = icalrecur_iterator_new(rule, start);
  if (check == nullptr)
    return false;
  icalrecur_iterator_free(check);
  fLibical = std::make_unique<icalrecurrencetype>(rule);
  return true;
}

bool IcsRule::BeforeUntil(const icaltimetype& time) const
{
  if (icaltime_is_null_time(fUntil))
    return true;
  if (fUntil.is_date || time.is_date)
    return IcsWallDay(time) <= IcsWallDay(fUntil);
  if (IcsHasZone(fUntil) && IcsHasZone(time))
    return IcsInstant(time) <= IcsInstant(fUntil);
  return IcsWallSeconds(time) <= IcsWallSeconds(fUntil);
}

void IcsRule::StartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                       std::vector<icaltimetype>* starts) const
{
  if (fFrequency == ICAL_NO_RECURRENCE || lastDay < IcsWallDay(start))
    return;
  if (fLibical != nullptr)
    LibicalStartsIn(start, firstDay, lastDay, starts);
  else
    PlainStartsIn(start, firstDay, lastDay, starts);
}

void IcsRule::PlainStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                            std::vector<icaltimetype>* starts) const
{
  const int64 startDay = IcsWallDay(start);
  if (firstDay < startDay)
    firstDay = startDay;

  if (fFrequency == ICAL_DAILY_RECURRENCE || fFrequency == ICAL_WEEKLY_RECURRENCE) {
    const int64 step = int64(fInterval) * (fFrequency == ICAL_WEEKLY_RECURRENCE ? 7 : 1);
    for (int64 k = CeilDiv(firstDay - startDay, step); k <= FloorDiv(lastDay - startDay, step); k++) {
      if (fCount > 0 && k >= fCount)
        return;
      const icaltimetype time = OnDay(start, startDay + k * step);
      if (!BeforeUntil(time))
        return;
      starts->push_back(time);
    }
    return;
  }

  // Months and years: the k-th repetition lies k periods of months after
  // the start, and exists only when the start's day fits that month.
  const int64 period = int64(fInterval) * (fFrequency == ICAL_YEARLY_RECURRENCE ? 12 : 1);
  const int64 startMonth = int64(start.year) * 12 + start.month - 1;
  auto monthOf = [&](int64 k) { return startMonth + k * period; };
  auto exists = [&](int64 k) {
    const int64 month = monthOf(k);
    return start.day <= TagePerMonat(int(month % 12), int(month / 12));
  };
  const CivilDay first = CivilDayFromNumber(firstDay);
  const CivilDay last = CivilDayFromNumber(lastDay);
  const int64 kFirst = CeilDiv(int64(first.year) * 12 + first.month - 1 - startMonth, period);
  const int64 kLast = FloorDiv(int64(last.year) * 12 + last.month - 1 - startMonth, period);

  // COUNT counts only the repetitions that exist.
  int64 counted = 0;
  if (fCount > 0) {
    if (start.day <= 28) {
      counted = kFirst;
    } else {
      for (int64 k = 0; k < kFirst && counted < fCount; k++)
        counted += exists(k) ? 1 : 0;
    }
  }
  for (int64 k = kFirst; k <= kLast; k++) {
    if (!exists(k))
      continue;
    if (fCount > 0 && counted >= fCount)
      return;
    counted++;
    const int64 month = monthOf(k);
    const int64 day = DayNumber(int32(month / 12), int32(month % 12) + 1, start.day);
    if (day < firstDay || day > lastDay)
      continue;
    const icaltimetype time = OnDay(start, day);
    if (!BeforeUntil(time))
      return;
    starts->push_back(time);
  }
}

void IcsRule::LibicalStartsIn(const icaltimetype& start, int64 firstDay, int64 lastDay,
                              std::vector<icaltimetype>* starts) const
{
  icalrecur_iterator* iterator = icalrecur_iterator_new(*fLibical, start);
  if (iterator == nullptr)
    return;
  // Without COUNT the iterator may jump to the range instead of walking
  // every repetition since the start.
  if (fCount == 0 && firstDay > IcsWallDay(start)) {
    icaltimetype from = OnDay(start, firstDay);
    if (!from.is_date)
      from.hour = from.minute = from.second = 0;
    icalrecur_iterator_set_start(iterator, from);
  }
  for (int step = 0; step < kMaxLibicalSteps; step++) {
    icaltimetype next = icalrecur_iterator_next(iterator);
    if (icaltime_is_null_time(next))
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
  icalrecur_iterator_free(iterator);
}
