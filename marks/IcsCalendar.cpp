#include "marks/IcsCalendar.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"
#include "calendar/LocalOffsets.h"
#include "marks/IcsReader.h"
#include "marks/IcsTime.h"
#include "marks/IcsZoneBlock.h"
#include "marks/Libical.h"

namespace {

// Names are cut like the event scan cuts its texts.
constexpr size_t kMaxNameLength = 1023;
// An all-day entry covers at most a year.
constexpr int32 kMaxSpanDays = 366;
// Longest TZID handed to the system's zone lookup.
constexpr size_t kMaxZoneNameLength = 64;

// A value with the zone it is given in.
struct IcsValue {
  std::string tzid;
  std::string value;

  void Take(const IcsLine& line)
  {
    tzid = line.tzid;
    value = line.value;
  }
};

} // namespace

// The properties of one VEVENT as written; one is reused for every entry.
struct IcsCalendar::RawEntry {
  IcsValue start;
  IcsValue end;
  IcsValue recurrenceId;
  bool hasStart = false;
  bool hasEnd = false;
  bool hasRecurrenceId = false;
  bool thisAndFuture = false;  // RECURRENCE-ID;RANGE=THISANDFUTURE
  bool cancelled = false;
  int32 sequence = 0;
  std::string stamp;           // DTSTAMP
  std::string duration;
  std::string summary;
  std::string uid;
  std::vector<std::string> rules;
  std::vector<IcsValue> extraStarts;
  std::vector<IcsValue> exceptions;

  void Clear()
  {
    hasStart = hasEnd = hasRecurrenceId = thisAndFuture = cancelled = false;
    sequence = 0;
    stamp.clear();
    duration.clear();
    summary.clear();
    uid.clear();
    rules.clear();
    extraStarts.clear();
    exceptions.clear();
  }

  void Take(const IcsLine& line)
  {
    if (line.name == "DTSTART") {
      start.Take(line);
      hasStart = true;
    } else if (line.name == "DTEND") {
      end.Take(line);
      hasEnd = true;
    } else if (line.name == "DURATION") {
      duration = line.value;
    } else if (line.name == "SUMMARY") {
      summary = IcsReader::UnescapeText(line.value);
    } else if (line.name == "UID") {
      uid = line.value;
    } else if (line.name == "RECURRENCE-ID") {
      recurrenceId.Take(line);
      hasRecurrenceId = true;
      thisAndFuture = line.range == "THISANDFUTURE";
    } else if (line.name == "SEQUENCE") {
      sequence = int32(strtol(line.value.c_str(), nullptr, 10));
    } else if (line.name == "DTSTAMP") {
      stamp = line.value;
    } else if (line.name == "STATUS") {
      cancelled = IcsReader::UpperCase(line.value) == "CANCELLED";
    } else if (line.name == "RRULE") {
      rules.push_back(line.value);
    } else if (line.name == "RDATE") {
      extraStarts.emplace_back();
      extraStarts.back().Take(line);
    } else if (line.name == "EXDATE") {
      exceptions.emplace_back();
      exceptions.back().Take(line);
    }
  }
};

// Entries of one UID: the newest version of each (the one with the highest
// SEQUENCE, then the latest DTSTAMP, then the last in the file), the
// repeating entry, and the entries with a RECURRENCE-ID that move or cancel
// one of its starts or, with RANGE=THISANDFUTURE, all its starts from one on.
struct IcsCalendar::Links {
  struct Version {
    int32 sequence;
    int64 stamp;
    int32 serial;  // which entry of the file it is
    int32 entry;   // its index in fEntries; -1 when it made none
  };
  struct Part {
    std::string uid;
    icaltimetype from;   // the first start moved (RECURRENCE-ID)
    icaltimetype start;  // where it moves to (DTSTART)
    int32 entry;         // the entry that takes the part; -1 when cancelled
    std::string key;     // its version's
    int32 serial;
  };
  std::map<std::string, Version> versions;  // by UID, and RECURRENCE-ID for a moved start
  std::vector<std::pair<std::string, icaltimetype>> moved;  // single starts moved or cancelled
  std::vector<Part> parts;
  std::vector<std::pair<std::string, int32>> repeating;  // UID and entry of each entry without RECURRENCE-ID
  std::vector<bool> dropped;                              // by entry: an older version
  int32 serials = 0;
};

