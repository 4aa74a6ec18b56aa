// Times the calendar folder with 10,000 iCalendar entries, half of them
// repeating, in a temporary home folder: loading the folder, learning the
// days of a year on its first lookup, and the lookups of a year after that
// (IsMarkDay for every day, and one month view's 42 cells with tool-tip
// texts, averaged over 1000 rounds).
//
// The folder: user.ics with 3000 yearly birthdays; deDE.ics with 500 fixed
// yearly holidays, 250 on the n-th weekday of a month (libical expands
// these) and 250 single days; events.ics with 4750 single events at a
// time, 1000 weekly meetings in Berlin time with an exception and 250
// monthly ones on the n-th weekday with COUNT or UNTIL.
//
// Then the calendar folders that froze Orvella, each read and a year of it
// worked out as the calendar worker does: a time zone repeating every
// second, forty files of daily rules that never meet their BY parts (now
// worked out by arithmetic), forty of monthly ones (still libical's, within
// the year's one budget) and a named pipe.
#include "calendar/CalDay.h"
#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "marks/YearWork.h"
#include "platform/storage/FindDirectory.h"
#include "platform/support/HeapReserve.h"
#include "settings/Prefs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <random>
#include <string>
#include <sys/stat.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const char* const kWeekdays[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

bool WriteCalendar(const std::string& path, const std::string& entries)
{
  FILE* file = fopen(path.c_str(), "w");
  if (file == nullptr)
    return false;
  fprintf(file, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvella bench//EN\r\n%sEND:VCALENDAR\r\n",
          entries.c_str());
  return fclose(file) == 0;
}

bool WriteFolder(const std::string& folder)
{
  std::mt19937 random(2024);
  auto pick = [&random](int from, int to) { return from + int(random() % unsigned(to - from + 1)); };
  char line[512];
  std::string user;
  for (int i = 0; i < 3000; i++) {
    snprintf(line, sizeof line,
             "BEGIN:VEVENT\r\nUID:b%d@bench\r\nDTSTART;VALUE=DATE:%04d%02d%02d\r\nSUMMARY:Birthday %d\r\n"
             "RRULE:FREQ=YEARLY\r\nEND:VEVENT\r\n",
             i, pick(1930, 2020), pick(1, 12), pick(1, 28), i);
    user += line;
  }
  std::string holidays;
  for (int i = 0; i < 1000; i++) {
    const int kind = i % 4;
    if (kind < 2)
      snprintf(line, sizeof line,
               "BEGIN:VEVENT\r\nUID:h%d@bench\r\nDTSTART;VALUE=DATE:%04d%02d%02d\r\nSUMMARY:Holiday %d\r\n"
               "RRULE:FREQ=YEARLY\r\nEND:VEVENT\r\n",
               i, pick(1950, 2000), pick(1, 12), pick(1, 28), i);
    else if (kind == 2)
      snprintf(line, sizeof line,
               "BEGIN:VEVENT\r\nUID:h%d@bench\r\nDTSTART;VALUE=DATE:19700101\r\nSUMMARY:Holiday %d\r\n"
               "RRULE:FREQ=YEARLY;BYMONTH=%d;BYDAY=%d%s\r\nEND:VEVENT\r\n",
               i, i, pick(1, 12), pick(1, 4), kWeekdays[pick(0, 6)]);
    else
      snprintf(line, sizeof line,
               "BEGIN:VEVENT\r\nUID:h%d@bench\r\nDTSTART;VALUE=DATE:%04d%02d%02d\r\nSUMMARY:Holiday %d\r\nEND:VEVENT\r\n",
               i, pick(1990, 2040), pick(1, 12), pick(1, 28), i);
    holidays += line;
  }
  std::string events;
  for (int i = 0; i < 6000; i++) {
    if (i < 4750) {
      if (i % 2 == 0)
        snprintf(line, sizeof line,
                 "BEGIN:VEVENT\r\nUID:e%d@bench\r\nDTSTART:%04d%02d%02dT%02d%02d00Z\r\nDTEND:%04d%02d%02dT235900Z\r\n"
                 "SUMMARY:Event %d\r\nEND:VEVENT\r\n",
                 i, pick(2000, 2040), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), 2040, 12, 31, i);
      else
        snprintf(line, sizeof line,
                 "BEGIN:VEVENT\r\nUID:e%d@bench\r\nDTSTART;TZID=Europe/Berlin:%04d%02d%02dT%02d%02d00\r\n"
                 "SUMMARY:Event %d\r\nEND:VEVENT\r\n",
                 i, pick(2000, 2040), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), i);
    } else if (i < 5750) {
      const int year = pick(2010, 2030);
      snprintf(line, sizeof line,
               "BEGIN:VEVENT\r\nUID:e%d@bench\r\nDTSTART;TZID=Europe/Berlin:%04d0105T093000\r\nSUMMARY:Meeting %d\r\n"
               "RRULE:FREQ=WEEKLY\r\nEXDATE;TZID=Europe/Berlin:%04d0112T093000\r\nEND:VEVENT\r\n",
               i, year, i, year);
    } else {
      snprintf(line, sizeof line,
               "BEGIN:VEVENT\r\nUID:e%d@bench\r\nDTSTART;TZID=Europe/Berlin:20200106T180000\r\nSUMMARY:Club %d\r\n"
               "RRULE:FREQ=MONTHLY;BYDAY=1%s;%s\r\nEND:VEVENT\r\n",
               i, i, kWeekdays[pick(0, 6)], i % 2 ? "COUNT=200" : "UNTIL=20401231T000000Z");
    }
    events += line;
  }
  return WriteCalendar(folder + "/user.ics", user) && WriteCalendar(folder + "/deDE.ics", holidays)
         && WriteCalendar(folder + "/events.ics", events);
}

