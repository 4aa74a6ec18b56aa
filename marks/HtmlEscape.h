// Text from files other programs write goes into HTML pages only escaped.
#pragma once

#include <string>

// Appends the text with &, <, >, " and ' written as character references.
// Well-formed character references in the text ("&auml;", "&#160;",
// "&#xA0;") are kept as they are, so names written for HTML pages show
// their characters; any other '&' is escaped.
void AppendHtmlEscaped(std::string* html, const std::string& text);
