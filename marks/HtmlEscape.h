// Text from files other programs write goes into HTML pages only escaped.
#pragma once

#include <string>

// Appends the text with &, <, >, " and ' written as character references.
void AppendHtmlEscaped(std::string* html, const std::string& text);
