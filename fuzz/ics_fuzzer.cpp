// Feeds arbitrary bytes to the iCalendar reader as a file's text, then asks
// the calendar for the days of a few years and makes a record of each.
// Whatever the text holds, reading must stay inside it, time zones the
// file defines must be usable, repetitions must end, and every day must be
// a real date of the year asked for.
#include "calendar/CalDay.h"
#include "marks/IcsCalendar.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // A zone with summer time, so that local days move with it.
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  IcsProblems problems;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<IcsCalendar> calendar = IcsCalendar::Parse(text, 'evnt', &problems);
  if (calendar == nullptr) {
    if (problems.unreadable.empty())
      abort();
    return 0;
  }
  std::vector<YearMark> marks;
  for (int32 year : {1970, 2024, 2100}) {
    marks.clear();
    calendar->MarksOf(year, &marks, Deadline());
    for (const YearMark& mark : marks) {
      const int32 month = mark.code / 100 % 100;
      const int32 day = mark.code % 100;
      if (mark.code / 10000 != year || month < 1 || month > 12 || day < 1 || day > TagePerMonat(month - 1, year))
        abort();
      std::unique_ptr<MarkDay> record = calendar->Record(mark);
      if (record == nullptr || record->fYear != year || record->fMonth != month || record->fDay != day)
        abort();
    }
  }
  return 0;
}
