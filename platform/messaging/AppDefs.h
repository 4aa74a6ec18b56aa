// Message codes that the platform layer itself sends and understands.
#pragma once

#include "platform/support/SupportDefs.h"

enum : uint32 {
  // Asks a looper to quit: it calls QuitRequested() and quits when that
  // returns true.
  B_QUIT_REQUESTED = '_QRQ',
};
