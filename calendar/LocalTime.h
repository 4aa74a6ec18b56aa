// Local time: seconds since the epoch as text, and a local wall-clock time
// as seconds since the epoch.
//
//   LocalTimeText(" %Y/%m/%d %H:%M", 1208244600);   // " 2008/04/15 09:30" in Berlin
//   LocalInstant(2008, 4, 15, 9, 30);               // 1208244600 in Berlin
#pragma once

#include <ctime>
#include <string>

// `time` in local time formatted by strftime's `format`; the empty text when
// the time lies beyond what the calendar can show or the text would be
// longer than 63 characters. Times come from other programs too, so both
// can happen.
std::string LocalTimeText(const char* format, time_t time);

// The instant of a local wall-clock time, daylight saving time worked out
// by mktime; fields outside their ranges roll over as mktime rolls them,
// and -1 for a time it cannot give.
time_t LocalInstant(int year, int month, int day, int hour, int minute, int second = 0);
