// Fill colours of the day cells, the dial and the entry fields, shared by
// the controls and the calendar views.
#pragma once

#include "platform/interface/GraphicsDefs.h"

// Selected day cell; inner face of the dial.
inline constexpr rgb_color HighCOL = {255, 255, 0, 0};
// Hour ticks of the dial; start of an entry field's focus fill.
inline constexpr rgb_color DefaCOL = {216, 216, 216, 0};
// A user day (birthday, anniversary).
inline constexpr rgb_color USERCOL = {200, 254, 200, 120};
// A global or local holiday.
inline constexpr rgb_color GLOBALCOL = {200, 200, 254, 120};
