// A fresh home, runtime and settings folder, the Berlin time zone, a
// stand-in xdg-open first on PATH that records its arguments, and the
// marked-day registry read from tests/data/export/MarkDays.
#pragma once

#include "calendar/Codes.h"
#include "marks/STMarkups.h"
#include "settings/Prefs.h"
#include "tests/platform/GuiApp.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>

inline std::string ReadWholeFile(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& content)
{
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
  ASSERT_TRUE(file.good()) << path;
}

class ExportTest : public testing::Test {
protected:
  void SetUp() override
  {
    EnsureGuiApp();  // fonts for the month pictures
    fEnv.Set("TZ", "Europe/Berlin");
    tzset();
    mkdir(fHome.Path("run").c_str(), 0700);
    fEnv.Set("XDG_RUNTIME_DIR", fHome.Path("run").c_str());

    // The stand-in opener writes one argument a line.
    mkdir(fHome.Path("bin").c_str(), 0755);
    WriteWholeFile(fHome.Path("bin/xdg-open"),
                   "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + OpenerLog() +
                       ".part\"\nmv \"" + OpenerLog() + ".part\" \"" + OpenerLog() + "\"\n");
    chmod(fHome.Path("bin/xdg-open").c_str(), 0755);
    const char* path = getenv("PATH");
    fEnv.Set("PATH", (fHome.Path("bin") + ":" + (path ? path : "/usr/bin:/bin")).c_str());

    fMarks = STMarkups::getSTMarkups();
    std::string markDays = ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/export/MarkDays");
    for (size_t at; (at = markDays.find("[home]")) != std::string::npos;)
      markDays.replace(at, 6, "[" + std::string(long2asc(fMarks->fRegion)) + "]");
    mkdir(fHome.Path("people").c_str(), 0755);
    WriteWholeFile(fHome.Path("people/MarkDays"), markDays);
    fMarks->ClearList();
    fMarks->LoadHolidays(fHome.Path("people/MarkDays").c_str());
    fMarks->CheckHolidays();
  }

  void TearDown() override
  {
    fMarks->DeleteMe();
    Prefs::getSTPrefs()->DeleteMe();
  }

  std::string CalendarPath(const std::string& name) const
  {
    return fHome.Path("people/OrvelCal/" + name);
  }
  std::string OpenerLog() const { return fHome.Path("opened"); }

  // The stand-in opener's arguments, one a line, once it has run (it runs
  // detached); empty when it did not run within the time.
  std::string WaitForOpener(std::chrono::milliseconds limit = std::chrono::seconds(10)) const
  {
    const auto end = std::chrono::steady_clock::now() + limit;
    struct stat st;
    while (stat(OpenerLog().c_str(), &st) != 0 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadWholeFile(OpenerLog());
  }

  TempHome fHome;
  ScopedEnv fEnv;
  STMarkups* fMarks = nullptr;
};
