#include "calendar/CivilDay.h"

// Days are counted in eras of 400 years (146097 days), which repeat the
// Gregorian calendar exactly; years start on 1 March so that the leap day
// is the last day of its year.

namespace {

int64 FloorDiv(int64 a, int64 b)
{
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

int64 DayNumber(int32 year, int32 month, int32 day)
{
  // Months outside 1..12 roll into the neighbouring years.
  const int64 month0 = int64(month) - 1;
  int64 y = int64(year) + FloorDiv(month0, 12);
  const int64 m = month0 - FloorDiv(month0, 12) * 12 + 1;
  if (m <= 2)
    y -= 1;
  const int64 era = FloorDiv(y, 400);
  const int64 yearOfEra = y - era * 400;
  const int64 dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + int64(day) - 1;
  const int64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

CivilDay CivilDayFromNumber(int64 number)
{
  const int64 z = number + 719468;
  const int64 era = FloorDiv(z, 146097);
  const int64 dayOfEra = z - era * 146097;
  const int64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64 mp = (5 * dayOfYear + 2) / 153;
  const int32 day = int32(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int32 month = int32(mp < 10 ? mp + 3 : mp - 9);
  const int32 year = int32(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

int Weekday(int64 number)
{
  // 1 January 1970 was a Thursday.
  return int(number + 4 - FloorDiv(number + 4, 7) * 7);
}

CivilDay DaysLater(const CivilDay& day, int64 days)
{
  return CivilDayFromNumber(DayNumber(day.year, day.month, day.day) + days);
}

CivilDay MonthsLater(const CivilDay& day, int32 months)
{
  const CivilDay first = CivilDayFromNumber(DayNumber(day.year, day.month + months, 1));
  const int64 length = DayNumber(first.year, first.month + 1, 1) - DayNumber(first.year, first.month, 1);
  return {first.year, first.month, int32(day.day < length ? day.day : length)};
}
