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

} // namespace

void AppendHtmlEscaped(std::string* html, const std::string& text)
{
  for (char c : text) {
    if (const char* reference = Reference(c))
      html->append(reference);
    else
      html->push_back(c);
  }
}
