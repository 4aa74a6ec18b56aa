// Where the client looks for Orvella's program file.
#include "client/ProgramFile.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

// Makes `folder` (inside the temporary home) and, unless `kind` is
// "none", an entry called Orvella in it: "program", "plain" (a file that
// may not run) or "folder".
std::string Folder(const TempHome& home, const char* folder, const char* kind)
{
  const std::string path = home.Path(folder);
  mkdir(path.c_str(), 0700);
  const std::string entry = path + "/Orvella";
  if (strcmp(kind, "folder") == 0) {
    mkdir(entry.c_str(), 0700);
  } else if (strcmp(kind, "none") != 0) {
    std::ofstream(entry) << "#!/bin/sh\n";
    chmod(entry.c_str(), strcmp(kind, "program") == 0 ? 0700 : 0600);
  }
  return path;
}

} // namespace

TEST(ProgramFileTest, FindsTheFirstProgramBesideThenOnPath)
{
  struct {
    const char* name;
    const char* beside;  // kind of entry beside the executable
    const char* path[3]; // kinds of entries in the PATH folders
    int found;           // -1 none, 0 beside, 1.. the PATH folder
  } const rows[] = {
      {"beside the executable comes before PATH", "program", {"program", "none", "none"}, 0},
      {"PATH when nothing is beside", "none", {"none", "program", "program"}, 2},
      {"files that may not run and folders are skipped", "plain", {"folder", "plain", "program"}, 3},
      {"nothing anywhere", "folder", {"none", "plain", "none"}, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempHome home;
    std::vector<std::string> folders = {Folder(home, "beside", row.beside)};
    std::string searchPath;
    for (int i = 0; i < 3; i++) {
      folders.push_back(Folder(home, ("p" + std::to_string(i)).c_str(), row.path[i]));
      searchPath += (i ? ":" : "") + folders.back();
    }
    const std::string expected = row.found < 0 ? "" : folders[row.found] + "/Orvella";
    EXPECT_EQ(FindProgramFile("Orvella", folders[0], searchPath.c_str()), expected);
  }
}
