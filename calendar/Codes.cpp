#include "calendar/Codes.h"

#include <cstdio>
#include <cstring>

namespace {

int HexDigit(char c)
{
  if (c >= '1' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return 0;
}

int HexPair(const char* text)
{
  if (text == nullptr)
    return 0;
  char pair[4] = {};
  strncpy(pair, text, sizeof(pair) - 1);
  const char* digits = pair[0] == '$' ? pair + 1 : pair;
  // pair is zero-padded, so digits[1] is inside it and 0 after a short text.
  return (HexDigit(digits[0]) * 16 + HexDigit(digits[1])) & 0xFF;
}

// Writes the code as eight hex digits and converts each pair back into a
// character. Zero-padding makes every code give its own four bytes, also
// those below 0x10000000.
const char* CodeToText(uint32 code, char* buffer, size_t size, int (*pairToByte)(const char*))
{
  char hex[12];
  snprintf(hex, sizeof(hex), "%08X", static_cast<unsigned>(code));
  char chars[5];
  for (int i = 0; i < 4; i++) {
    char pair[3] = {hex[2 * i], hex[2 * i + 1], '\0'};
    chars[i] = static_cast<char>(pairToByte(pair));
  }
  chars[4] = '\0';
  snprintf(buffer, size, "%s", chars);
  return buffer;
}

} // namespace

int hex2int(const char* text)
{
  return HexPair(text);
}

int HexToInt(const char* text)
{
  return HexPair(text);
}

const char* long2asc(uint32 code)
{
  static char text[12];
  return CodeToText(code, text, sizeof(text), hex2int);
}

const char* LongToAsc(uint32 code)
{
  static char text[12];
  return CodeToText(code, text, sizeof(text), HexToInt);
}

uint32 txt2int(const char* text)
{
  if (text == nullptr)
    return 0;
  size_t length = strlen(text);
  uint32 code = 0;
  for (size_t shift = 0; shift < 4 && shift < length; shift++) {
    // Sign-extend like a signed char, then shift as unsigned to keep the
    // arithmetic defined for bytes above 0x7F.
    int32 byte = static_cast<int8>(text[length - 1 - shift]);
    code += static_cast<uint32>(byte) << (8 * shift);
  }
  return code;
}
