#include "calendar/TwelveHourClock.h"

int32 HourOnTwelveHourClock(int32 hourOfDay)
{
  const int32 hour = hourOfDay % 12;
  return hour == 0 ? 12 : hour;
}

int32 HalfOfDay(int32 hourOfDay)
{
  return hourOfDay >= 12 ? 2 : 1;
}

int32 HourOfDay(int32 twelveHour, int32 halfDay)
{
  const int32 hour = twelveHour % 12;
  return halfDay > 1 ? hour + 12 : hour;
}
