#include "marks/IcsCalendar.h"

#include <cctype>
#include <cstdio>

#include "calendar/CalDay.h"
#include "marks/IcsReader.h"
#include "marks/IcsTime.h"

namespace {

// Names are cut like the event scan cuts its texts.
constexpr size_t kMaxNameLength = 1023;
// An all-day entry covers at most a year.
constexpr int32 kMaxSpanDays = 366;
// Longest TZID handed to the system's zone lookup.
constexpr size_t kMaxZoneNameLength = 64;

// The properties of one VEVENT as written, before the file's time zones
// are all known.
struct RawEntry {
  IcsLine start;
  IcsLine end;
  IcsLine recurrenceId;
  bool hasStart = false;
  bool hasEnd = false;
  bool hasRecurrenceId = false;
  bool cancelled = false;
  std::string duration;
  std::string summary;
  std::string uid;
  std::vector<std::string> rules;
  std::vector<IcsLine> extraStarts;
  std::vector<IcsLine> exceptions;
};

void TakeProperty(const IcsLine& line, RawEntry* entry)
{
  if (line.name == "DTSTART") {
    entry->start = line;
    entry->hasStart = true;
  } else if (line.name == "DTEND") {
    entry->end = line;
    entry->hasEnd = true;
  } else if (line.name == "DURATION") {
    entry->duration = line.value;
  } else if (line.name == "SUMMARY") {
    entry->summary = IcsReader::UnescapeText(line.value);
  } else if (line.name == "UID") {
    entry->uid = line.value;
  } else if (line.name == "RECURRENCE-ID") {
    entry->recurrenceId = line;
    entry->hasRecurrenceId = true;
  } else if (line.name == "STATUS") {
    entry->cancelled = IcsReader::UpperCase(line.value) == "CANCELLED";
  } else if (line.name == "RRULE") {
    entry->rules.push_back(line.value);
  } else if (line.name == "RDATE") {
    entry->extraStarts.push_back(line);
  } else if (line.name == "EXDATE") {
    entry->exceptions.push_back(line);
  }
}

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

IcsCalendar::IcsCalendar(uint32 kind) : fKind(kind) {}

IcsCalendar::~IcsCalendar()
{
  // The entries point into the zones; they go first.
  fEntries.clear();
  for (auto& [name, zone] : fOwnZones)
    icaltimezone_free(zone, 1);
}

void IcsCalendar::AddZone(const std::string& text)
{
  icalcomponent* component = icalparser_parse_string(text.c_str());
  if (component == nullptr)
    return;
  if (icalcomponent_isa(component) != ICAL_VTIMEZONE_COMPONENT) {
    icalcomponent_free(component);
    return;
  }
  icaltimezone* zone = icaltimezone_new();
  // The zone takes the component when it accepts it.
  if (zone == nullptr || !icaltimezone_set_component(zone, component)) {
    icalcomponent_free(component);
    if (zone != nullptr)
      icaltimezone_free(zone, 1);
    return;
  }
  const char* tzid = icaltimezone_get_tzid(zone);
  if (tzid == nullptr || fOwnZones.count(tzid) > 0) {
    icaltimezone_free(zone, 1);
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
        zone = icaltimezone_get_builtin_timezone(name.c_str());
    }
    known = fSystemZones.emplace(tzid, zone).first;
  }
  if (known->second == nullptr)
    *unknown = true;
  return known->second;
}

