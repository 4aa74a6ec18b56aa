// A fresh home folder, the Berlin time zone and a new marked-day registry
// for every test; the registry and the settings store go away after it.
#pragma once

#include "marks/STMarkups.h"
#include "settings/Prefs.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

class MarksTest : public testing::Test {
protected:
  void SetUp() override
  {
    fZone.Set("TZ", "Europe/Berlin");
    tzset();
    fMarks = STMarkups::getSTMarkups();
  }

  void TearDown() override
  {
    fMarks->DeleteMe();
    Prefs::getSTPrefs()->DeleteMe();
  }

  // Writes a file below the home folder, making its folder first.
  std::string WriteFile(const std::string& relative, const std::string& content)
  {
    std::string path = fHome.Path(relative);
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0755);
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file != nullptr && fwrite(content.data(), 1, content.size(), file) == content.size();
    if (file != nullptr)
      written = fclose(file) == 0 && written;
    EXPECT_TRUE(written) << path;
    return path;
  }

  // Replaces the list by the records of a MarkDays file with this content.
  void LoadMarkDays(const std::string& content)
  {
    std::string path = WriteFile("people/MarkDays", content);
    fMarks->ClearList();
    fMarks->LoadHolidays(path.c_str());
    fMarks->CheckHolidays();
  }

  TempHome fHome;
  ScopedEnv fZone;
  STMarkups* fMarks = nullptr;
};
