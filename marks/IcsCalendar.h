// The entries of one iCalendar file as a year source of the registry: all
// of its days have the kind its file name gives (marks/IcsFolder.h).
// The text is read here, line by line (marks/IcsReader.h); libical reads
// the values that need it: recurrence rules and time zones, both the zones
// a file defines (VTIMEZONE) and the system's (TZID=Europe/Berlin).
//
//   IcsProblems problems;
//   std::unique_ptr<IcsCalendar> calendar = IcsCalendar::Parse(text, 'deDE', &problems);
//   if (calendar)
//     marks->ReplaceYearSource({path, std::move(calendar), {}});
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "marks/IcsEntry.h"
#include "marks/YearSource.h"

// What reading a file found wrong.
struct IcsProblems {
  std::string unreadable;     // why the file gives no calendar; empty when it does
  int32 badLines = 0;         // lines, rules and dates not understood
  int32 skippedEntries = 0;   // entries without a usable start, or not closed
  int32 unknownZones = 0;     // entries whose TZID names no known zone: taken as local time
  int32 movedRules = 0;       // rules inside entries that move one repetition (RECURRENCE-ID): ignored
  int32 fastZoneRules = 0;    // time-zone rules repeating more often than daily: ignored
  int32 badEnds = 0;          // END lines naming no open component, each taken as the end of the open one
  std::string firstBadEnd;    // the first of them, e.g. "line 12: END:VTOOD taken as the end of VTODO"

  bool Any() const
  {
    return !unreadable.empty() || badLines > 0 || skippedEntries > 0 || unknownZones > 0 || movedRules > 0
           || fastZoneRules > 0 || badEnds > 0;
  }
  // One line for the user, e.g. "2 lines not understood, 1 entry skipped".
  std::string Text() const;
};

class IcsCalendar : public YearSource {
public:
  // Reads an iCalendar text; null when it holds no calendar at all
  // (problems->unreadable says why). The name (the file's path) is what
  // its lines about problems met later call it.
  static std::unique_ptr<IcsCalendar> Parse(std::string_view text, uint32 kind, IcsProblems* problems,
                                            const std::string& name = "calendar");
  ~IcsCalendar() override;

  IcsCalendar(const IcsCalendar&) = delete;
  IcsCalendar& operator=(const IcsCalendar&) = delete;

  uint32 Kind() const override { return fKind; }
  int32 CountEntries() const override { return static_cast<int32>(fEntries.size()); }
  const std::string& Name() const override { return fName; }
  bool MarksOf(int32 year, std::vector<YearMark>* marks, const Deadline& giveUp) const override;
  std::unique_ptr<MarkDay> Record(const YearMark& mark) const override;

private:
  struct RawEntry;
  // What the entries tell about each other by their UIDs (see Parse).
  struct Links;

  IcsCalendar(uint32 kind, const std::string& name);
  // Walks the text's components; false when it holds no VCALENDAR.
  bool Walk(std::string_view text, bool zonesOnly, IcsProblems* problems, Links* links);
  void AddEntry(RawEntry* raw, IcsProblems* problems, Links* links);
  // Applies the moves and drops the older versions (see Parse).
  void Link(Links* links);
  // The zone a TZID names: the file's own, else the system's; null with
  // *unknown set when there is none.
  icaltimezone* Zone(const std::string& tzid, bool* unknown);
  // The system's zone a TZID names, looked up once; null when none.
  icaltimezone* SystemZone(const std::string& tzid);
  // Makes a zone of a VTIMEZONE block (marks/IcsZoneBlock.h).
  void AddZone(const std::string& text, IcsProblems* problems);

  uint32 fKind;
  std::string fName;
  std::vector<IcsEntry> fEntries;
  std::map<std::string, icaltimezone*> fOwnZones;     // from the file's VTIMEZONEs, owned
  std::map<std::string, icaltimezone*> fSystemZones;  // looked up once per TZID, not owned
  int32 fOnsetsLeft;                                   // of the file's zones' rules
};
