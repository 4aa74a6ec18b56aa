// What one sync of a source comes to, before it is written to the cache:
// the new state and, when the calendar data changed, the new data. A step
// that fails leaves the failure and nothing else: the cache keeps the last
// good data.
#pragma once

#include <string>

#include "sync/SourceCache.h"
#include "sync/SourceState.h"

// Why a step of a sync failed.
struct SyncFailure {
  SyncStatus status = SyncStatus::kSynced;
  std::string detail;

  bool Failed() const { return status != SyncStatus::kSynced; }
  void Set(SyncStatus why, const std::string& text)
  {
    status = why;
    detail = text;
  }
};

struct SyncResult {
  SyncFailure failure;
  CacheState state;      // validators and calendars after the sync
  bool changed = false;  // `data` is the new calendar data
  std::string data;
};