namespace {

// Cuts a text to at most `length` bytes without splitting a UTF-8 character.
void CutText(std::string* text, size_t length)
{
  if (text->size() <= length)
    return;
  size_t cut = length;
  while (cut > 0 && (static_cast<unsigned char>((*text)[cut]) & 0xC0) == 0x80)
    cut--;
  text->resize(cut);
}

// A TZID that may be looked up among the system's zones: a zone name such
// as "America/Argentina/Buenos_Aires", never a way out of the zone folder.
bool IsZoneName(const std::string& name)
{
  if (name.empty() || name.size() > kMaxZoneNameLength || name[0] == '/' || name.find("..") != std::string::npos)
    return false;
  for (char c : name) {
    if (!(isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '-' || c == '+'))
      return false;
  }
  return true;
}

// How often a name stands in the text, in any case: a quick look that
// tells whether the file defines time zones and how many entries to make
// room for.
size_t Occurrences(std::string_view text, const char* lowerName)
{
  const size_t length = strlen(lowerName);
  size_t found = 0;
  for (size_t at = 0; at + length <= text.size(); at++) {
    // Setting bit 5 makes ASCII capitals small and keeps letters apart
    // from everything else.
    size_t i = 0;
    while (i < length && (text[at + i] | 0x20) == lowerName[i])
      i++;
    found += i == length ? 1 : 0;
  }
  return found;
}

// Days from one date to another, at least 1 and at most a year.
int32 SpanDays(int64 days)
{
  return days < 1 ? 1 : days > kMaxSpanDays ? kMaxSpanDays : int32(days);
}

} // namespace

std::string IcsProblems::Text() const
{
  if (!unreadable.empty())
    return unreadable;
  std::string text;
  auto add = [&text](int32 count, const char* one, const char* many) {
    if (count == 0)
      return;
    if (!text.empty())
      text += ", ";
    text += std::to_string(count) + " " + (count == 1 ? one : many);
  };
  add(badLines, "line not understood", "lines not understood");
  add(skippedEntries, "entry skipped", "entries skipped");
  add(unknownZones, "entry in an unknown time zone taken as local time",
      "entries in unknown time zones taken as local time");
  add(fastZoneRules, "time-zone rule repeating more often than daily ignored",
      "time-zone rules repeating more often than daily ignored");
  add(movedRules, "repetition rule inside a moved repetition ignored",
      "repetition rules inside moved repetitions ignored");
  if (badEnds > 0) {
    text += (text.empty() ? "" : ", ") + firstBadEnd;
    if (badEnds > 1)
      text += " (and " + std::to_string(badEnds - 1) + " more such " + (badEnds == 2 ? "line" : "lines") + ")";
  }
  return text;
}

IcsCalendar::IcsCalendar(uint32 kind, const std::string& name)
    : fKind(kind), fName(name), fOnsetsLeft(IcsZoneBlock::kOnsetsPerFile)
{
}

IcsCalendar::~IcsCalendar()
{
  // The entries point into the zones; they go first.
  fEntries.clear();
  for (auto& [name, zone] : fOwnZones)
    Ical().icaltimezone_free(zone, 1);
}

