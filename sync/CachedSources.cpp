#include "sync/CachedSources.h"

#include "marks/STMarkups.h"
#include "sync/SourceSync.h"
#include "sync/SourcesFile.h"

#include <cstdio>

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
    if (report.marks.source != nullptr)
      read++;
    marks->ReplaceYearSource(std::move(report.marks));
  }
  if (!sources.empty())
    printf(" - %d of %d calendar sources cached\n", read, int(sources.size()));
  return read;
}
