// The content lines of an iCalendar text (RFC 5545, section 3.1): long
// lines folded onto continuation lines that start with a blank are joined,
// and each line is split into its name, the parameters this program uses
// and its value.
//
//   IcsReader reader(text);
//   IcsLine line;
//   while (reader.Next(&line))
//     if (line.name == "DTSTART") ...   // line.tzid "Europe/Berlin", line.value "20240310T090000"
//
// Blank lines are skipped; a line that is no content line (no name, no
// colon, a parameter without "=" or with an open quote) is counted and
// skipped. The reader never reads past the text.
#pragma once

#include <string>
#include <string_view>

#include "platform/support/SupportDefs.h"

struct IcsLine {
  std::string name;       // upper case, e.g. "DTSTART"
  std::string tzid;       // the TZID parameter, without quotes; empty when absent
  std::string valueType;  // the VALUE parameter in upper case ("DATE", "PERIOD"); empty when absent
  std::string range;      // the RANGE parameter in upper case ("THISANDFUTURE"); empty when absent
  std::string value;      // as written, escapes kept
  std::string raw;        // the unfolded line, for handing whole components to libical
};

class IcsReader {
public:
  explicit IcsReader(std::string_view text);

  // The next content line; false after the last one.
  bool Next(IcsLine* line);
  // Lines skipped because they were no content lines.
  int32 BadLines() const { return fBadLines; }
  // The number (from 1) of the physical line where the last content line
  // given starts.
  int32 LineNumber() const { return fLineNumber; }

  // A TEXT value with its escapes resolved: "\\n" and "\\N" give a line
  // break, "\\\\", "\\;" and "\\," the character; any other backslash stays.
  static std::string UnescapeText(std::string_view value);
  // The text in upper case (ASCII letters only), for names and keywords.
  static std::string UpperCase(std::string_view text);

private:
  // Joins the next physical line and its continuation lines; false at the end.
  bool NextUnfolded(std::string* line);
  static bool Split(const std::string& line, IcsLine* parsed);

  std::string_view fText;
  size_t fAt = 0;
  int32 fBadLines = 0;
  int32 fLinesRead = 0;   // physical lines
  int32 fLineNumber = 0;
};