void IcsCalendar::AddZone(const std::string& text, IcsProblems* problems)
{
  IcsZoneBlock block;
  if (!block.Read(text, &fOnsetsLeft) || fOwnZones.count(block.Tzid()) > 0)
    return;
  problems->fastZoneRules += block.FastRules();
  // Dates before the block's first onset take the system's zone of the
  // same name when there is one.
  std::optional<IcsZoneBlock> namesake;
  if (icaltimezone* system = SystemZone(block.Tzid())) {
    icalcomponent* component = Ical().icaltimezone_get_component(system);
    if (char* systemText = component != nullptr ? Ical().icalcomponent_as_ical_string_r(component) : nullptr) {
      int32 unlimited = IcsZoneBlock::kOnsetsPerFile;
      namesake.emplace();
      if (!namesake->Read(systemText, &unlimited))
        namesake.reset();
      Ical().icalmemory_free_buffer(systemText);
    }
  }
  icalcomponent* component = Ical().icalparser_parse_string(block.Text(namesake ? &*namesake : nullptr).c_str());
  if (component == nullptr)
    return;
  if (Ical().icalcomponent_isa(component) != ICAL_VTIMEZONE_COMPONENT) {
    Ical().icalcomponent_free(component);
    return;
  }
  icaltimezone* zone = Ical().icaltimezone_new();
  // The zone takes the component when it accepts it.
  if (zone == nullptr || !Ical().icaltimezone_set_component(zone, component)) {
    Ical().icalcomponent_free(component);
    if (zone != nullptr)
      Ical().icaltimezone_free(zone, 1);
    return;
  }
  fOwnZones[block.Tzid()] = zone;
}

icaltimezone* IcsCalendar::SystemZone(const std::string& tzid)
{
  auto known = fSystemZones.find(tzid);
  if (known == fSystemZones.end()) {
    // Some programs put a path before the zone name
    // ("/example.org/2005_1/Europe/Berlin"): try it without its leading parts.
    icaltimezone* zone = nullptr;
    for (size_t at = 0; zone == nullptr && at != std::string::npos; at = tzid.find('/', at + 1)) {
      const std::string name = tzid.substr(at == 0 ? 0 : at + 1);
      if (IsZoneName(name))
        zone = Ical().icaltimezone_get_builtin_timezone(name.c_str());
    }
    known = fSystemZones.emplace(tzid, zone).first;
  }
  return known->second;
}

icaltimezone* IcsCalendar::Zone(const std::string& tzid, bool* unknown)
{
  if (tzid.empty())
    return nullptr;
  auto own = fOwnZones.find(tzid);
  if (own != fOwnZones.end())
    return own->second;
  icaltimezone* zone = SystemZone(tzid);
  if (zone == nullptr)
    *unknown = true;
  return zone;
}

// Walks the components. The first walk (zonesOnly) only makes the file's
// time zones, so that the second one can make every entry at its end
// whatever the order of the file.
bool IcsCalendar::Walk(std::string_view text, bool zonesOnly, IcsProblems* problems, Links* links)
{
  std::vector<std::string> open;  // the components open at this line
  bool sawCalendar = false;
  size_t entryDepth = 0;          // depth of an open VEVENT; 0 when none
  size_t zoneDepth = 0;           // depth of an open VTIMEZONE; 0 when none
  std::string zoneText;
  RawEntry entry;

  // Closes the innermost component: `whole` when an END line closes it,
  // not the END of a component around it.
  auto close = [&](bool whole) {
    if (zoneDepth > 0)
      zoneText += "END:" + open.back() + "\r\n";
    if (open.size() == zoneDepth) {
      if (whole)
        AddZone(zoneText, problems);
      zoneDepth = 0;
    }
    if (open.size() == entryDepth) {
      if (whole)
        AddEntry(&entry, problems, links);
      else if (!zonesOnly)
        problems->skippedEntries++;
      entryDepth = 0;
    }
    open.pop_back();
  };

  IcsReader reader(text);
  IcsLine line;
  while (reader.Next(&line)) {
    const bool begin = line.name == "BEGIN";
    const bool end = line.name == "END";
    if (!begin && !end) {
      if (zoneDepth > 0)
        (zoneText += line.raw) += "\r\n";
      else if (entryDepth > 0 && open.size() == entryDepth)
        entry.Take(line);  // the entry's own properties, not its alarms'
      continue;
    }
    const std::string component = IcsReader::UpperCase(line.value);
    if (begin) {
      const bool inCalendar = !open.empty() && open.back() == "VCALENDAR";
      open.push_back(component);
      if (zoneDepth > 0) {
        (zoneText += line.raw) += "\r\n";
      } else if (component == "VCALENDAR") {
        sawCalendar = true;
      } else if (component == "VEVENT" && inCalendar && !zonesOnly) {
        entry.Clear();
        entryDepth = open.size();
      } else if (component == "VTIMEZONE" && inCalendar && zonesOnly) {
        zoneDepth = open.size();
        zoneText = line.raw + "\r\n";
      }
      continue;
    }
    const bool named = std::find(open.begin(), open.end(), component) != open.end();
    if (!named && (open.size() < 2 || open.back() == "VCALENDAR")) {
      // An END of nothing open; the calendar itself ends only by its own.
      problems->badLines += zonesOnly ? 0 : 1;
      continue;
    }
    if (!named) {
      // A misspelt END ("END:VTOOD") ends the open component; before, the
      // component stayed open and swallowed every later entry.
      if (!zonesOnly && problems->badEnds++ == 0)
        problems->firstBadEnd = "line " + std::to_string(reader.LineNumber()) + ": " + line.raw
                                + " taken as the end of " + open.back();
      close(true);
      continue;
    }
    // Components still open inside the one that ends are not whole.
    while (open.back() != component)
      close(false);
    close(true);
  }
  if (!zonesOnly) {
    problems->badLines += reader.BadLines();
    if (entryDepth > 0)
      problems->skippedEntries++;
  }
  return sawCalendar;
}

