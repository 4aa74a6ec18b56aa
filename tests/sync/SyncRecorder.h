// A listener of CalendarSync that records what it hears, for tests that
// run the sync worker.
#pragma once

#include "sync/CalendarSync.h"
#include "sync/SourceSync.h"
#include "tests/platform/TestSupport.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SyncRecorder : public CalendarSyncListener {
public:
  void MarksReplaced(SourceMarks replaced) override
  {
    marks[replaced.id] = replaced.source;
    years[replaced.id] = replaced.years;
    this->replaced++;
  }
  std::vector<int32> YearsWanted() const override { return {2024}; }
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

  // By MarksId.
  std::map<std::string, std::shared_ptr<const YearSource>> marks;
  std::map<std::string, std::map<int32, std::vector<YearMark>>> years;
  int replaced = 0;
  int changes = 0;
  int probes = 0;
  CalendarSource probed;
  std::vector<RemoteCalendar> calendars;
  SyncFailure probeFailure;
  std::vector<std::string> wanted;
};
