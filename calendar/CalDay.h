// Calendar days: the leap-year rule, month lengths and the day record with
// its ten-character text form ("2004/03/07", "ever/12/24" for a day that
// recurs every year).
//
//   kx_calday day = {2004, 3, 7, 0};
//   printf("%s\n", CDay2str(&day));            // 2004/03/07
//   std::unique_ptr<kx_calday> d = str2CDay("ever/12/24");   // year 0
#pragma once

#include <memory>

#include "platform/support/SupportDefs.h"

// One calendar day. Year 0 means every year. Nothing checks that month and
// day form a real date.
struct kx_calday {
  int32 year;
  uint8 month;     // 1 = January .. 12 = December
  uint8 day;       // 1..31
  uint32 reserved; // always 0, unused
};

// 1 for a Gregorian leap year, else 0; negative years follow the same rule.
int isSchaltjahr(int year);

// Days in a month counted from 0 (0 = January); months outside 0..11 roll
// into the neighbouring years, so (13, 2003) is February 2004.
int TagePerMonat(int month0, int year);

// The day's text "%4d/%02d/%02d", with "ever" for year 0. The result lives
// in a static buffer that the next call overwrites; any year fits it.
const char* CDay2str(const kx_calday* day);

// Reads a ten-character date text (year from the first character, month
// from the sixth, day from the ninth, each as strtol reads base 10). Any
// other length, or a null text, gives today's local date.
std::unique_ptr<kx_calday> str2CDay(const char* text);
