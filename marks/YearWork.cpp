#include "marks/YearWork.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "calendar/CalDay.h"

std::vector<SourceYear> WorkOutYear(int32 year, const std::vector<std::shared_ptr<const YearSource>>& sources,
                                    const std::atomic<bool>* stop)
{
  const Deadline giveUp(kYearBudget, stop);
  std::vector<SourceYear> worked;
  worked.reserve(sources.size());
  std::string cut;
  int32 cutCount = 0;
  for (const auto& source : sources) {
    SourceYear got{source, {}};
    if (!source->MarksOf(year, &got.marks, giveUp))
      cut += std::string(cutCount++ == 0 ? "" : ", ") + "'" + source->Name() + "'";
    SortYearMarks(year, &got.marks);
    worked.push_back(std::move(got));
  }
  if (cutCount > 0 && (stop == nullptr || !stop->load()))
    printf("Calendar file%s cut short in %d (their repetitions take too long to work out; not all their days are "
           "shown): %s\n",
           cutCount == 1 ? "" : "s", year, cut.c_str());
  return worked;
}

void SortYearMarks(int32 year, std::vector<YearMark>* marks)
{
  auto outside = [year](const YearMark& mark) {
    const int32 month = mark.code / 100 % 100, day = mark.code % 100;
    return mark.code / 10000 != year || month < 1 || month > 12 || day < 1 || day > TagePerMonat(month - 1, year);
  };
  marks->erase(std::remove_if(marks->begin(), marks->end(), outside), marks->end());
  auto byDay = [](const YearMark& a, const YearMark& b) { return a.code < b.code; };
  if (!std::is_sorted(marks->begin(), marks->end(), byDay))
    std::stable_sort(marks->begin(), marks->end(), byDay);
}
