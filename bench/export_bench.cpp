// Times a year's calendar export as the HTML-View commands run it: the
// twelve month pictures (painted offscreen and written as PNG) and the
// three-per-row year page, in a temporary home folder with a MarkDays file
// of holidays, user days and events, on one core. The page goes to a
// stand-in xdg-open that does nothing, so its start is timed too; the start
// of that opener alone is timed as well. Prints the medians of 25 rounds
// after one warm-up round, as time passed (wall) and as CPU time of this
// process (the opener's own process not counted), and the best round, since
// the machine may be shared.
#include "export/HtmlCalendar.h"
#include "export/MonthImage.h"
#include "marks/STMarkups.h"
#include "platform/messaging/Launch.h"
#include "platform/support/HeapReserve.h"
#include "settings/Prefs.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <sched.h>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 25;
constexpr long kYear = 2004;

// Wall and CPU time together.
struct Stamp {
  double wall;
  double cpu;
};

Stamp Now()
{
  timespec wall, cpu;
  clock_gettime(CLOCK_MONOTONIC, &wall);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return {wall.tv_sec * 1e3 + wall.tv_nsec / 1e6, cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6};
}

struct Series {
  std::vector<double> wall;
  std::vector<double> cpu;
  void Add(Stamp start)
  {
    const Stamp end = Now();
    wall.push_back(end.wall - start.wall);
    cpu.push_back(end.cpu - start.cpu);
  }
  void Append(const Series& other)
  {
    wall.insert(wall.end(), other.wall.begin(), other.wall.end());
    cpu.insert(cpu.end(), other.cpu.begin(), other.cpu.end());
  }
};

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Print(const char* what, const Series& series, const char* note = "")
{
  printf("%-24s %7.2f ms wall %7.2f ms CPU  (best %6.2f ms wall)%s\n", what, Median(series.wall),
         Median(series.cpu), *std::min_element(series.wall.begin(), series.wall.end()), note);
}

// Two holidays, a user day and an event in every month.
bool WriteMarkDays(const std::string& path)
{
  FILE* file = fopen(path.c_str(), "w");
  if (file == nullptr)
    return false;
  for (int month = 1; month <= 12; month++) {
    fprintf(file, "[HD][ever/%02d/01][Holiday %d][enUS]\n", month, month);
    fprintf(file, "[HD][%ld/%02d/13][Fest %d][deDE]\n", kYear, month, month);
    fprintf(file, "[HD][1970/%02d/17][Birthday %d][user]\n", month, month);
    fprintf(file, "[HD][%ld/%02d/22][Meeting %d][evnt]\n", kYear, month, month);
  }
  return fclose(file) == 0;
}

bool WriteFile(const std::string& path, const char* content, mode_t mode)
{
  FILE* file = fopen(path.c_str(), "w");
  if (file == nullptr)
    return false;
  fputs(content, file);
  return fclose(file) == 0 && chmod(path.c_str(), mode) == 0;
}

} // namespace

int main(int argc, char** argv)
{
  // As Orvella and OrvellaExport do.
  KeepHeapReserve();
  cpu_set_t one;
  CPU_ZERO(&one);
  const int cpu = sched_getcpu();
  CPU_SET(cpu, &one);
  const bool pinned = sched_setaffinity(0, sizeof one, &one) == 0;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  char home[] = "/tmp/ova-export-bench-XXXXXX";
  if (mkdtemp(home) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  const std::string root = home;
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (root + "/.config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home, 1);
  mkdir((root + "/people").c_str(), 0755);
  mkdir((root + "/bin").c_str(), 0755);
  if (!WriteMarkDays(root + "/people/MarkDays") ||
      !WriteFile(root + "/bin/xdg-open", "#!/bin/sh\nexit 0\n", 0755)) {
    perror("bench files");
    return 1;
  }
  setenv("PATH", (root + "/bin:" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin")).c_str(), 1);

  QApplication app(argc, argv);
  // The export's trace lines would be timed with it; they go to /dev/null.
  fflush(stdout);
  const int console = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);

  STMarkups* marks = STMarkups::getSTMarkups();
  marks->fTodayCode = int32(kYear * 10000 + 3 * 100 + 10);
  std::vector<Series> pictures(12);
  Series pages, openers, years;
  for (int round = -1; round < kRounds; round++) {
    const Stamp yearStart = Now();
    for (long month = 1; month <= 12; month++) {
      const Stamp start = Now();
      ImageFromMon(kYear, month, 0);
      if (round >= 0)
        pictures[size_t(month - 1)].Add(start);
    }
    const Stamp start = Now();
    YCalToHtml(kYear, 3, 3);
    if (round >= 0) {
      pages.Add(start);
      years.Add(yearStart);
    }
    const Stamp opener = Now();
    StartDetached("xdg-open", {root + "/people/OrvelCal/CAL2004.htm"});
    if (round >= 0)
      openers.Add(opener);
  }
  fflush(stdout);
  dup2(console, STDOUT_FILENO);

  printf("year %ld: 12 pictures 226 x 171 PNG and the three-row page; medians of %d rounds", kYear, kRounds);
  if (pinned)
    printf(", pinned to CPU %d", cpu);
  printf("\n");
  Series all;
  for (size_t month = 0; month < pictures.size(); month++) {
    Print(("  picture " + std::to_string(month + 1)).c_str(), pictures[month]);
    all.Append(pictures[month]);
  }
  Print("picture (all months)", all);
  Print("page with opener start", pages);
  Print("  opener start alone", openers);
  Print("whole year", years, "  (target: under 40 ms)");
  // Let the last stand-in openers finish before their folder goes.
  usleep(300 * 1000);

  marks->DeleteMe();
  Prefs::getSTPrefs()->DeleteMe();
  nftw(home, [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
  return 0;
}
