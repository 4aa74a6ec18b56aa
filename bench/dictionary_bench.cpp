// Times the language step of Orvella's start-up: the language menu scans
// the dictionaries beside the program and the built-in labels are mirrored,
// once with no language remembered and once with German remembered, which
// also loads Orvella.deDE. The difference is what the remembered dictionary
// adds to the start. Medians of 500 rounds of each, interleaved; a fresh
// home folder, the build tree's dictionaries.
#include "calendar/Labels.h"
#include "locale/KXLabel.h"
#include "locale/KXLangMenu.h"
#include "locale/LocaleSetting.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 500;

using Clock = std::chrono::steady_clock;

// One start: the menu, the mirrored labels and, when remembered, the
// dictionary; then everything goes away again.
double StartMicroseconds(const std::string& programFolder)
{
  const Clock::time_point start = Clock::now();
  auto* menu = new KXLangMenu("Language", "Orvella", programFolder.c_str());
  menu->StartWith(eLabel);
  const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  delete menu;
  KXLabel::labelZgr->DeleteMe();
  return took;
}

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
  char home[] = "/tmp/ova-dictionary-bench-XXXXXX";
  if (mkdtemp(home) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  BPath bench;
  find_directory(B_PROGRAM_DIRECTORY, &bench);
  const std::string programs = std::string(bench.Path()) + "/../bin";

  // The trace lines of the dictionary would be timed too; they go nowhere.
  FILE* out = fdopen(dup(fileno(stdout)), "w");
  if (out == nullptr || freopen("/dev/null", "w", stdout) == nullptr)
    return 1;

  std::vector<double> without, with;
  for (int round = 0; round < kRounds; round++) {
    AskStrSetting("Orvella", "_non", true);
    without.push_back(StartMicroseconds(programs));
    AskStrSetting("Orvella", "deDE", true);
    with.push_back(StartMicroseconds(programs));
  }
  AskStrSetting("Orvella", "deDE", true);
  auto* menu = new KXLangMenu("Language", "Orvella", programs.c_str());
  menu->StartWith(eLabel);
  const bool german = menu->CurrentPath().find("Orvella.deDE") != std::string::npos
                      && std::string(KXLabel::labelZgr->getLabel(nullptr, 2)) == "Abbrechen";
  delete menu;

  fprintf(out, "language step of the start, median of %d rounds:\n", kRounds);
  fprintf(out, "  nothing remembered:   %8.1f us\n", Median(without));
  fprintf(out, "  German remembered:    %8.1f us (%s)\n", Median(with), german ? "loaded" : "NOT LOADED");
  fprintf(out, "  added by the dictionary: %5.1f us (limit 2000 us)\n", Median(with) - Median(without));
  fclose(out);
  nftw(home, [](const char* path, const struct stat*, int, struct FTW*) { return remove(path); }, 16,
       FTW_DEPTH | FTW_PHYS);
  return german ? 0 : 1;
}
