// A time-zone block (VTIMEZONE) of an iCalendar file, read here and written
// anew before libical gets it, so that working with the zone stays cheap
// and covers every date:
//
// - The onsets of each observance (STANDARD, DAYLIGHT) are worked out here,
//   from its DTSTART, RDATEs and rule, for the years 1890 to 2200, and
//   handed to libical as a list; libical, which expands a zone's rules
//   from their start up to every year asked for, never sees a rule.
// - An observance rule repeating more often than daily is ignored: libical
//   would expand it without end. At most 1000 onsets an observance, and a
//   file's zones at most 20000 together, are worked out.
// - Dates before the block's first onset take a zone of the same name (the
//   system's), or else the first observance's offset before it; libical
//   took them as UTC.
//
//   IcsZoneBlock block;
//   int32 onsetsLeft = IcsZoneBlock::kOnsetsPerFile;
//   if (block.Read(vtimezoneText, &onsetsLeft))
//     icalparser_parse_string(block.Text(nullptr).c_str());
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/support/SupportDefs.h"

class IcsZoneBlock {
public:
  static constexpr int32 kOnsetsPerFile = 20000;

  // Reads a VTIMEZONE block; false when it has no TZID or no observance
  // with a start and offsets. Rules take onsets from `onsetsLeft`.
  bool Read(std::string_view text, int32* onsetsLeft);
  const std::string& Tzid() const { return fTzid; }
  // Rules ignored for repeating more often than daily.
  int32 FastRules() const { return fFastRules; }
  // The block for libical: every onset listed, and before the first one
  // the onsets of `before` (a zone of the same name), or without it the
  // first observance's offset before it.
  std::string Text(const IcsZoneBlock* before) const;

private:
  struct Observance {
    std::string kind;           // STANDARD or DAYLIGHT
    std::string from, to;       // TZOFFSETFROM and TZOFFSETTO as written
    std::vector<int64> onsets;  // wall clocks before the change, as IcsWallSeconds, sorted
  };

  void ReadObservance(const std::vector<std::pair<std::string, std::string>>& lines, const std::string& kind,
                      int32* onsetsLeft);
  // The earliest onset; INT64_MAX without observances.
  int64 FirstOnset() const;

  std::string fTzid;
  std::vector<Observance> fObservances;
  int32 fFastRules = 0;
};
