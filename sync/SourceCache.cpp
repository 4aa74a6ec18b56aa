#include "sync/SourceCache.h"

#include "platform/storage/FindDirectory.h"
#include "sync/FileText.h"
#include "sync/KeyValueText.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr long long kMaxStateBytes = 4 << 20;

int64 Number(const std::string& text)
{
  return strtoll(text.c_str(), nullptr, 10);
}

} // namespace

const RemoteCalendar* CacheState::Calendar(const std::string& href) const
{
  for (const RemoteCalendar& calendar : calendars) {
    if (calendar.href == href)
      return &calendar;
  }
  return nullptr;
}

std::string CacheFolder()
{
  BPath cache;
  if (find_directory(B_USER_CACHE_DIRECTORY, &cache) != B_OK)
    return std::string();
  return std::string(cache.Path()) + "/orvella";
}

SourceCache::SourceCache(const std::string& id, const std::string& folder) : fId(id), fFolder(folder) {}

CacheState SourceCache::ReadState() const
{
  CacheState cached;
  std::string text, error;
  if (!ReadFileText(StatePath(), kMaxStateBytes, &text, &error))
    return cached;
  const KeyValueText parsed = KeyValueText::Parse(text);
  for (const KeyValueSection& section : parsed.sections) {
    if (section.name.empty()) {
      cached.state.status = SyncStatusFromName(section.Value("status"));
      cached.state.detail = section.Value("detail");
      cached.state.lastSync = Number(section.Value("synced"));
      cached.state.offlineSince = Number(section.Value("offline-since"));
      cached.state.entries = int32(Number(section.Value("entries")));
      cached.etag = section.Value("etag");
      cached.lastModified = section.Value("last-modified");
      cached.home = section.Value("home");
      cached.homeIsCalendar = section.Value("home-is-calendar") == "1";
    } else if (section.name.compare(0, 9, "calendar ") == 0) {
      RemoteCalendar calendar;
      calendar.href = section.name.substr(9);
      calendar.name = section.Value("name");
      calendar.color = section.Value("color");
      calendar.ctag = section.Value("ctag");
      calendar.token = section.Value("token");
      calendar.syncCollection = section.Value("sync-collection") == "1";
      cached.calendars.push_back(calendar);
    }
  }
  return cached;
}

bool SourceCache::WriteState(const CacheState& cached, std::string* error) const
{
  KeyValueText text;
  KeyValueSection top;
  top.Add("status", SyncStatusName(cached.state.status));
  top.Add("detail", cached.state.detail);
  top.Add("synced", std::to_string(cached.state.lastSync));
  top.Add("offline-since", std::to_string(cached.state.offlineSince));
  top.Add("entries", std::to_string(cached.state.entries));
  if (!cached.etag.empty())
    top.Add("etag", cached.etag);
  if (!cached.lastModified.empty())
    top.Add("last-modified", cached.lastModified);
  if (!cached.home.empty()) {
    top.Add("home", cached.home);
    top.Add("home-is-calendar", cached.homeIsCalendar ? "1" : "0");
  }
  text.sections.push_back(top);
  for (const RemoteCalendar& calendar : cached.calendars) {
    KeyValueSection section{"calendar " + calendar.href, {}};
    section.Add("name", calendar.name);
    section.Add("color", calendar.color);
    section.Add("ctag", calendar.ctag);
    section.Add("token", calendar.token);
    section.Add("sync-collection", calendar.syncCollection ? "1" : "0");
    text.sections.push_back(section);
  }
  return WriteTextFile(StatePath(), text.Format("Orvella's sync state of one calendar source (docs/calendars.md)"),
                        error);
}

bool SourceCache::ReadData(std::string* text, std::string* error) const
{
  return ReadFileText(DataPath(), kMaxCacheBytes, text, error);
}

bool SourceCache::WriteData(const std::string& text, std::string* error) const
{
  return WriteTextFile(DataPath(), text, error);
}

void SourceCache::Remove() const
{
  remove(DataPath().c_str());
  remove(StatePath().c_str());
}