std::unique_ptr<IcsCalendar> IcsCalendar::Parse(std::string_view text, uint32 kind, IcsProblems* problems)
{
  *problems = IcsProblems();
  std::unique_ptr<IcsCalendar> calendar(new IcsCalendar(kind));
  std::vector<RawEntry> raws;
  std::vector<std::string> open;   // the components open at this line
  bool sawCalendar = false;
  size_t entryDepth = 0;           // depth of an open VEVENT; 0 when none
  RawEntry entry;
  std::string zoneText;
  size_t zoneDepth = 0;            // depth of an open VTIMEZONE; 0 when none

  IcsReader reader(text);
  IcsLine line;
  while (reader.Next(&line)) {
    const bool begin = line.name == "BEGIN";
    const bool end = line.name == "END";
    const std::string component = begin || end ? IcsReader::UpperCase(line.value) : std::string();
    if (zoneDepth > 0)
      (zoneText += line.raw) += "\r\n";
    if (begin) {
      const bool inCalendar = !open.empty() && open.back() == "VCALENDAR";
      open.push_back(component);
      if (component == "VCALENDAR") {
        sawCalendar = true;
      } else if (component == "VEVENT" && inCalendar) {
        entry = RawEntry();
        entryDepth = open.size();
      } else if (component == "VTIMEZONE" && inCalendar && zoneDepth == 0) {
        zoneDepth = open.size();
        zoneText = line.raw + "\r\n";
      }
    } else if (end) {
      if (open.empty() || open.back() != component) {
        problems->badLines++;
        continue;
      }
      if (open.size() == zoneDepth) {
        calendar->AddZone(zoneText);
        zoneDepth = 0;
      }
      if (open.size() == entryDepth) {
        raws.push_back(std::move(entry));
        entryDepth = 0;
      }
      open.pop_back();
    } else if (entryDepth > 0 && open.size() == entryDepth) {
      // Properties of the entry itself, not of its alarms.
      TakeProperty(line, &entry);
    }
  }
  problems->badLines += reader.BadLines();
  if (!sawCalendar) {
    problems->unreadable = "no calendar in it (no BEGIN:VCALENDAR line)";
    return nullptr;
  }
  if (entryDepth > 0)
    problems->skippedEntries++;

  calendar->fEntries.reserve(raws.size());
  // Moved or cancelled starts of a repeating entry name it by its UID.
  std::map<std::string, size_t> byUid;
  std::vector<std::pair<std::string, icaltimetype>> moved;
  for (RawEntry& raw : raws) {
    bool unknownZone = false;
    if (raw.hasRecurrenceId && !raw.uid.empty()) {
      icaltimetype was;
      if (ParseIcsTime(raw.recurrenceId.value, calendar->Zone(raw.recurrenceId.tzid, &unknownZone), &was))
        moved.emplace_back(raw.uid, was);
      else
        problems->badLines++;
    }
    if (raw.cancelled)
      continue;
    IcsEntry made;
    if (!raw.hasStart
        || !ParseIcsTime(raw.start.value, calendar->Zone(raw.start.tzid, &unknownZone), &made.fStart)) {
      problems->skippedEntries++;
      continue;
    }
    made.fSummary = std::move(raw.summary);
    CutText(&made.fSummary, kMaxNameLength);
    if (made.fStart.is_date) {
      icaltimetype until;
      if (raw.hasEnd && ParseIcsTime(raw.end.value, nullptr, &until)) {
        made.fSpanDays = SpanDays(IcsWallDay(until) - IcsWallDay(made.fStart));
      } else if (!raw.duration.empty()) {
        const icaldurationtype length = icaldurationtype_from_string(raw.duration.c_str());
        if (!icaldurationtype_is_bad_duration(length) && !length.is_neg)
          made.fSpanDays = SpanDays(int64(length.weeks) * 7 + length.days);
      }
    }
    for (const std::string& text : raw.rules) {
      IcsRule rule;
      if (rule.Parse(text, made.fStart))
        made.fRules.push_back(std::move(rule));
      else
        problems->badLines++;
    }
    // Lists of dates or periods; a period counts by its start.
    auto readTimes = [&](const std::vector<IcsLine>& lines, std::vector<icaltimetype>* times) {
      for (const IcsLine& list : lines) {
        icaltimezone* zone = calendar->Zone(list.tzid, &unknownZone);
        size_t at = 0;
        while (at <= list.value.size()) {
          size_t comma = list.value.find(',', at);
          if (comma == std::string::npos)
            comma = list.value.size();
          std::string_view item = std::string_view(list.value).substr(at, comma - at);
          item = item.substr(0, item.find('/'));
          icaltimetype time;
          if (ParseIcsTime(item, zone, &time))
            times->push_back(time);
          else
            problems->badLines++;
          at = comma + 1;
        }
      }
    };
    readTimes(raw.extraStarts, &made.fExtraStarts);
    readTimes(raw.exceptions, &made.fExceptions);
    if (unknownZone)
      problems->unknownZones++;
    if (!raw.uid.empty() && !raw.hasRecurrenceId)
      byUid.emplace(raw.uid, calendar->fEntries.size());
    calendar->fEntries.push_back(std::move(made));
  }
  for (const auto& [uid, was] : moved) {
    auto master = byUid.find(uid);
    if (master != byUid.end())
      calendar->fEntries[master->second].fExceptions.push_back(was);
  }
  for (IcsEntry& made : calendar->fEntries)
    made.Prepare();
  return calendar;
}

std::string IcsCalendar::NameOn(const IcsEntry& entry, const IcsDay& day) const
{
  if (fKind != 'evnt')
    return entry.fSummary.empty() ? "--no-name--" : entry.fSummary;
  // The event scan's form: a blank, the local start time and the summary.
  std::string name = " ";
  if (day.minutes >= 0) {
    char time[16];
    snprintf(time, sizeof(time), "%02d:%02d ", day.minutes / 60, day.minutes % 60);
    name += time;
  }
  name += entry.fSummary.empty() ? " - no info -" : entry.fSummary;
  CutText(&name, kMaxNameLength);
  return name;
}

void IcsCalendar::AddDaysOf(int32 year, std::vector<std::unique_ptr<MarkDay>>* days) const
{
  std::vector<IcsDay> found;
  for (const IcsEntry& entry : fEntries) {
    entry.DaysIn(year, &found);
    for (const IcsDay& day : found) {
      kx_calday date = {day.code / 10000, uint8(day.code / 100 % 100), uint8(day.code % 100), 0};
      auto record = std::make_unique<MarkDay>(NameOn(entry, day).c_str(), &date);
      record->fKind = fKind;
      days->push_back(std::move(record));
    }
  }
}
