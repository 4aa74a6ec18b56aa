// Seconds since 1970 of a wall-clock time in the tests' zone, daylight
// saving time worked out by mktime.
#pragma once

#include <ctime>

inline time_t LocalSeconds(int year, int month, int day, int hour, int minute)
{
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_isdst = -1;
  return mktime(&local);
}
