#include "sync/SourcesFile.h"

#include "platform/storage/FindDirectory.h"
#include "sync/FileText.h"
#include "sync/KeyValueText.h"

#include <cstdlib>

namespace {

// A list of sources a person keeps is far smaller.
constexpr long long kMaxFileSize = 1 << 20;

const char kHeader[] = "Orvella's calendar sources (docs/calendars.md); Orvella rewrites this file\n"
                       "when sources are added or removed in its Calendars window.";

} // namespace

std::string SourcesFilePath()
{
  BPath settings;
  if (find_directory(B_USER_SETTINGS_DIRECTORY, &settings) != B_OK)
    return std::string();
  return std::string(settings.Path()) + "/orvella/calendars.conf";
}

std::vector<CalendarSource> ReadSources(const std::string& path, std::vector<std::string>* problems)
{
  std::vector<CalendarSource> sources;
  std::string text, error;
  if (!ReadFileText(path, kMaxFileSize, &text, &error)) {
    if (!error.empty())
      problems->push_back(error);
    return sources;
  }
  const KeyValueText parsed = KeyValueText::Parse(text);
  for (int line : parsed.badLines)
    problems->push_back(path + ": line " + std::to_string(line) + " is no \"key = value\" line");
  for (const KeyValueSection& section : parsed.sections) {
    if (section.name.empty()) {
      problems->push_back(path + ": lines before the first [address] belong to no source");
      continue;
    }
    CalendarSource source;
    source.url = section.name;
    source.user = section.Value("user");
    std::string reason;
    if (!CheckSourceAddress(source.url, source.user, &reason)) {
      problems->push_back(path + ": source [" + source.url + "] left out: " + reason);
      continue;
    }
    const std::string type = section.Value("type");
    if (type == "caldav")
      source.type = CalendarSource::kCalDav;
    else if (type == "feed")
      source.type = CalendarSource::kFeed;
    else {
      if (!type.empty())
        problems->push_back(path + ": source [" + source.url + "]: type '" + type + "' is neither feed nor caldav");
      source.type = GuessSourceType(source.url);
    }
    if (section.Has("kind"))
      source.kind = section.Value("kind");
    if (section.Has("refresh")) {
      const std::string minutes = section.Value("refresh");
      char* end = nullptr;
      const long value = strtol(minutes.c_str(), &end, 10);
      if (end == minutes.c_str() || *end != '\0' || value < kMinRefreshMinutes || value > kMaxRefreshMinutes)
        problems->push_back(path + ": source [" + source.url + "]: refresh '" + minutes + "' is no number of minutes from "
                            + std::to_string(kMinRefreshMinutes) + " to " + std::to_string(kMaxRefreshMinutes)
                            + "; taking " + std::to_string(kDefaultRefreshMinutes));
      else
        source.refreshMinutes = int32(value);
    }
    source.calendars = section.Values("calendar");
    for (const auto& [key, value] : section.entries) {
      if (key != "type" && key != "kind" && key != "user" && key != "refresh" && key != "calendar")
        problems->push_back(path + ": source [" + source.url + "]: unknown key '" + key + "' ignored");
    }
    bool known = false;
    for (const CalendarSource& other : sources)
      known = known || other.Id() == source.Id();
    if (known)
      problems->push_back(path + ": source [" + source.url + "] is named twice; the first is taken");
    else
      sources.push_back(source);
  }
  return sources;
}

std::string FormatSources(const std::vector<CalendarSource>& sources)
{
  KeyValueText text;
  for (const CalendarSource& source : sources) {
    KeyValueSection section{source.url, {}};
    section.Add("type", source.type == CalendarSource::kCalDav ? "caldav" : "feed");
    section.Add("kind", source.kind);
    if (!source.user.empty())
      section.Add("user", source.user);
    section.Add("refresh", std::to_string(source.refreshMinutes));
    for (const std::string& calendar : source.calendars)
      section.Add("calendar", calendar);
    text.sections.push_back(section);
  }
  return text.Format(kHeader);
}

bool WriteSources(const std::string& path, const std::vector<CalendarSource>& sources, std::string* error)
{
  return WriteTextFile(path, FormatSources(sources), error);
}
