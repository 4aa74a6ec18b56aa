#include "app/PickedTime.h"

#include "calendar/LocalTime.h"
#include "calendar/TwelveHourClock.h"

int32 PickedHour(const PickedDate& pick, bool amMode, int32 halfDay)
{
  return amMode ? HourOfDay(pick.hour, halfDay) : pick.hour;
}

time_t PickedTime(const PickedDate& pick, bool amMode, int32 halfDay)
{
  return LocalInstant(pick.year, pick.month, pick.day, PickedHour(pick, amMode, halfDay), pick.minute);
}
