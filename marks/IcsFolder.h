// The folder of iCalendar files, $XDG_DATA_HOME/orvella/calendars (else
// ~/.local/share/orvella/calendars; docs/calendars.md). Every "*.ics" file
// in it joins the marked-day registry as a year source under its path; its
// name gives the kind of all its days:
//
//   deDE.ics   a region code (two small and two capital letters): the
//              holidays of that region, local for the home region
//   user.ics   user days
//   other.ics  events
//
// Only regular files are read, opened so that a named pipe or a device
// cannot hold the reader, each at most 16 MiB and the folder at most
// 64 MiB in all.
//
//   STMarkups* marks = STMarkups::getSTMarkups();
//   marks->ClearList();
//   marks->LoadHolidays(nullptr);
//   LookForVEvents();
//   LookForCalendars(nullptr);   // replaces the folder's sources
//   marks->CheckHolidays();
//
// The window reads the folder on a worker thread instead
// (marks/CalendarWorker.h): ReadCalendarFolder there, TakeCalendarFolder
// on the GUI thread.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "marks/YearSource.h"
#include "platform/support/SupportDefs.h"

class STMarkups;

std::string DefaultCalendarFolder();

// The kind a file name gives; 0 when the name is no calendar file (not
// ending in ".ics", or hidden).
uint32 CalendarKind(const std::string& fileName);

// Reads the calendar files of the folder in the order of their names and
// works out the given years of each, the files of a year together within
// one time budget (marks/YearWork.h). Gives one entry for every calendar
// file, with a null source for a file not read. A file with problems gets
// one line naming it; a missing folder is no problem and prints nothing.
// `stop` ends the work early. May run on any thread.
std::vector<SourceMarks> ReadCalendarFolder(const std::string& folder, const std::vector<int32>& years,
                                            const std::atomic<bool>* stop = nullptr);

// Puts what ReadCalendarFolder gave into the registry: each file's source
// replaces what the file gave before, and the folder's files that are gone
// leave the registry. Returns how many files gave a calendar. Run
// CheckHolidays afterwards.
int32 TakeCalendarFolder(STMarkups* marks, const std::string& folder, std::vector<SourceMarks> files);

// Reads the folder (the default one for null) into the registry on this
// thread; returns how many files gave a calendar.
int32 LookForCalendars(const char* folder);
