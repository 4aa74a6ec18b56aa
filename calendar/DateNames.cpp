#include "calendar/DateNames.h"

#include "calendar/CivilDay.h"
#include "calendar/Labels.h"

const char* MonthName(int32 month)
{
  return month >= 1 && month <= 12 ? getMoreLabel(kLabelJanuary + month - 1) : "";
}

const char* WeekdayName(int32 weekday)
{
  return weekday >= 0 && weekday <= 6 ? getMoreLabel(kLabelSunday + weekday) : "";
}

std::string LongDateText(int32 year, int32 month, int32 day)
{
  return std::string(WeekdayName(Weekday(DayNumber(year, month, day)))) + ", " + std::to_string(day) + " " +
         MonthName(month) + " " + std::to_string(year);
}

std::string MonthYearText(int32 year, int32 month)
{
  return std::string(MonthName(month)) + " " + std::to_string(year);
}
