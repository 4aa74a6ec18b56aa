#include "marks/IcsCalendar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>

#include "calendar/CalDay.h"
#include "calendar/CivilDay.h"
#include "calendar/LocalOffsets.h"
#include "marks/IcsReader.h"
#include "marks/IcsTime.h"
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
  bool cancelled = false;
  std::string duration;
  std::string summary;
  std::string uid;
  std::vector<std::string> rules;
  std::vector<IcsValue> extraStarts;
  std::vector<IcsValue> exceptions;

  void Clear()
  {
    hasStart = hasEnd = hasRecurrenceId = cancelled = false;
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
  return text;
}

IcsCalendar::IcsCalendar(uint32 kind, const std::string& name) : fKind(kind), fName(name) {}

IcsCalendar::~IcsCalendar()
{
  // The entries point into the zones; they go first.
  fEntries.clear();
  for (auto& [name, zone] : fOwnZones)
    Ical().icaltimezone_free(zone, 1);
}

void IcsCalendar::AddZone(const std::string& text)
{
  icalcomponent* component = Ical().icalparser_parse_string(text.c_str());
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
  const char* tzid = Ical().icaltimezone_get_tzid(zone);
  if (tzid == nullptr || fOwnZones.count(tzid) > 0) {
    Ical().icaltimezone_free(zone, 1);
    return;
  }
  fOwnZones[tzid] = zone;
}

icaltimezone* IcsCalendar::Zone(const std::string& tzid, bool* unknown)
{
  if (tzid.empty())
    return nullptr;
  auto own = fOwnZones.find(tzid);
  if (own != fOwnZones.end())
    return own->second;
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
  if (known->second == nullptr)
    *unknown = true;
  return known->second;
}

// Walks the components. The first walk (zonesOnly) only makes the file's
// time zones, so that the second one can make every entry at its end
// whatever the order of the file.
bool IcsCalendar::Walk(std::string_view text, bool zonesOnly, IcsProblems* problems, Moves* moves)
{
  std::vector<std::string> open;  // the components open at this line
  bool sawCalendar = false;
  size_t entryDepth = 0;          // depth of an open VEVENT; 0 when none
  size_t zoneDepth = 0;           // depth of an open VTIMEZONE; 0 when none
  std::string zoneText;
  RawEntry entry;
  int32 badEnds = 0;

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
    if (open.empty() || open.back() != component) {
      badEnds++;
      continue;
    }
    if (zoneDepth > 0)
      (zoneText += line.raw) += "\r\n";
    if (open.size() == zoneDepth) {
      AddZone(zoneText);
      zoneDepth = 0;
    }
    if (open.size() == entryDepth) {
      AddEntry(&entry, problems, moves);
      entryDepth = 0;
    }
    open.pop_back();
  }
  if (!zonesOnly) {
    problems->badLines += reader.BadLines() + badEnds;
    if (entryDepth > 0)
      problems->skippedEntries++;
  }
  return sawCalendar;
}

void IcsCalendar::AddEntry(RawEntry* raw, IcsProblems* problems, Moves* moves)
{
  bool unknownZone = false;
  if (raw->hasRecurrenceId && !raw->uid.empty()) {
    icaltimetype was;
    if (ParseIcsTime(raw->recurrenceId.value, Zone(raw->recurrenceId.tzid, &unknownZone), &was))
      moves->moved.emplace_back(raw->uid, was);
    else
      problems->badLines++;
  }
  if (raw->cancelled)
    return;
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
      made.fSpanDays = SpanDays(IcsWallDay(until) - IcsWallDay(made.fStart));
    } else if (!raw->duration.empty()) {
      const icaldurationtype length = Ical().icaldurationtype_from_string(raw->duration.c_str());
      if (!Ical().icaldurationtype_is_bad_duration(length) && !length.is_neg)
        made.fSpanDays = SpanDays(int64(length.weeks) * 7 + length.days);
    }
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
  if (!raw->uid.empty() && !raw->hasRecurrenceId)
    moves->byUid.emplace_back(raw->uid, fEntries.size());
  fEntries.push_back(std::move(made));
}

std::unique_ptr<IcsCalendar> IcsCalendar::Parse(std::string_view text, uint32 kind, IcsProblems* problems,
                                                const std::string& name)
{
  *problems = IcsProblems();
  if (LoadLibical(&problems->unreadable) == nullptr)
    return nullptr;
  std::unique_ptr<IcsCalendar> calendar(new IcsCalendar(kind, name));
  Moves moves;
  if (Occurrences(text, "vtimezone") > 0)
    calendar->Walk(text, true, problems, &moves);
  // Each entry has a BEGIN and an END line.
  calendar->fEntries.reserve(Occurrences(text, "vevent") / 2);
  if (!calendar->Walk(text, false, problems, &moves)) {
    problems->unreadable = "no calendar in it (no BEGIN:VCALENDAR line)";
    return nullptr;
  }
  // Moved or cancelled starts of a repeating entry name it by its UID; the
  // first entry of a UID is the one they belong to.
  if (!moves.moved.empty()) {
    std::stable_sort(moves.byUid.begin(), moves.byUid.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [uid, was] : moves.moved) {
      auto master = std::lower_bound(moves.byUid.begin(), moves.byUid.end(), uid,
                                     [](const auto& entry, const std::string& key) { return entry.first < key; });
      if (master != moves.byUid.end() && master->first == uid)
        calendar->fEntries[master->second].AddException(was);
    }
  }
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
