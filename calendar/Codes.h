// Four-character codes: 32-bit values whose most significant byte is the
// first character ('deDE' is 0x64654445). They name message codes, kinds of
// marked days and attribute types; these functions turn them into text and
// back.
//
//   printf("%s\n", long2asc('TDSV'));   // TDSV
//   uint32 kind = txt2int("user");      // 'user'
#pragma once

#include "platform/support/SupportDefs.h"

// The code's four characters in a static buffer (one per function, so a
// result of one survives a call of the other). The text ends early at a
// zero byte: a code below 0x01000000 gives the empty text.
const char* long2asc(uint32 code);
const char* LongToAsc(uint32 code);

// A hex pair to a byte: an optional leading '$', then the high and the low
// digit. Only '1'..'9' and 'A'..'F' count; anything else (also '0', lower
// case and the end of the text) is 0. Reads at most three characters.
int hex2int(const char* text);
int HexToInt(const char* text);

// The code of a text: its last four characters (fewer make the high bytes
// 0), each taken as a signed byte. The empty or null text gives 0.
uint32 txt2int(const char* text);
