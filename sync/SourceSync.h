// One source's turn in the sync worker: its cached marks read, or a sync
// that writes the cache and makes the new marks; and the look at a new
// address that tells a feed from a CalDAV server before it is added.
//
//   HttpClient http;
//   SourceReport report = SyncSource(http, source, SourceCache(source.Id()), time(nullptr), {2024, 2025});
//   if (report.marksChanged)
//     registry->ReplaceYearSource(std::move(report.marks));   // on the GUI thread
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "marks/IcsCalendar.h"
#include "marks/YearSource.h"
#include "sync/CalendarSource.h"
#include "sync/SourceCache.h"
#include "sync/SyncStep.h"

class HttpClient;

struct SourceReport {
  std::string id;
  SourceState state;
  std::vector<RemoteCalendar> calendars;
  // The source's marks changed: `marks` holds them all (a null source:
  // none left), worked out for the years asked for.
  bool marksChanged = false;
  SourceMarks marks;
};

// The id of a source's marks in the registry: the path of its cached data.
std::string MarksId(const CalendarSource& source);

// The cached state and marks, without the network; the marks worked out
// for `years`.
SourceReport LoadSource(const CalendarSource& source, const SourceCache& cache,
                        const std::vector<int32>& years = {});

// Syncs the source and writes its cache; `http` carries its credentials.
// A failure keeps the cached data and records the failure in the state;
// "offline since" is the time of the first failed try.
SourceReport SyncSource(HttpClient& http, const CalendarSource& source, const SourceCache& cache, int64 now,
                        const std::vector<int32>& years = {});

// Looks at a new source's address: a CalDAV server or calendar (its
// calendars in *calendars) or a feed; sets source->type. False with the
// failure when it is neither or cannot be reached.
bool ProbeSource(HttpClient& http, CalendarSource* source, std::vector<RemoteCalendar>* calendars,
                 SyncFailure* failure);