bool WriteHostileFolders(const std::string& root)
{
  bool written = create_directory((root + "/zone").c_str(), 0755) == B_OK
                 && create_directory((root + "/daily").c_str(), 0755) == B_OK
                 && create_directory((root + "/monthly").c_str(), 0755) == B_OK
                 && create_directory((root + "/pipe").c_str(), 0755) == B_OK
                 && mkfifo((root + "/pipe/pipe.ics").c_str(), 0644) == 0;
  written = written
            && WriteCalendar(root + "/zone/zone.ics",
                             "BEGIN:VTIMEZONE\r\nTZID:Odd\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                             "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nRRULE:FREQ=SECONDLY\r\nEND:STANDARD\r\n"
                             "END:VTIMEZONE\r\nBEGIN:VEVENT\r\nDTSTART;TZID=Odd:20240101T120000\r\n"
                             "RRULE:FREQ=DAILY\r\nSUMMARY:Odd\r\nEND:VEVENT\r\n");
  for (int i = 0; written && i < 40; i++) {
    for (const char* frequency : {"daily", "monthly"}) {
      written = written
                && WriteCalendar(root + "/" + frequency + "/never" + std::to_string(i) + ".ics",
                                 std::string("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20240101\r\nRRULE:FREQ=")
                                     + (frequency[0] == 'd' ? "DAILY" : "MONTHLY")
                                     + ";BYMONTH=2;BYMONTHDAY=30\r\nSUMMARY:Never\r\nEND:VEVENT\r\n");
    }
  }
  return written;
}

int YearLookups(STMarkups* marks, int32 year)
{
  int marked = 0;
  for (int month = 1; month <= 12; month++) {
    for (int day = 1; day <= TagePerMonat(month - 1, year); day++)
      marked += marks->IsMarkDay(month, day, year) != nullptr ? 1 : 0;
  }
  return marked;
}

} // namespace

