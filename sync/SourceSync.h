// What one source's turn in the sync worker gives: its state and, when
// they changed, its marks; here for its cache read at start, without the
// network (the syncs are sync/network/NetworkSync.h's).
//
//   SourceReport report = LoadSource(source, SourceCache(source.Id()), {2024, 2025});
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
// for `years`. A cache without data changes no marks.
SourceReport LoadSource(const CalendarSource& source, const SourceCache& cache,
                        const std::vector<int32>& years = {});

// The marks of a source's calendar data, worked out for the years;
// problems go to standard output as the calendar folder's do.
SourceMarks MarksOfData(const std::string& data, const CalendarSource& source, const SourceCache& cache,
                        const std::vector<int32>& years);
