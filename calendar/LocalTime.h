// Local time: seconds since the epoch as text, and a local wall-clock time
// as seconds since the epoch; the local day of an instant and when the
// next one begins; and the system's time zone read again when it changes.
//
//   LocalTimeText(" %Y/%m/%d %H:%M", 1208244600);   // " 2008/04/15 09:30" in Berlin
//   LocalInstant(2008, 4, 15, 9, 30);               // 1208244600 in Berlin
//   LocalDay(1208244600);                           // 2008/04/15
//   NextLocalMidnight(1208244600);                  // 2008/04/16 00:00 in Berlin
#pragma once

#include "calendar/CivilDay.h"

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

// The local date of an instant; 0000/00/00 when the time cannot be
// converted.
CivilDay LocalDay(time_t time);
// The first instant of the local day after the one of `time`: its midnight,
// or the first hour that day has when a clock change skips midnight.
time_t NextLocalMidnight(time_t time);

// The C library reads the system's time zone once. This reads it again
// when the zone's file (/etc/localtime, or the file TZ names) changed since
// the last call, and says whether it did; the first call only takes note.
bool FollowSystemTimeZone();
