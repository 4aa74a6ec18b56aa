#include "marks/IcsTime.h"

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"
#include "calendar/LocalTime.h"
#include "marks/Libical.h"

namespace {

// libical works out a zone's changes from its first year up to the year
// asked for, and does it again on every conversion past the years it
// keeps: 35 ms a conversion in the year 4000. Times after kNearYear are
// converted whole cycles of the Gregorian calendar (400 years, weekdays
// included) nearer, into the years 2030 to kNearYear, which follow the
// zone's rules of today as later years do.
constexpr int32 kNearYear = 2429;
constexpr int64 kCycleSeconds = 146097LL * 86400;

// The number written by `count` digits at `at`; -1 when one is no digit.
int Digits(std::string_view text, size_t at, size_t count)
{
  int number = 0;
  for (size_t i = at; i < at + count; i++) {
    if (text[i] < '0' || text[i] > '9')
      return -1;
    number = number * 10 + (text[i] - '0');
  }
  return number;
}

} // namespace

bool ParseIcsTime(std::string_view text, icaltimezone* zone, icaltimetype* time)
{
  const bool date = text.size() == 8;
  const bool utc = text.size() == 16 && text[15] == 'Z';
  if (!date && !utc && text.size() != 15)
    return false;
  icaltimetype parsed = Ical().icaltime_null_time();
  parsed.year = Digits(text, 0, 4);
  parsed.month = Digits(text, 4, 2);
  parsed.day = Digits(text, 6, 2);
  if (date) {
    parsed.is_date = 1;
  } else {
    if (text[8] != 'T')
      return false;
    parsed.hour = Digits(text, 9, 2);
    parsed.minute = Digits(text, 11, 2);
    parsed.second = Digits(text, 13, 2);
    parsed.zone = utc ? Ical().icaltimezone_get_utc_timezone() : zone;
  }
  if (parsed.year < 1 || parsed.month < 1 || parsed.month > 12 || parsed.day < 1
      || parsed.day > TagePerMonat(parsed.month - 1, parsed.year) || parsed.hour < 0 || parsed.hour > 23
      || parsed.minute < 0 || parsed.minute > 59 || parsed.second < 0 || parsed.second > 60)
    return false;
  *time = parsed;
  return true;
}

int64 IcsWallDay(const icaltimetype& time)
{
  return DayNumber(time.year, time.month, time.day);
}

int64 IcsWallSeconds(const icaltimetype& time)
{
  return IcsWallDay(time) * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

icaltimetype IcsAtWallSeconds(icaltimetype time, int64 seconds)
{
  int64 day = seconds / 86400;
  int64 ofDay = seconds - day * 86400;
  if (ofDay < 0) {
    day--;
    ofDay += 86400;
  }
  const CivilDay civil = CivilDayFromNumber(day);
  time.year = civil.year;
  time.month = civil.month;
  time.day = civil.day;
  time.hour = int(ofDay / 3600);
  time.minute = int(ofDay / 60 % 60);
  time.second = int(ofDay % 60);
  return time;
}

int IcsCompare(const icaltimetype& a, const icaltimetype& b)
{
  int64 left, right;
  if (a.is_date || b.is_date) {
    left = IcsWallDay(a);
    right = IcsWallDay(b);
  } else if (IcsHasZone(a) && IcsHasZone(b)) {
    left = int64(IcsInstant(a));
    right = int64(IcsInstant(b));
  } else {
    left = IcsWallSeconds(a);
    right = IcsWallSeconds(b);
  }
  return left < right ? -1 : left > right ? 1 : 0;
}

bool IcsHasZone(const icaltimetype& time)
{
  return !time.is_date && time.zone != nullptr;
}

time_t IcsInstant(const icaltimetype& time)
{
  if (!IcsHasZone(time))
    return LocalInstant(time.year, time.month, time.day, time.hour, time.minute, time.second);
  if (time.year > kNearYear) {
    const int64 cycles = (time.year - kNearYear + 399) / 400;
    icaltimetype nearer = time;
    nearer.year -= int(400 * cycles);
    return time_t(IcsInstant(nearer) + cycles * kCycleSeconds);
  }
  return Ical().icaltime_as_timet_with_zone(time, time.zone);
}

int64 IcsWallSecondsAt(time_t instant, const icaltimezone* zone)
{
  static const int64 kNearEnd = (DayNumber(kNearYear + 1, 1, 1) - 1) * 86400;
  if (instant > kNearEnd) {
    const int64 cycles = (instant - kNearEnd + kCycleSeconds - 1) / kCycleSeconds;
    return IcsWallSecondsAt(time_t(instant - cycles * kCycleSeconds), zone) + cycles * kCycleSeconds;
  }
  return IcsWallSeconds(Ical().icaltime_from_timet_with_zone(instant, 0, zone));
}

time_t IcsLocalMidnight(int64 day)
{
  const CivilDay civil = CivilDayFromNumber(day);
  return LocalInstant(civil.year, civil.month, civil.day, 0, 0, 0);
}
