// The folder of iCalendar files, $XDG_DATA_HOME/orvella/calendars (else
// ~/.local/share/orvella/calendars; docs/calendars.md). Every "*.ics" file
// in it joins the marked-day registry as a year source; its name gives the
// kind of all its days:
//
//   deDE.ics   a region code (two small and two capital letters): the
//              holidays of that region, local for the home region
//   user.ics   user days
//   other.ics  events
//
//   STMarkups* marks = STMarkups::getSTMarkups();
//   marks->ClearList();
//   marks->LoadHolidays(nullptr);
//   LookForVEvents();
//   LookForCalendars(nullptr);   // replaces the folder's sources
//   marks->CheckHolidays();
#pragma once

#include <string>

#include "platform/support/SupportDefs.h"

std::string DefaultCalendarFolder();

// The kind a file name gives; 0 when the name is no calendar file (not
// ending in ".ics", or hidden).
uint32 CalendarKind(const std::string& fileName);

// Reads every calendar file of the folder (the default one for null) into
// the registry, in the order of their names, each a year source under its
// path that replaces what the file gave before; the folder's files that are
// gone or unreadable leave it. Returns how many gave a calendar. A file
// with problems gets one line naming it; a missing folder is no problem
// and prints nothing. An events file sets the registry's fHasEvents.
int32 LookForCalendars(const char* folder);
