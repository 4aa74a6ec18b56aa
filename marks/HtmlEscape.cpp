#include "marks/HtmlEscape.h"

namespace {

const char* Reference(char c)
{
  static const struct {
    char c;
    const char* reference;
  } kReferences[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}};
  for (const auto& entry : kReferences) {
    if (entry.c == c)
      return entry.reference;
  }
  return nullptr;
}

// The longest entity name HTML knows has 31 characters.
constexpr size_t kMaxNameLength = 31;
constexpr unsigned long kLastCodePoint = 0x10FFFF;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// A number of a numeric reference names a character: 1 to U+10FFFF without
// the surrogates.
bool IsCharacter(unsigned long code)
{
  return code >= 1 && code <= kLastCodePoint && (code < 0xD800 || code > 0xDFFF);
}

// The length of the well-formed character reference at `at` ("&name;",
// "&#N;" or "&#xH;"), or 0 when the '&' there starts none.
size_t ReferenceLength(const std::string& text, size_t at)
{
  size_t i = at + 1;
  if (i < text.size() && text[i] == '#') {
    i++;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex)
      i++;
    const size_t digitsStart = i;
    unsigned long code = 0;
    while (i < text.size() && (hex ? IsAsciiHexDigit(text[i]) : IsAsciiDigit(text[i]))) {
      const char c = text[i];
      const unsigned long digit = IsAsciiDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
      code = code * (hex ? 16 : 10) + digit;
      if (code > kLastCodePoint)
        return 0;
      i++;
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';' || !IsCharacter(code))
      return 0;
    return i + 1 - at;
  }
  if (i >= text.size() || !IsAsciiLetter(text[i]))
    return 0;
  const size_t nameStart = i;
  while (i < text.size() && (IsAsciiLetter(text[i]) || IsAsciiDigit(text[i])) && i - nameStart < kMaxNameLength)
    i++;
  if (i >= text.size() || text[i] != ';')
    return 0;
  return i + 1 - at;
}

} // namespace

void AppendHtmlEscaped(std::string* html, const std::string& text)
{
  for (size_t at = 0; at < text.size(); at++) {
    const char c = text[at];
    const size_t kept = c == '&' ? ReferenceLength(text, at) : 0;
    if (kept > 0) {
      html->append(text, at, kept);
      at += kept - 1;
    } else if (const char* reference = Reference(c)) {
      html->append(reference);
    } else {
      html->push_back(c);
    }
  }
}
