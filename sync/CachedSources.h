// The synced calendars' marks as the cache holds them, for a program that
// does not sync: OrvellaExport's pictures and pages show the days the
// window shows.
//
//   LookForVEvents();
//   LookForCalendars(nullptr);
//   LookForCachedSources(nullptr);   // replaces the sources' marks
//   marks->CheckHolidays();
#pragma once

#include "platform/support/SupportDefs.h"

// Reads the cached marks of every source of the sources file (the default
// one for null) into the registry, each under its MarksId; returns how many
// sources had marks.
int32 LookForCachedSources(const char* sourcesPath);
