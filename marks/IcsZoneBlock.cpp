#include "marks/IcsZoneBlock.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

#include "calendar/CivilDay.h"
#include "marks/Deadline.h"
#include "marks/IcsReader.h"
#include "marks/IcsRule.h"
#include "marks/IcsTime.h"
#include "marks/Libical.h"

namespace {

// The years whose onsets are listed; the dates of a month grid lie well
// inside.
constexpr int32 kFirstYear = 1890;
constexpr int32 kLastYear = 2200;
constexpr size_t kOnsetsPerObservance = 1000;
// libical's search for the onsets of a rule not worked out by arithmetic.
constexpr std::chrono::milliseconds kRuleBudget(20);
// Values on one RDATE line.
constexpr size_t kDatesPerLine = 40;

// Seconds of an offset such as "+0100" or "-093000"; false for anything else.
bool ReadOffset(const std::string& text, int32* seconds)
{
  if ((text.size() != 5 && text.size() != 7) || (text[0] != '+' && text[0] != '-'))
    return false;
  int32 parts[3] = {0, 0, 0};
  for (size_t i = 1; i < text.size(); i++) {
    if (text[i] < '0' || text[i] > '9')
      return false;
    parts[(i - 1) / 2] = parts[(i - 1) / 2] * 10 + (text[i] - '0');
  }
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
    return false;
  *seconds = (text[0] == '-' ? -1 : 1) * (parts[0] * 3600 + parts[1] * 60 + parts[2]);
  return true;
}

// The rule with an UNTIL in UTC turned into the observance's own clock,
// the one its onsets are counted in.
std::string LocalUntil(const std::string& rule, int32 offsetFrom)
{
  const std::string upper = IcsReader::UpperCase(rule);
  const size_t at = upper.find("UNTIL=");
  if (at == std::string::npos)
    return rule;
  const size_t from = at + 6;
  const size_t end = std::min(rule.find(';', from), rule.size());
  icaltimetype until;
  if (end - from != 16 || upper[end - 1] != 'Z' || !ParseIcsTime(std::string_view(rule).substr(from, 15), nullptr, &until))
    return rule;
  const icaltimetype local = IcsAtWallSeconds(until, IcsWallSeconds(until) + offsetFrom);
  char text[20];
  snprintf(text, sizeof(text), "%04d%02d%02dT%02d%02d%02d", local.year, local.month, local.day, local.hour,
           local.minute, local.second);
  return rule.substr(0, from) + text + rule.substr(end);
}

std::string WallText(int64 seconds)
{
  const icaltimetype time = IcsAtWallSeconds(Ical().icaltime_null_time(), seconds);
  char text[20];
  snprintf(text, sizeof(text), "%04d%02d%02dT%02d%02d%02d", time.year, time.month, time.day, time.hour, time.minute,
           time.second);
  return text;
}

void AddObservance(std::string* text, const std::string& kind, const std::string& from, const std::string& to,
                   const std::vector<int64>& onsets)
{
  *text += "BEGIN:" + kind + "\r\nDTSTART:" + WallText(onsets.front()) + "\r\nTZOFFSETFROM:" + from
           + "\r\nTZOFFSETTO:" + to + "\r\n";
  for (size_t i = 1; i < onsets.size(); i += kDatesPerLine) {
    *text += "RDATE:";
    for (size_t j = i; j < onsets.size() && j < i + kDatesPerLine; j++)
      *text += (j == i ? "" : ",") + WallText(onsets[j]);
    *text += "\r\n";
  }
  *text += "END:" + kind + "\r\n";
}

} // namespace

bool IcsZoneBlock::Read(std::string_view text, int32* onsetsLeft)
{
  IcsReader reader(text);
  IcsLine line;
  std::string kind;  // of the observance being read
  std::vector<std::pair<std::string, std::string>> lines;
  size_t depth = 0;
  while (reader.Next(&line)) {
    if (line.name == "BEGIN") {
      depth++;
      if (depth == 2) {
        kind = IcsReader::UpperCase(line.value);
        lines.clear();
      }
    } else if (line.name == "END") {
      if (depth == 2 && (kind == "STANDARD" || kind == "DAYLIGHT"))
        ReadObservance(lines, kind, onsetsLeft);
      depth -= depth > 0 ? 1 : 0;
    } else if (depth == 1 && line.name == "TZID") {
      fTzid = line.value;
    } else if (depth == 2) {
      lines.emplace_back(line.name, line.value);
    }
  }
  return !fTzid.empty() && !fObservances.empty();
}