namespace {

// Seconds of a DTSTAMP for comparing versions; the lowest for none.
int64 StampSeconds(const std::string& stamp)
{
  icaltimetype time;
  return ParseIcsTime(stamp, nullptr, &time) ? IcsWallSeconds(time) : INT64_MIN;
}

// How far a moved start moves the starts after it.
int64 ShiftSeconds(const icaltimetype& from, const icaltimetype& to)
{
  if (from.is_date || to.is_date)
    return (IcsWallDay(to) - IcsWallDay(from)) * 86400;
  if (IcsHasZone(from) && IcsHasZone(to))
    return int64(IcsInstant(to)) - int64(IcsInstant(from));
  return IcsWallSeconds(to) - IcsWallSeconds(from);
}

} // namespace

void IcsCalendar::AddEntry(RawEntry* raw, IcsProblems* problems, Links* links)
{
  const int32 serial = links->serials++;
  // A newer version of an entry replaces the older ones; an older one
  // counts for nothing.
  std::string key;
  Links::Version* version = nullptr;
  if (!raw->uid.empty()) {
    key = raw->uid;
    if (raw->hasRecurrenceId)
      key += "\n" + raw->recurrenceId.tzid + ":" + raw->recurrenceId.value;
    const Links::Version mine{raw->sequence, StampSeconds(raw->stamp), serial, -1};
    auto [known, fresh] = links->versions.try_emplace(key, mine);
    if (!fresh) {
      if (std::make_pair(mine.sequence, mine.stamp) < std::make_pair(known->second.sequence, known->second.stamp))
        return;
      if (known->second.entry >= 0)
        links->dropped[size_t(known->second.entry)] = true;
      known->second = mine;
    }
    version = &known->second;
  }

  bool unknownZone = false;
  std::optional<icaltimetype> was;  // the start it moves
  if (raw->hasRecurrenceId && !raw->uid.empty()) {
    icaltimetype time;
    if (ParseIcsTime(raw->recurrenceId.value, Zone(raw->recurrenceId.tzid, &unknownZone), &time))
      was = time;
    else
      problems->badLines++;
  }
  if (was && !raw->thisAndFuture)
    links->moved.emplace_back(raw->uid, *was);
  if (raw->cancelled) {
    if (was && raw->thisAndFuture)
      links->parts.push_back({raw->uid, *was, *was, -1, key, serial});
    return;
  }
  IcsEntry made;
  if (!raw->hasStart || !ParseIcsTime(raw->start.value, Zone(raw->start.tzid, &unknownZone), &made.fStart)) {
    problems->skippedEntries++;
    return;
  }
  made.fSummary = std::move(raw->summary);
  CutText(&made.fSummary, kMaxNameLength);
  if (made.fStart.is_date) {
    icaltimetype until;
    if (raw->hasEnd && ParseIcsTime(raw->end.value, nullptr, &until)) {
      // An end with a time after midnight still lies on its day.
      const bool intoItsDay = !until.is_date && (until.hour > 0 || until.minute > 0 || until.second > 0);
      made.fSpanDays = SpanDays(IcsWallDay(until) - IcsWallDay(made.fStart) + (intoItsDay ? 1 : 0));
    } else if (!raw->duration.empty()) {
      const icaldurationtype length = Ical().icaldurationtype_from_string(raw->duration.c_str());
      const bool intoADay = length.hours > 0 || length.minutes > 0 || length.seconds > 0;
      if (!Ical().icaldurationtype_is_bad_duration(length) && !length.is_neg)
        made.fSpanDays = SpanDays(int64(length.weeks) * 7 + length.days + (intoADay ? 1 : 0));
    }
  }
  if (raw->hasRecurrenceId) {
    // It stands for one start of another entry (or, with THISANDFUTURE,
    // that entry's starts from there on): a rule of its own would repeat
    // the moved day for ever.
    problems->movedRules += int32(raw->rules.size());
    raw->rules.clear();
  }
  for (const std::string& text : raw->rules) {
    IcsRule rule;
    if (rule.Parse(text, made.fStart))
      made.AddRule(std::move(rule));
    else
      problems->badLines++;
  }
  // Lists of dates or periods; a period counts by its start.
  auto readTimes = [&](const std::vector<IcsValue>& lists, void (IcsEntry::*add)(const icaltimetype&)) {
    for (const IcsValue& list : lists) {
      icaltimezone* zone = Zone(list.tzid, &unknownZone);
      size_t at = 0;
      while (at <= list.value.size()) {
        size_t comma = list.value.find(',', at);
        if (comma == std::string::npos)
          comma = list.value.size();
        std::string_view item = std::string_view(list.value).substr(at, comma - at);
        item = item.substr(0, item.find('/'));
        icaltimetype time;
        if (ParseIcsTime(item, zone, &time))
          (made.*add)(time);
        else
          problems->badLines++;
        at = comma + 1;
      }
    }
  };
  readTimes(raw->extraStarts, &IcsEntry::AddExtraStart);
  readTimes(raw->exceptions, &IcsEntry::AddException);
  if (unknownZone)
    problems->unknownZones++;
  const int32 index = int32(fEntries.size());
  if (version != nullptr)
    version->entry = index;
  if (was && raw->thisAndFuture)
    links->parts.push_back({raw->uid, *was, made.fStart, index, key, serial});
  if (!raw->uid.empty() && !raw->hasRecurrenceId)
    links->repeating.emplace_back(raw->uid, index);
  fEntries.push_back(std::move(made));
  links->dropped.push_back(false);
}

