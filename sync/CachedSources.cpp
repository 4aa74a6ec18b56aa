#include "sync/CachedSources.h"

#include "marks/STMarkups.h"
#include "sync/SourceSync.h"
#include "sync/SourcesFile.h"

#include <cstdio>

namespace {

// A year source whose marks the window's sync may still hold and replace.
class SharedSource : public YearSource {
public:
  explicit SharedSource(std::shared_ptr<const IcsCalendar> calendar) : fCalendar(std::move(calendar)) {}
  uint32 Kind() const override { return fCalendar->Kind(); }
  int32 CountEntries() const override { return fCalendar->CountEntries(); }
  void MarksOf(int32 year, std::vector<YearMark>* marks) const override { fCalendar->MarksOf(year, marks); }
  std::unique_ptr<MarkDay> Record(const YearMark& mark) const override { return fCalendar->Record(mark); }

private:
  std::shared_ptr<const IcsCalendar> fCalendar;
};

} // namespace

void AddSourceMarks(STMarkups* marks, std::shared_ptr<const IcsCalendar> calendar)
{
  if (calendar == nullptr)
    return;
  if (calendar->Kind() == 'evnt')
    marks->fHasEvents = true;
  marks->AddYearSource(std::make_unique<SharedSource>(std::move(calendar)));
}

int32 LookForCachedSources(const char* sourcesPath)
{
  const std::string path = sourcesPath != nullptr ? sourcesPath : SourcesFilePath();
  std::vector<std::string> problems;
  const std::vector<CalendarSource> sources = ReadSources(path, &problems);
  for (const std::string& problem : problems)
    printf("%s\n", problem.c_str());
  STMarkups* marks = STMarkups::getSTMarkups();
  int32 read = 0;
  for (const CalendarSource& source : sources) {
    SourceReport report = LoadSource(source, SourceCache(source.Id()));
    if (report.marks == nullptr)
      continue;
    AddSourceMarks(marks, std::move(report.marks));
    read++;
  }
  if (!sources.empty())
    printf(" - %d of %d calendar sources cached\n", read, int(sources.size()));
  return read;
}
