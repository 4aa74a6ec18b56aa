// How the syncs of a source went: the state the Calendars window shows
// beside it and the MarkDays submenu after its count ("synced 10:42",
// "offline since 09:12", "wrong password"). A failed sync keeps the last
// good data, so the time of the last good sync stays beside any failure.
#pragma once

#include <string>

#include "platform/support/SupportDefs.h"

enum class SyncStatus : int32 {
  kNotSynced,         // not synced yet
  kSynced,            // the last sync went well
  kOffline,           // the host could not be reached (offlineSince says since when)
  kWrongPassword,     // the server refused the user name and password
  kPasswordNeeded,    // the server asks for a password that Orvella does not have
  kNotCalendar,       // the address holds no calendar
  kCertificate,       // the host's TLS certificate cannot be verified
  kTooLarge,          // an answer larger than the limit
  kTooManyRedirects,  // more redirects than the limit
  kTimedOut,          // no answer, or the answer stalled, within the time limits
  kServerError,       // the server answered with an error
  kBadAnswer,         // an answer that cannot be read, or that was cut off
  kPlainHttpRefused,  // a password would have gone over plain http://
  kCacheUnwritable,   // the new data could not be written to the cache
};

struct SourceState {
  SyncStatus status = SyncStatus::kNotSynced;
  std::string detail;     // the host, the server's status, what was wrong; never a password
  int64 lastSync = 0;     // seconds since 1970 of the last good sync; 0: never
  int64 offlineSince = 0; // the first failed try to reach the host since then; 0: reached
  int32 entries = 0;      // entries of the cached calendar data

  bool operator==(const SourceState& other) const
  {
    return status == other.status && detail == other.detail && lastSync == other.lastSync
           && offlineSince == other.offlineSince && entries == other.entries;
  }
};

// The status's name in state files and trace lines ("synced", "offline").
const char* SyncStatusName(SyncStatus status);
// The status of a name; kNotSynced for an unknown one.
SyncStatus SyncStatusFromName(const std::string& name);
