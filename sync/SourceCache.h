// The offline copy of a source, in $XDG_CACHE_HOME/orvella (else
// ~/.cache/orvella), two files named by the source's Id():
//
//   ID.ics    the calendar data: a feed as it came, or the events of a
//             CalDAV server, each with its path and ETag (network/ResourceSet.h).
//             The window and OrvellaExport read it like a file of the
//             calendar folder.
//   ID.state  how the syncs went and what the next sync compares with
//             (the feed's ETag, the calendars' ctags and sync tokens), as
//             "key = value" lines.
//
// Each is written whole (temporary file, then rename), the data first: a
// sync cut short leaves the last good data, and at worst a state that
// fetches again what the data already holds.
//
//   SourceCache cache(source.Id());
//   CacheState state;
//   cache.ReadState(&state);
//   std::string data, error;
//   if (cache.ReadData(&data, &error)) ...
#pragma once

#include <string>
#include <vector>

#include "sync/SourceState.h"

// One calendar of a CalDAV source.
struct RemoteCalendar {
  std::string href;   // its path on the server
  std::string name;   // its display name
  std::string color;  // "#RRGGBB" as the server gives it; empty when it gives none
  std::string ctag;
  std::string token;  // the sync-collection token of the data held
  bool syncCollection = false;
};

struct CacheState {
  SourceState state;
  // A feed's validators for the next conditional request.
  std::string etag;
  std::string lastModified;
  // CalDAV: the address asked for the calendars (the calendar home, or the
  // source's own address when it is one calendar), and the calendars.
  std::string home;
  bool homeIsCalendar = false;
  std::vector<RemoteCalendar> calendars;

  const RemoteCalendar* Calendar(const std::string& href) const;
};

// $XDG_CACHE_HOME/orvella.
std::string CacheFolder();

class SourceCache {
public:
  explicit SourceCache(const std::string& id, const std::string& folder = CacheFolder());

  std::string DataPath() const { return fFolder + "/" + fId + ".ics"; }
  std::string StatePath() const { return fFolder + "/" + fId + ".state"; }

  // A missing or unreadable state file gives the state of a source never synced.
  CacheState ReadState() const;
  bool WriteState(const CacheState& state, std::string* error) const;
  // False when there is no data (error empty) or it cannot be read (error says why).
  bool ReadData(std::string* text, std::string* error) const;
  bool WriteData(const std::string& text, std::string* error) const;
  // Removes both files, for a source the user removed.
  void Remove() const;

private:
  std::string fId;
  std::string fFolder;
};

// Larger cached data is not read back: the sync never writes more than
// its answers' limit allows.
inline constexpr long long kMaxCacheBytes = 256LL << 20;
