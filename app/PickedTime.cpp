#include "app/PickedTime.h"

#include "calendar/TwelveHourClock.h"

int32 PickedHour(const PickedDate& pick, bool amMode, int32 halfDay)
{
  return amMode ? HourOfDay(pick.hour, halfDay) : pick.hour;
}

time_t PickedTime(const PickedDate& pick, bool amMode, int32 halfDay)
{
  struct tm broken = {};
  broken.tm_sec = 0;
  broken.tm_min = pick.minute;
  broken.tm_hour = PickedHour(pick, amMode, halfDay);
  broken.tm_mday = pick.day;
  broken.tm_mon = pick.month - 1;
  broken.tm_year = pick.year - 1900;
  broken.tm_isdst = -1;
  return mktime(&broken);
}
