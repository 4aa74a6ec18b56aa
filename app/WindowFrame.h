// Whether a stored frame gives a window the user can see and use.
//
//   if (!IsUsableWindowFrame(prefs->fWinRect))
//     prefs->fWinRect = Prefs::kDefaultWinRect;
#pragma once

#include "platform/support/BRect.h"

// True for a frame of finite numbers, sized within the window's layouts
// (MIN_W..MAX_W by MIN_H..MAX_H), that overlaps at least one screen.
bool IsUsableWindowFrame(const BRect& frame);