void IcsCalendar::Link(Links* links)
{
  // The repeating entry of each UID; the versions leave one at most.
  std::map<std::string, int32> byUid;
  for (const auto& [uid, index] : links->repeating) {
    if (!links->dropped[size_t(index)])
      byUid[uid] = index;
  }
  for (const auto& [uid, was] : links->moved) {
    auto series = byUid.find(uid);
    if (series != byUid.end())
      fEntries[size_t(series->second)].AddException(was);
  }
  // The parts moved from a start on, in order: each ends where the next
  // begins, and the series ends where the first begins.
  std::stable_sort(links->parts.begin(), links->parts.end(), [](const Links::Part& a, const Links::Part& b) {
    return a.uid != b.uid ? a.uid < b.uid : IcsCompare(a.from, b.from) < 0;
  });
  std::vector<const Links::Part*> current;
  for (const Links::Part& part : links->parts) {
    if (links->versions[part.key].serial == part.serial && byUid.count(part.uid) > 0)
      current.push_back(&part);
  }
  for (size_t i = 0; i < current.size(); i++) {
    const Links::Part& part = *current[i];
    IcsEntry& series = fEntries[size_t(byUid[part.uid])];
    if (part.entry >= 0) {
      const bool last = i + 1 == current.size() || current[i + 1]->uid != part.uid;
      fEntries[size_t(part.entry)].Follow(series, part.from,
                                          last ? Ical().icaltime_null_time() : current[i + 1]->from,
                                          ShiftSeconds(part.from, part.start));
    }
    series.EndBefore(part.from);
  }
  // Older versions go last: the indexes above count them.
  size_t kept = 0;
  for (size_t i = 0; i < fEntries.size(); i++) {
    if (links->dropped[i])
      continue;
    if (kept != i)
      fEntries[kept] = std::move(fEntries[i]);
    kept++;
  }
  fEntries.resize(kept);
}

