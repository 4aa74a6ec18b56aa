// The event scan: the reminder program keeps one file per event in
// $HOME/events and describes it in extended attributes ("EVENT:Summary",
// "EVENT:NextA", "EVENT:Warn", "EVENT:tStart"; see docs/markdays.md). Each
// usable file becomes a MarkDay of kind 'evnt', marked on its local day.
//
//   STMarkups* marks = STMarkups::getSTMarkups();
//   marks->ClearList();
//   marks->LoadHolidays(nullptr);
//   LookForVEvents();          // appends; does not empty the list
//   marks->CheckHolidays();
#pragma once

#include "platform/support/SupportDefs.h"

// Appends the events to the registry and returns how many files gave one.
// A missing folder returns 0 and prints nothing; an open folder sets the
// registry's fHasEvents.
int32 LookForVEvents();
