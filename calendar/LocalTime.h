// Seconds since the epoch as local time text.
//
//   LocalTimeText(" %Y/%m/%d %H:%M", 1208244600);   // " 2008/04/15 09:30" in Berlin
#pragma once

#include <ctime>
#include <string>

// `time` in local time formatted by strftime's `format`; the empty text when
// the time lies beyond what the calendar can show or the text would be
// longer than 63 characters. Times come from other programs too, so both
// can happen.
std::string LocalTimeText(const char* format, time_t time);
