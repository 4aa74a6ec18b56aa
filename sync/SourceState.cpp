#include "sync/SourceState.h"

#include <iterator>

namespace {

const char* const kNames[] = {
    "not-synced", "synced", "offline", "wrong-password", "password-needed", "not-a-calendar", "certificate",
    "too-large", "too-many-redirects", "timed-out", "server-error", "bad-answer", "plain-http-refused",
    "cache-unwritable",
};

} // namespace

const char* SyncStatusName(SyncStatus status)
{
  const size_t index = size_t(status);
  return index < std::size(kNames) ? kNames[index] : kNames[0];
}

SyncStatus SyncStatusFromName(const std::string& name)
{
  for (size_t index = 0; index < std::size(kNames); index++) {
    if (name == kNames[index])
      return SyncStatus(index);
  }
  return SyncStatus::kNotSynced;
}
