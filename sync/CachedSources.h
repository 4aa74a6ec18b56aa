// The synced calendars' marks as the cache holds them, for the registry.
// OrvellaExport reads them so that its pictures and pages show the days the
// window shows; the window gets them from its sync and hands each source's
// marks over here.
//
//   marks->ClearList();
//   marks->LoadHolidays(nullptr);
//   LookForVEvents();
//   LookForCalendars(nullptr);
//   LookForCachedSources(nullptr);   // appends; does not empty the list
//   marks->CheckHolidays();
#pragma once

#include <memory>

#include "marks/IcsCalendar.h"
#include "platform/support/SupportDefs.h"

class STMarkups;

// Reads the cached marks of every source of the sources file (the default
// one for null) into the registry; returns how many sources had marks.
int32 LookForCachedSources(const char* sourcesPath);

// Adds one source's marks to the registry as a year source that shares
// them; an events source sets fHasEvents.
void AddSourceMarks(STMarkups* marks, std::shared_ptr<const IcsCalendar> calendar);
