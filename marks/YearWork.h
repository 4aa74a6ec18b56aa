// Working out a year of several year sources (marks/YearSource.h) within
// one time budget: the calendar folder as a whole gets a quarter of a
// second for a year, however many files it holds, and one line names the
// files cut short.
//
//   std::vector<SourceYear> worked = WorkOutYear(2025, sources);
//   // Calendar files cut short in 2025 (their repetitions take too long
//   // to work out; not all their days are shown): '.../a.ics', '.../b.ics'
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "marks/YearSource.h"

// How long the sources together may take for one year.
inline constexpr std::chrono::milliseconds kYearBudget(250);

// The sources' marks of the year, in the sources' order, each sorted by
// day; `stop` ends the work early, as if the budget were spent.
std::vector<SourceYear> WorkOutYear(int32 year, const std::vector<std::shared_ptr<const YearSource>>& sources,
                                    const std::atomic<bool>* stop = nullptr);

// Sorts marks by day, keeping their order on each day, and drops those
// that are no day of the year.
void SortYearMarks(int32 year, std::vector<YearMark>* marks);
