#include "marks/IcsFolder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <vector>

#include "calendar/Codes.h"
#include "marks/IcsCalendar.h"
#include "marks/STMarkups.h"
#include "platform/storage/FindDirectory.h"

namespace {

// Larger files are no calendar a person keeps.
constexpr long kMaxFileSize = 16 * 1024 * 1024;

bool IsRegionCode(const std::string& name)
{
  return name.size() == 4 && islower(static_cast<unsigned char>(name[0])) && islower(static_cast<unsigned char>(name[1]))
         && isupper(static_cast<unsigned char>(name[2])) && isupper(static_cast<unsigned char>(name[3]));
}

// The whole file, or false with the reason.
bool ReadWhole(const std::string& path, std::string* text, std::string* reason)
{
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *reason = std::string("cannot open it (") + strerror(errno) + ")";
    return false;
  }
  text->clear();
  if (fseek(file, 0, SEEK_END) == 0) {
    const long size = ftell(file);
    if (size > 0 && size <= kMaxFileSize)
      text->reserve(size_t(size));
    rewind(file);
  }
  char buffer[65536];
  size_t got;
  bool tooLarge = false;
  while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) {
    if (text->size() + got > size_t(kMaxFileSize)) {
      tooLarge = true;
      break;
    }
    text->append(buffer, got);
  }
  const bool failed = ferror(file) != 0;
  fclose(file);
  if (tooLarge)
    *reason = "larger than 16 MiB";
  else if (failed)
    *reason = "cannot read it";
  return !tooLarge && !failed;
}

} // namespace

std::string DefaultCalendarFolder()
{
  BPath data;
  if (find_directory(B_USER_DATA_DIRECTORY, &data) != B_OK)
    return std::string();
  return std::string(data.Path()) + "/orvella/calendars";
}

uint32 CalendarKind(const std::string& fileName)
{
  const std::string suffix = ".ics";
  if (fileName.size() <= suffix.size() || fileName[0] == '.'
      || fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const std::string stem = fileName.substr(0, fileName.size() - suffix.size());
  if (stem == "user")
    return 'user';
  if (IsRegionCode(stem))
    return txt2int(stem.c_str());
  return 'evnt';
}

int32 LookForCalendars(const char* folder)
{
  const std::string where = folder != nullptr ? folder : DefaultCalendarFolder();
  std::vector<std::string> names;
  if (DIR* dir = where.empty() ? nullptr : opendir(where.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (CalendarKind(entry->d_name) != 0)
        names.push_back(entry->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());

  STMarkups* marks = STMarkups::getSTMarkups();
  // The folder's files read before and gone now leave the registry.
  const std::string prefix = where + "/";
  for (const std::string& id : marks->YearSourceIds()) {
    if (id.compare(0, prefix.size(), prefix) == 0
        && !std::binary_search(names.begin(), names.end(), id.substr(prefix.size())))
      marks->ReplaceYearSource({id, nullptr, {}});
  }
  int32 read = 0;
  std::string text;
  for (const std::string& name : names) {
    const std::string path = where + "/" + name;
    IcsProblems problems;
    const uint32 kind = CalendarKind(name);
    std::unique_ptr<IcsCalendar> calendar;
    if (ReadWhole(path, &text, &problems.unreadable))
      calendar = IcsCalendar::Parse(text, kind, &problems, path);
    if (calendar == nullptr) {
      printf("Calendar file '%s' not read: %s\n", path.c_str(), problems.Text().c_str());
      marks->ReplaceYearSource({path, nullptr, {}});
      continue;
    }
    if (problems.Any())
      printf("Calendar file '%s': %s\n", path.c_str(), problems.Text().c_str());
    printf(" Calendar load: '%s' %d entries\n", path.c_str(), calendar->CountEntries());
    marks->ReplaceYearSource({path, std::move(calendar), {}});
    read++;
  }
  printf(" - %d calendar files read\n", read);
  return read;
}
