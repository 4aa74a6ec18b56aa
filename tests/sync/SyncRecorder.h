// A listener of CalendarSync that records what it hears, for tests that
// run the sync worker.
#pragma once

#include "sync/CalendarSync.h"
#include "tests/platform/TestSupport.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SyncRecorder : public CalendarSyncListener {
public:
  void MarksReplaced(const CalendarSource& source, std::shared_ptr<IcsCalendar> calendar) override
  {
    marks[source.Id()] = std::move(calendar);
    replaced++;
  }
  void StatesChanged() override { changes++; }
  void Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& found, const SyncFailure& failure) override
  {
    probed = source;
    calendars = found;
    probeFailure = failure;
    probes++;
  }
  void PasswordWanted(const CalendarSource& source) override { wanted.push_back(source.Id()); }

  // Waits until the source's state is `status` and no sync of it runs.
  static bool WaitForState(const CalendarSync& sync, const std::string& id, SyncStatus status)
  {
    return WaitFor([&]() {
      const CalendarSync::Entry* entry = sync.Find(id);
      return entry != nullptr && !entry->syncing && entry->state.status == status;
    });
  }

  std::map<std::string, std::shared_ptr<IcsCalendar>> marks;
  int replaced = 0;
  int changes = 0;
  int probes = 0;
  CalendarSource probed;
  std::vector<RemoteCalendar> calendars;
  SyncFailure probeFailure;
  std::vector<std::string> wanted;
};
