#include "marks/IcsTime.h"

#include <string>

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"

namespace {

bool AllDigits(std::string_view text)
{
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

} // namespace

bool ParseIcsTime(std::string_view text, icaltimezone* zone, icaltimetype* time)
{
  const bool date = text.size() == 8;
  const bool utc = text.size() == 16 && text[15] == 'Z';
  const bool dateTime = date || text.size() == 15 || utc;
  if (!dateTime || !AllDigits(text.substr(0, 8)))
    return false;
  if (!date && (text[8] != 'T' || !AllDigits(text.substr(9, 6))))
    return false;
  const std::string value(text);
  icaltimetype parsed = icaltime_from_string(value.c_str());
  if (icaltime_is_null_time(parsed) || parsed.year < 1 || parsed.year > 9999 || parsed.month < 1
      || parsed.month > 12 || parsed.day < 1 || parsed.day > TagePerMonat(parsed.month - 1, parsed.year)
      || parsed.hour > 23 || parsed.minute > 59 || parsed.second > 60)
    return false;
  if (!date && !utc)
    parsed.zone = zone;
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

bool IcsHasZone(const icaltimetype& time)
{
  return !time.is_date && time.zone != nullptr;
}

time_t IcsInstant(const icaltimetype& time)
{
  if (IcsHasZone(time))
    return icaltime_as_timet_with_zone(time, time.zone);
  struct tm local = {};
  local.tm_year = time.year - 1900;
  local.tm_mon = time.month - 1;
  local.tm_mday = time.day;
  local.tm_hour = time.hour;
  local.tm_min = time.minute;
  local.tm_sec = time.second;
  local.tm_isdst = -1;
  return mktime(&local);
}
