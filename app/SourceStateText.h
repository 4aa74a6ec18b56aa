// What the Calendars window and the MarkDays submenu say about a calendar
// source, in the labels of the current language:
//
//   SourceName(entry);                          // "Work, Home" or "example.org/holidays.ics"
//   SourceStateText(entry.state, false, now);   // "synced 10:42", "offline since 2024/03/05 09:12"
#pragma once

#include "sync/CalendarSync.h"

#include <ctime>
#include <string>

// The names of its calendars, else its host and path.
std::string SourceName(const CalendarSync::Entry& entry);

// Its state: a failure with the time of the last good sync where that
// helps; "syncing..." while a sync runs.
std::string SourceStateText(const SourceState& state, bool syncing, time_t now);

// A time as the states show it: the clock for today, else date and clock.
std::string StateTime(time_t when, time_t now);
