// The screens of the desktop, in screen coordinates. BScreen() is the main
// screen; SetToNext() steps through the others.
//
//   BScreen screen;
//   for (; screen.IsValid(); screen.SetToNext())
//     screen.Frame().PrintToStream();
#pragma once

#include "platform/support/BRect.h"
#include "platform/support/SupportDefs.h"

struct screen_id {
  int32 id;
};

inline constexpr screen_id B_MAIN_SCREEN_ID = {0};

class BScreen {
public:
  explicit BScreen(screen_id id = B_MAIN_SCREEN_ID);

  // False when the screen does not exist (or no longer does).
  bool IsValid() const;
  // The next screen; B_ERROR, and no valid screen, after the last one.
  status_t SetToNext();
  // The screen's frame, inclusive; an invalid rectangle when not valid.
  BRect Frame() const;

private:
  int32 fIndex;
};
