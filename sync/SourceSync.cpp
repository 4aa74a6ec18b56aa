#include "sync/SourceSync.h"

#include "marks/YearWork.h"

#include <cstdio>

SourceMarks MarksOfData(const std::string& data, const CalendarSource& source, const SourceCache& cache,
                    const std::vector<int32>& years)
{
  SourceMarks marks{cache.DataPath(), nullptr, {}};
  if (data.empty())
    return marks;
  IcsProblems problems;
  std::shared_ptr<const IcsCalendar> calendar = IcsCalendar::Parse(data, source.KindCode(), &problems, cache.DataPath());
  if (problems.Any())
    printf("Calendar source '%s': %s\n", source.Title().c_str(), problems.Text().c_str());
  if (calendar == nullptr)
    return marks;
  marks.source = calendar;
  for (int32 year : years) {
    std::vector<SourceYear> worked = WorkOutYear(year, {marks.source});
    if (!worked.empty())
      marks.years[year] = std::move(worked.front().marks);
  }
  return marks;
}

std::string MarksId(const CalendarSource& source)
{
  return SourceCache(source.Id()).DataPath();
}

SourceReport LoadSource(const CalendarSource& source, const SourceCache& cache, const std::vector<int32>& years)
{
  SourceReport report;
  report.id = source.Id();
  const CacheState cached = cache.ReadState();
  report.state = cached.state;
  report.calendars = cached.calendars;
  std::string data, error;
  if (!cache.ReadData(&data, &error) && !error.empty())
    printf("Calendar source '%s': %s\n", source.Title().c_str(), error.c_str());
  report.marksChanged = !data.empty();
  if (report.marksChanged)
    report.marks = MarksOfData(data, source, cache, years);
  return report;
}
