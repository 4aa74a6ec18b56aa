#include "calendar/LocalTime.h"

std::string LocalTimeText(const char* format, time_t time)
{
  struct tm local;
  char text[64];
  if (localtime_r(&time, &local) == nullptr || strftime(text, sizeof text, format, &local) == 0)
    return std::string();
  return text;
}

time_t LocalInstant(int year, int month, int day, int hour, int minute, int second)
{
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return mktime(&local);
}
