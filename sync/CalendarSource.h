// A calendar the user keeps elsewhere and Orvella syncs: a feed (an
// https:// or webcal:// address of an iCalendar file) or a CalDAV server or
// calendar. All its days have one kind, named by the same rule as the
// calendar folder's file names: a region code ("deDE") for that region's
// holidays, "user" for user days, anything else for events.
//
//   CalendarSource source;
//   source.url = "webcal://example.org/holidays/de.ics";
//   source.kind = "deDE";
//   source.KindCode();    // 'deDE'
//   source.FetchUrl();    // "https://example.org/holidays/de.ics"
//   source.Id();          // names its cache files
#pragma once

#include <string>
#include <vector>

#include "platform/support/SupportDefs.h"

// Minutes between two syncs of a source, unless it says otherwise.
inline constexpr int32 kDefaultRefreshMinutes = 30;
inline constexpr int32 kMinRefreshMinutes = 1;
inline constexpr int32 kMaxRefreshMinutes = 7 * 24 * 60;

struct CalendarSource {
  enum Type { kFeed, kCalDav };

  std::string url;              // as the user gave it
  Type type = kFeed;
  std::string kind = "events";  // a region code, "user", anything else: events
  std::string user;             // empty: the server asks for no password
  int32 refreshMinutes = kDefaultRefreshMinutes;
  // CalDAV: the calendars shown, by their paths on the server; none: all.
  std::vector<std::string> calendars;

  // Names the source's cache files and keyring entry: the same address and
  // user give the same name.
  std::string Id() const;
  // The kind of the source's days: a region code, 'user' or 'evnt'.
  uint32 KindCode() const;
  // The address asked: webcal:// is https://.
  std::string FetchUrl() const;
  // Host and path, shortened for a list line.
  std::string Title() const;
};

// The type of an entry that does not say: webcal:// and addresses ending in
// ".ics" are feeds, anything else a CalDAV server.
CalendarSource::Type GuessSourceType(const std::string& url);

// Whether the address can be a source for that user; false with the reason.
// Addresses are https://, webcal:// or http://; a password goes over
// http:// only to this machine, and never inside the address itself.
bool CheckSourceAddress(const std::string& url, const std::string& user, std::string* reason);

// localhost, 127.0.0.0/8 and ::1.
bool IsLocalHost(const std::string& host);
