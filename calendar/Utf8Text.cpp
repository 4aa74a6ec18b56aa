#include "calendar/Utf8Text.h"

namespace {

bool IsContinuation(char c)
{
  return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

} // namespace

size_t CharacterCount(const std::string& text)
{
  size_t count = 0;
  for (char c : text)
    count += IsContinuation(c) ? 0 : 1;
  return count;
}

std::string FirstCharacters(const std::string& text, size_t count)
{
  size_t end = 0;
  for (size_t seen = 0; end < text.size() && seen < count; seen++) {
    end++;
    while (end < text.size() && IsContinuation(text[end]))
      end++;
  }
  return text.substr(0, end);
}

std::string FirstBytes(const std::string& text, size_t bytes)
{
  if (text.size() <= bytes)
    return text;
  size_t end = bytes;
  while (end > 0 && IsContinuation(text[end]))
    end--;
  return text.substr(0, end);
}
