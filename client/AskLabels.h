// AskOrvel's label texts by number. Its built-in English table aLabel is
// mirrored into the label dictionary (locale/KXLabel.h), where AskOrvel's
// own dictionaries ("AskOrvel.deDE", ...) translate it.
//
//   askDate->SetLabel(AskLabel(kAskDateLabel));   // "Ask Date", or "Datum wählen"
#pragma once

enum AskLabelNumber {
  kAskDateLabel = 1,
  kAskTimeLabel = 2,
  kGetDateLabel = 3, // the requested OK label for a date
  kGetTimeLabel = 4, // the requested OK label for a time
  kBroadcastLabel = 5,
  kOrvellaQuitLabel = 6, // shown when Orvella quit while a request waited
};

// 0 is the program's name; closed by a null entry.
extern const char* const aLabel[];

// The dictionary's text of a number, or the built-in one while there is no
// dictionary.
const char* AskLabel(int number);