void IcsZoneBlock::ReadObservance(const std::vector<std::pair<std::string, std::string>>& lines,
                                  const std::string& kind, int32* onsetsLeft)
{
  Observance observance{kind, "", "", {}};
  icaltimetype start;
  bool hasStart = false;
  std::vector<std::string> rules;
  std::vector<std::string> dates;
  for (const auto& [name, value] : lines) {
    if (name == "DTSTART")
      hasStart = ParseIcsTime(value, nullptr, &start);
    else if (name == "TZOFFSETFROM")
      observance.from = value;
    else if (name == "TZOFFSETTO")
      observance.to = value;
    else if (name == "RRULE")
      rules.push_back(value);
    else if (name == "RDATE")
      dates.push_back(value);
  }
  int32 from, to;
  if (!hasStart || !ReadOffset(observance.from, &from) || !ReadOffset(observance.to, &to))
    return;
  start.is_date = 0;
  observance.onsets.push_back(IcsWallSeconds(start));
  for (const std::string& list : dates) {
    for (size_t at = 0; at <= list.size();) {
      const size_t comma = std::min(list.find(',', at), list.size());
      const std::string_view item = std::string_view(list).substr(at, comma - at);
      icaltimetype onset;
      if (ParseIcsTime(item.substr(0, item.find('/')), nullptr, &onset))
        observance.onsets.push_back(IcsWallSeconds(onset));
      at = comma + 1;
    }
  }
  for (const std::string& text : rules) {
    if (IcsRule::MoreOftenThanDaily(text)) {
      fFastRules++;
      continue;
    }
    IcsRule rule;
    if (!rule.Parse(LocalUntil(text, from), start))
      continue;
    // Year by year, so that a rule of many onsets costs no more than the
    // onsets kept.
    const Deadline giveUp(kRuleBudget);
    std::vector<icaltimetype> starts;
    size_t taken = 0;
    for (int32 year = std::max(kFirstYear, start.year); year <= kLastYear && !giveUp.Passed(); year++) {
      starts.clear();
      rule.StartsIn(start, DayNumber(year, 1, 1), DayNumber(year, 12, 31), &starts, giveUp);
      for (const icaltimetype& onset : starts) {
        if (taken >= kOnsetsPerObservance || *onsetsLeft <= 0)
          break;
        observance.onsets.push_back(IcsWallSeconds(onset));
        taken++;
        --*onsetsLeft;
      }
      if (taken >= kOnsetsPerObservance || *onsetsLeft <= 0)
        break;
    }
  }
  std::sort(observance.onsets.begin(), observance.onsets.end());
  observance.onsets.erase(std::unique(observance.onsets.begin(), observance.onsets.end()), observance.onsets.end());
  fObservances.push_back(std::move(observance));
}

int64 IcsZoneBlock::FirstOnset() const
{
  int64 first = INT64_MAX;
  for (const Observance& observance : fObservances)
    first = std::min(first, observance.onsets.front());
  return first;
}

std::string IcsZoneBlock::Text(const IcsZoneBlock* before) const
{
  const int64 covered = FirstOnset();
  std::vector<Observance> earlier;
  if (before != nullptr) {
    for (const Observance& observance : before->fObservances) {
      std::vector<int64> onsets;
      for (int64 onset : observance.onsets) {
        if (onset < covered)
          onsets.push_back(onset);
      }
      if (!onsets.empty())
        earlier.push_back({observance.kind, observance.from, observance.to, std::move(onsets)});
    }
  }
  // From the year 1 to the first onset, the offset in force before it.
  const std::vector<Observance>& firsts = earlier.empty() ? fObservances : earlier;
  const Observance* first = &firsts.front();
  for (const Observance& observance : firsts) {
    if (observance.onsets.front() < first->onsets.front())
      first = &observance;
  }
  std::string text = "BEGIN:VTIMEZONE\r\nTZID:" + fTzid + "\r\n";
  AddObservance(&text, "STANDARD", first->from, first->from, {DayNumber(1, 1, 1) * 86400});
  for (const Observance& observance : earlier)
    AddObservance(&text, observance.kind, observance.from, observance.to, observance.onsets);
  for (const Observance& observance : fObservances)
    AddObservance(&text, observance.kind, observance.from, observance.to, observance.onsets);
  return text + "END:VTIMEZONE\r\n";
}
