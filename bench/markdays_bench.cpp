// Times the marked-day registry with a MarkDays file of 100,000 records in
// a temporary home folder: loading, CheckHolidays, IsMarkDay for every day
// of a year, and the 42 cells of one month view (lookups averaged over
// 1000 rounds).
#include "calendar/CalDay.h"
#include "marks/STMarkups.h"
#include "settings/Prefs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <random>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int kRecords = 100000;

using Clock = std::chrono::steady_clock;

double MicrosecondsSince(Clock::time_point start)
{
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Holidays of several regions, user days and events, a quarter of them for
// every year, the rest spread over 1990..2030.
bool WriteMarkDays(const std::string& path)
{
  FILE* file = fopen(path.c_str(), "w");
  if (file == nullptr)
    return false;
  std::mt19937 random(2006);
  const char* kinds[] = {"enUS", "deDE", "frFR", "user", "evnt"};
  for (int i = 0; i < kRecords; i++) {
    int year = random() % 4 == 0 ? 0 : 1990 + static_cast<int>(random() % 41);
    int month = 1 + static_cast<int>(random() % 12);
    int day = 1 + static_cast<int>(random() % 28);
    if (year == 0)
      fprintf(file, "[HD][ever/%02d/%02d][Day %d][%s]\n", month, day, i, kinds[random() % 5]);
    else
      fprintf(file, "[HD][%04d/%02d/%02d][Day %d][%s]\n", year, month, day, i, kinds[random() % 5]);
  }
  return fclose(file) == 0;
}

} // namespace

int main()
{
  char home[] = "/tmp/ova-markdays-bench-XXXXXX";
  if (mkdtemp(home) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
  std::string path = std::string(home) + "/MarkDays";
  if (!WriteMarkDays(path)) {
    perror("MarkDays");
    return 1;
  }

  STMarkups* marks = STMarkups::getSTMarkups();
  Clock::time_point start = Clock::now();
  marks->LoadHolidays(path.c_str());
  double load = MicrosecondsSince(start);

  start = Clock::now();
  marks->CheckHolidays();
  double check = MicrosecondsSince(start);

  constexpr int kRounds = 1000;
  int marked = 0;
  start = Clock::now();
  for (int round = 0; round < kRounds; round++) {
    marked = 0;
    for (int month = 1; month <= 12; month++) {
      for (int day = 1; day <= TagePerMonat(month - 1, 2006); day++)
        marked += marks->IsMarkDay(month, day, 2006) != nullptr ? 1 : 0;
    }
  }
  double year = MicrosecondsSince(start) / kRounds;

  // A month view asks each of its 42 cells whether it is an event day,
  // whether it is marked and, when it is, for its tool-tip text.
  std::string text;
  start = Clock::now();
  for (int round = 0; round < kRounds; round++) {
    for (int cell = 0; cell < 42; cell++) {
      int day = cell % 31 + 1;
      int month = cell < 31 ? 5 : 6;
      marks->IsEventDay(month, day, 2006);
      if (marks->IsMarkDay(month, day, 2006) != nullptr) {
        text.clear();
        marks->GetMarkText(month, day, 2006, &text, false);
      }
    }
  }
  double monthView = MicrosecondsSince(start) / kRounds;

  start = Clock::now();
  for (int round = 0; round < kRounds; round++) {
    for (int cell = 0; cell < 42; cell++)
      marks->IsMarkDay(cell < 31 ? 5 : 6, cell % 31 + 1, 2006);
  }
  double monthLookups = MicrosecondsSince(start) / kRounds;

  printf("\n%d records (%d in the list)\n", kRecords, marks->CountItems());
  printf("LoadHolidays:                       %10.1f ms\n", load / 1000);
  printf("CheckHolidays:                      %10.1f ms\n", check / 1000);
  printf("IsMarkDay for the 365 days of 2006: %10.1f us (%d marked)\n", year, marked);
  printf("one month, 42 IsMarkDay:            %10.1f us\n", monthLookups);
  printf("one month view, 42 cells with text: %10.1f us\n", monthView);

  marks->DeleteMe();
  Prefs::getSTPrefs()->DeleteMe();
  nftw(home, [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
  return 0;
}
