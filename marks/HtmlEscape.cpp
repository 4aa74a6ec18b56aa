#include "marks/HtmlEscape.h"

void AppendHtmlEscaped(std::string* html, const std::string& text)
{
  for (char c : text) {
    switch (c) {
    case '&':
      html->append("&amp;");
      break;
    case '<':
      html->append("&lt;");
      break;
    case '>':
      html->append("&gt;");
      break;
    case '"':
      html->append("&quot;");
      break;
    case '\'':
      html->append("&#39;");
      break;
    default:
      html->push_back(c);
    }
  }
}
