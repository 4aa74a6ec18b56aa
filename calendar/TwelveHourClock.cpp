#include "calendar/TwelveHourClock.h"

int32 TwelveHourOf(int32 dayHour)
{
  const int32 hour = dayHour % 12;
  return hour == 0 ? 12 : hour;
}

int32 HalfDayOf(int32 dayHour)
{
  return dayHour >= 12 ? 2 : 1;
}

int32 DayHourOf(int32 twelveHour, int32 halfDay)
{
  // 12 AM is the first hour of the day and 12 PM noon.
  const int32 hour = twelveHour % 12;
  return halfDay > 1 ? hour + 12 : hour;
}
