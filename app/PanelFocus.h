// Codes the window and its entry panel use for the focused field.
#pragma once

#include "platform/support/SupportDefs.h"

// Focus codes of the panel: the day field, the hour field, no field.
inline constexpr int32 kFocusDay = 3;
inline constexpr int32 kFocusHour = 4;
inline constexpr int32 kFocusNone = 51;
// The window's focusKind while a time field (hour or minute) has the focus.
inline constexpr int32 kTimeFocus = 2;
