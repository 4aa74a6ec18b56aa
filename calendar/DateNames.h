// Dates in words, as a screen reader says them, in the labels' language
// (Labels.h):
//
//   MonthName(3);                  // "March"
//   WeekdayName(1);                // "Monday"
//   LongDateText(2004, 3, 15);     // "Monday, 15 March 2004"
//   MonthYearText(2004, 3);        // "March 2004"
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

// The whole name of a month 1..12; empty for any other number.
const char* MonthName(int32 month);
// The whole name of a weekday, 0 Sunday .. 6 Saturday; empty otherwise.
const char* WeekdayName(int32 weekday);
std::string LongDateText(int32 year, int32 month, int32 day);
std::string MonthYearText(int32 year, int32 month);
