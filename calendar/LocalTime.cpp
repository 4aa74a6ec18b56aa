#include "calendar/LocalTime.h"

std::string LocalTimeText(const char* format, time_t time)
{
  struct tm local;
  char text[64];
  if (localtime_r(&time, &local) == nullptr || strftime(text, sizeof text, format, &local) == 0)
    return std::string();
  return text;
}