std::unique_ptr<IcsCalendar> IcsCalendar::Parse(std::string_view text, uint32 kind, IcsProblems* problems,
                                                const std::string& name)
{
  *problems = IcsProblems();
  if (LoadLibical(&problems->unreadable) == nullptr)
    return nullptr;
  std::unique_ptr<IcsCalendar> calendar(new IcsCalendar(kind, name));
  Links links;
  if (Occurrences(text, "vtimezone") > 0)
    calendar->Walk(text, true, problems, &links);
  // Each entry has a BEGIN and an END line.
  calendar->fEntries.reserve(Occurrences(text, "vevent") / 2);
  if (!calendar->Walk(text, false, problems, &links)) {
    problems->unreadable = "no calendar in it (no BEGIN:VCALENDAR line)";
    return nullptr;
  }
  calendar->Link(&links);
  for (IcsEntry& made : calendar->fEntries)
    made.Prepare();
  return calendar;
}

bool IcsCalendar::MarksOf(int32 year, std::vector<YearMark>* marks, const Deadline& giveUp) const
{
  // The local days of starts in a zone, which may lie up to two days
  // outside the year.
  std::optional<LocalOffsets> local;
  if (std::any_of(fEntries.begin(), fEntries.end(), [](const IcsEntry& entry) { return IcsHasZone(entry.fStart); }))
    local.emplace(DayNumber(year, 1, 1) - 3, DayNumber(year, 12, 31) + 3);
  std::vector<IcsDay> found;
  std::vector<icaltimetype> starts;
  bool complete = true;
  for (size_t index = 0; index < fEntries.size(); index++) {
    complete = fEntries[index].DaysIn(year, &found, &starts, giveUp, local ? &*local : nullptr) && complete;
    for (const IcsDay& day : found)
      marks->push_back({day.code, int32(index), day.minutes});
  }
  return complete;
}

std::unique_ptr<MarkDay> IcsCalendar::Record(const YearMark& mark) const
{
  if (mark.entry < 0 || size_t(mark.entry) >= fEntries.size())
    return nullptr;
  const std::string& summary = fEntries[size_t(mark.entry)].fSummary;
  std::string name;
  if (fKind != 'evnt') {
    name = summary.empty() ? "--no-name--" : summary;
  } else {
    // The event scan's form: a blank, the local start time and the summary.
    name = " ";
    if (mark.minutes >= 0) {
      char time[16];
      snprintf(time, sizeof(time), "%02d:%02d ", mark.minutes / 60, mark.minutes % 60);
      name += time;
    }
    name += summary.empty() ? " - no info -" : summary;
    CutText(&name, kMaxNameLength);
  }
  kx_calday date = {mark.code / 10000, uint8(mark.code / 100 % 100), uint8(mark.code % 100), 0};
  auto record = std::make_unique<MarkDay>(name.c_str(), &date);
  record->fKind = fKind;
  return record;
}
