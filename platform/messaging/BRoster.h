// The roster knows the programs running on the session bus: it broadcasts
// a message to all of them and tells whether a signature runs.
//
//   BMessage change('kxCL');
//   be_roster->Broadcast(&change);       // every program, this one too
//   if (!be_roster->IsRunning("application/x-vnd.KX-Orvella")) ...
#pragma once

#include "platform/support/SupportDefs.h"

class BMessage;

// Longest signature, terminating zero included.
constexpr int32 B_MIME_TYPE_LENGTH = 256;

struct app_info {
  char signature[B_MIME_TYPE_LENGTH];
  uint32 flags;
};

class BRoster {
public:
  // Every program on the bus receives a copy at its application object,
  // with this program's application object as the return address. Without
  // a bus only this program receives it.
  status_t Broadcast(BMessage* message) const;
  // Whether a program with this signature owns its bus name.
  bool IsRunning(const char* signature) const;
  // Whether this program is on the session bus; without it no other
  // program can be reached.
  bool HasSessionBus() const;
};

extern const BRoster* be_roster;
