#include "calendar/CalDay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

bool IsLeap(int64 year)
{
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

} // namespace

int isSchaltjahr(int year)
{
  return IsLeap(year) ? 1 : 0;
}

int TagePerMonat(int month0, int year)
{
  // Floor division moves whole years at once; 64 bits keep the year sum
  // from overflowing for any pair of ints.
  int64 month = month0;
  int64 fullYear = year + month / 12;
  month %= 12;
  if (month < 0) {
    month += 12;
    fullYear -= 1;
  }
  switch (month) {
  case 1:
    return 28 + (IsLeap(fullYear) ? 1 : 0);
  case 3:
  case 5:
  case 8:
  case 10:
    return 30;
  default:
    return 31;
  }
}

const char* CDay2str(const kx_calday* day)
{
  // Eleven characters of year, three each of month and day, two slashes
  // and the terminator: the longest text any record gives.
  static char text[24];
  text[0] = '\0';
  if (day == nullptr)
    return text;
  snprintf(text, sizeof(text), "%4d/%02d/%02d", static_cast<int>(day->year), day->month,
           day->day);
  if (day->year == 0)
    memcpy(text, "ever", 4);
  return text;
}

std::unique_ptr<kx_calday> str2CDay(const char* text)
{
  auto day = std::make_unique<kx_calday>();
  day->reserved = 0;
  if (text != nullptr && strlen(text) == 10) {
    day->day = static_cast<uint8>(strtol(text + 8, nullptr, 10));
    day->month = static_cast<uint8>(strtol(text + 5, nullptr, 10));
    day->year = static_cast<int32>(strtol(text, nullptr, 10));
    return day;
  }
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  day->year = local.tm_year + 1900;
  day->month = static_cast<uint8>(local.tm_mon + 1);
  day->day = static_cast<uint8>(local.tm_mday);
  return day;
}
