// The locale setting file: the language chosen last, shared by every
// program of the family. The file "kx_simpel_locale" in the folder
// "_LP_x-vnd.KX" of the user settings directory carries no data, only
// attributes:
//
//   "_last_lg_selected"  'CSTR', 5 bytes: the language code ("deDE") and a
//                        NUL, or "_non" after a failed load; read by all
//   the owner's name     'CSTR', 5 bytes: the same code, per program;
//                        written, never read
//   "_last_nr_selected"  'LONG', 4 bytes: a menu number
//
// A code is always stored as exactly five bytes: its first five, a shorter
// code padded with NULs. Failures are silent: reads keep the value given,
// writes have no effect.
//
//   AskStrSetting("Orvella", "deDE", true);                 // remember German
//   std::string last = AskStrSetting("Orvella", "LAST", false);  // "deDE"
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

// Bytes of a stored language code.
inline constexpr size_t kStoredCodeSize = 5;
// Longest value AskStrSetting hands back; longer values are cut.
inline constexpr size_t kSettingTextMax = 7;

// With `write`, stores the first five bytes of `value` and returns `value`
// cut to seven characters. Without, returns the stored code (up to its first
// NUL), or `value` cut to seven characters when none is stored or it is
// empty.
std::string AskStrSetting(const char* owner, const char* value, bool write);

// With `write`, stores `value` as "_last_nr_selected"; without, returns the
// stored number, or `value` when none is stored.
int32 AskIntSetting(int32 value, bool write);
