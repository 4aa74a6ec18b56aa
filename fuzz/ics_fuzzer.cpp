// Feeds arbitrary bytes to the calendar folder's reader as a folder of
// iCalendar files (the input split at lines "@@" into up to six files of
// the three kinds), reads the folder as the window does, working out a few
// years of all its files within their one budget, and asks the registry
// about the days of another year, which it works out then. Whatever the
// files hold, reading must stay inside them, time zones the files define
// must be usable, repetitions must end, and every day must be a real date
// of the year asked for.
#include "calendar/CalDay.h"
#include "fuzz/FuzzHome.h"
#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "marks/YearWork.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string gFolder;
const char* const kNames[] = {"deDE.ics", "user.ics", "work.ics", "enUS.ics", "trips.ics", "frCH.ics"};

bool IsDayOf(int32 code, int32 year)
{
  const int32 month = code / 100 % 100;
  const int32 day = code % 100;
  return code / 10000 == year && month >= 1 && month <= 12 && day >= 1 && day <= TagePerMonat(month - 1, year);
}

// Every mark a real day of its year, and its record on that day.
void CheckMarks(const YearSource& source, int32 year, const std::vector<YearMark>& marks)
{
  for (const YearMark& mark : marks) {
    if (!IsDayOf(mark.code, year) || mark.entry < 0 || mark.entry >= source.CountEntries())
      abort();
    std::unique_ptr<MarkDay> record = source.Record(mark);
    if (record == nullptr || record->fYear * 10000 + record->fMonth * 100 + record->fDay != mark.code)
      abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // A zone with summer time, so that local days move with it.
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  gFolder = MakeFuzzHome("ics") + "/calendars";
  if (mkdir(gFolder.c_str(), 0755) != 0)
    abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t files = 0;
  while (files < std::size(kNames)) {
    const size_t cut = text.find("\n@@\n");
    const std::string_view part = text.substr(0, cut);
    FILE* file = fopen((gFolder + "/" + kNames[files++]).c_str(), "wb");
    if (file == nullptr || fwrite(part.data(), 1, part.size(), file) != part.size() || fclose(file) != 0)
      abort();
    if (cut == std::string_view::npos)
      break;
    text.remove_prefix(cut + 4);
  }

  std::vector<SourceMarks> read = ReadCalendarFolder(gFolder, {1970, 2024});
  if (read.size() != files)
    abort();
  for (const SourceMarks& file : read) {
    if (file.source == nullptr)
      continue;
    for (const auto& [year, marks] : file.years)
      CheckMarks(*file.source, year, marks);
    // What a source gives before the registry's sorting drops anything.
    std::vector<YearMark> marks;
    file.source->MarksOf(2100, &marks, Deadline(kYearBudget));
    CheckMarks(*file.source, 2100, marks);
  }

  STMarkups* registry = STMarkups::getSTMarkups();
  TakeCalendarFolder(registry, gFolder, std::move(read));
  registry->CheckHolidays();
  std::string tip;
  for (int32 month = 1; month <= 12; month++) {
    for (int32 day = 1; day <= 28; day += 9) {
      if (MarkDay* mark = registry->IsMarkDay(month, day, 2037)) {
        if (mark->fMonth != month || mark->fDay != day)
          abort();
        tip.clear();
        registry->GetMarkUpText(month, day, 2037, &tip, false);
      }
    }
  }
  // The registry stays: the next folder replaces this one's files in it.
  for (size_t i = 0; i < files; i++)
    unlink((gFolder + "/" + kNames[i]).c_str());
  return 0;
}
