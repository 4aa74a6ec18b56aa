#include "calendar/MonthGrid.h"

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"

#include <cstdlib>
#include <ctime>

namespace {

// The date at noon in UTC, normalised and with weekday and day of the year
// for strftime: UTC has no daylight-saving gaps, so every date converts.
struct tm CivilDate(int32 year, int32 month, int32 day)
{
  struct tm date = {};
  date.tm_year = year - 1900;
  date.tm_mon = month - 1;
  date.tm_mday = day;
  date.tm_hour = 12;
  const time_t seconds = timegm(&date);
  gmtime_r(&seconds, &date);
  return date;
}

} // namespace

int32 FirstColumn(int32 weekday)
{
  return weekday == 0 ? 6 : weekday - 1;
}

int32 IsoWeek(int32 year, int32 month, int32 day)
{
  const struct tm date = CivilDate(year, month, day);
  char text[16];
  if (strftime(text, sizeof text, "%V", &date) == 0)
    return 0;
  return int32(strtol(text, nullptr, 10));
}

MonthGrid::MonthGrid(int32 year, int32 month)
    : fDays(month >= 1 && month <= 12 ? TagePerMonat(month - 1, year) : 0),
      fFirstColumn(fDays > 0 ? FirstColumn(::Weekday(DayNumber(year, month, 1))) : 0)
{
}

int32 MonthGrid::Column(int32 day) const
{
  return (fFirstColumn + day - 1) % 7;
}

int32 MonthGrid::Row(int32 day) const
{
  return 1 + (fFirstColumn + day - 1) / 7;
}

int32 MonthGrid::Weekday(int32 day) const
{
  return (Column(day) + 1) % 7;
}

bool MonthGrid::IsWeekend(int32 day) const
{
  return Column(day) >= 5;
}