int main()
{
  // As Orvella does.
  KeepHeapReserve();
  char home[] = "/tmp/ova-ics-bench-XXXXXX";
  if (mkdtemp(home) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
  setenv("XDG_DATA_HOME", (std::string(home) + "/.local/share").c_str(), 1);
  setenv("TZ", "Europe/Berlin", 1);
  const std::string folder = std::string(home) + "/calendars";
  if (create_directory(folder.c_str(), 0755) != B_OK || !WriteFolder(folder)) {
    perror("calendars");
    return 1;
  }
  // The registry's own trace lines would be timed too.
  if (freopen("/dev/null", "w", stdout) == nullptr)
    return 1;
  STMarkups* marks = STMarkups::getSTMarkups();

  // Loading: the first round also looks up the system's time zones.
  constexpr int kLoads = 10;
  double firstLoad = 0;
  double loads = 0;
  for (int round = 0; round <= kLoads; round++) {
    marks->ClearList();
    Clock::time_point start = Clock::now();
    LookForCalendars(folder.c_str());
    marks->CheckHolidays();
    (round == 0 ? firstLoad : loads) += MillisecondsSince(start);
  }
  loads /= kLoads;
  const int32 entries = marks->fGlobals + marks->fLocals + marks->fUsers + marks->fEvents;

  // The first lookup of each year asks the files for that year's days.
  constexpr int kYears = 10;
  Clock::time_point start = Clock::now();
  for (int32 year = 2031; year < 2031 + kYears; year++)
    marks->IsMarkDay(1, 1, year);
  const double makeYear = MillisecondsSince(start) / kYears;

  constexpr int kRounds = 1000;
  int marked = 0;
  YearLookups(marks, 2035);
  start = Clock::now();
  for (int round = 0; round < kRounds; round++)
    marked = YearLookups(marks, 2035);
  const double year = MillisecondsSince(start) / kRounds;

  std::string text;
  start = Clock::now();
  for (int round = 0; round < kRounds; round++) {
    for (int cell = 0; cell < 42; cell++) {
      const int day = cell % 31 + 1;
      const int month = cell < 31 ? 5 : 6;
      marks->IsEventDay(month, day, 2035);
      if (marks->IsMarkDay(month, day, 2035) != nullptr) {
        text.clear();
        marks->GetMarkText(month, day, 2035, &text, false);
      }
    }
  }
  const double monthView = MillisecondsSince(start) / kRounds;

  // The hostile folders: read, then a year worked out, as the worker does.
  const std::string hostile = std::string(home) + "/hostile";
  if (create_directory(hostile.c_str(), 0755) != B_OK || !WriteHostileFolders(hostile))
    return 1;
  struct Hostile {
    const char* name;
    double read;
    double year;
  } hostiles[] = {{"zone", 0, 0}, {"daily", 0, 0}, {"monthly", 0, 0}, {"pipe", 0, 0}};
  for (Hostile& folder : hostiles) {
    start = Clock::now();
    std::vector<SourceMarks> files = ReadCalendarFolder(hostile + "/" + folder.name, {});
    folder.read = MillisecondsSince(start);
    std::vector<std::shared_ptr<const YearSource>> sources;
    for (const SourceMarks& file : files) {
      if (file.source != nullptr)
        sources.push_back(file.source);
    }
    start = Clock::now();
    WorkOutYear(2026, sources);
    folder.year = MillisecondsSince(start);
  }

  fprintf(stderr, "\n%d entries in 3 files\n", entries);
  fprintf(stderr, "loading the folder, first time:          %8.2f ms\n", firstLoad);
  fprintf(stderr, "loading the folder (ClearList + load):   %8.2f ms\n", loads);
  fprintf(stderr, "a year's first lookup:                   %8.2f ms\n", makeYear);
  fprintf(stderr, "IsMarkDay for the 365 days of 2035:      %8.3f ms (%d marked)\n", year, marked);
  fprintf(stderr, "one month view, 42 cells with text:      %8.3f ms\n", monthView);
  fprintf(stderr, "\nhostile folders                          read (ms)   a year (ms)\n");
  for (const Hostile& folder : hostiles)
    fprintf(stderr, "  %-38s %9.1f %13.1f\n", folder.name, folder.read, folder.year);
  fprintf(stderr, "target: a year of any folder within the %lld ms budget and one step of libical's search\n",
          static_cast<long long>(kYearBudget.count()));

  marks->DeleteMe();
  Prefs::getSTPrefs()->DeleteMe();
  nftw(home, [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
  return 0;
}
