#include "marks/IcsFolder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "calendar/Codes.h"
#include "marks/IcsCalendar.h"
#include "marks/STMarkups.h"
#include "marks/YearWork.h"
#include "platform/storage/FindDirectory.h"

namespace {

// Larger files are no calendar a person keeps.
constexpr size_t kMaxFileSize = 16 * 1024 * 1024;
// What the folder may hold in all: the calendars of one person, with room
// to spare. Files beyond are not read.
constexpr size_t kMaxFolderSize = 64 * 1024 * 1024;
constexpr size_t kMaxFiles = 1000;

bool IsRegionCode(const std::string& name)
{
  return name.size() == 4 && islower(static_cast<unsigned char>(name[0])) && islower(static_cast<unsigned char>(name[1]))
         && isupper(static_cast<unsigned char>(name[2])) && isupper(static_cast<unsigned char>(name[3]));
}

// The whole of a regular file of at most 16 MiB and `left` bytes, or false
// with the reason. Opened without blocking, so a named pipe or a device
// with a calendar's name is refused instead of waited for.
bool ReadWhole(const std::string& path, size_t left, std::string* text, std::string* reason)
{
  const size_t limit = std::min(left, kMaxFileSize);
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *reason = std::string("cannot open it (") + strerror(errno) + ")";
    return false;
  }
  struct stat about;
  bool read = false;
  if (fstat(fd, &about) != 0) {
    *reason = std::string("cannot read it (") + strerror(errno) + ")";
  } else if (!S_ISREG(about.st_mode)) {
    *reason = "not a regular file";
  } else if (size_t(about.st_size) > kMaxFileSize) {
    *reason = "larger than 16 MiB";
  } else if (size_t(about.st_size) > left) {
    *reason = "the calendar folder's 64 MiB are used up";
  } else {
    text->clear();
    text->reserve(size_t(about.st_size));
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof(buffer))) > 0 || (got < 0 && errno == EINTR)) {
      if (got > 0)
        text->append(buffer, size_t(got));
      if (text->size() > limit)
        break;
    }
    if (got < 0)
      *reason = std::string("cannot read it (") + strerror(errno) + ")";
    else if (text->size() > limit)
      *reason = "it grew while it was read";
    read = got == 0 && text->size() <= limit;
  }
  close(fd);
  return read;
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

std::vector<SourceMarks> ReadCalendarFolder(const std::string& folder, const std::vector<int32>& years,
                                            const std::atomic<bool>* stop)
{
  DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
  if (dir == nullptr)
    return {};
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (CalendarKind(entry->d_name) != 0)
      names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  if (names.size() > kMaxFiles) {
    printf("Calendar folder '%s': %zu calendar files; only the first %zu are read\n", folder.c_str(), names.size(),
           kMaxFiles);
    names.resize(kMaxFiles);
  }

  std::vector<SourceMarks> files;
  size_t left = kMaxFolderSize;
  int32 read = 0;
  std::string text;
  for (const std::string& name : names) {
    if (stop != nullptr && stop->load())
      break;
    files.push_back({folder + "/" + name, nullptr, {}});
    const std::string& path = files.back().id;
    IcsProblems problems;
    std::unique_ptr<IcsCalendar> calendar;
    if (ReadWhole(path, left, &text, &problems.unreadable)) {
      left -= text.size();
      calendar = IcsCalendar::Parse(text, CalendarKind(name), &problems, path);
    }
    if (calendar == nullptr) {
      printf("Calendar file '%s' not read: %s\n", path.c_str(), problems.Text().c_str());
      continue;
    }
    if (problems.Any())
      printf("Calendar file '%s': %s\n", path.c_str(), problems.Text().c_str());
    printf(" Calendar load: '%s' %d entries\n", path.c_str(), calendar->CountEntries());
    files.back().source = std::move(calendar);
    read++;
  }
  printf(" - %d calendar files read\n", read);

  std::vector<std::shared_ptr<const YearSource>> sources;
  for (const SourceMarks& file : files) {
    if (file.source != nullptr)
      sources.push_back(file.source);
  }
  for (int32 year : years) {
    if (sources.empty())
      break;
    std::vector<SourceYear> worked = WorkOutYear(year, sources, stop);
    auto file = files.begin();
    for (SourceYear& got : worked) {
      while (file->source != got.source)
        ++file;
      file->years[year] = std::move(got.marks);
    }
  }
  return files;
}

int32 TakeCalendarFolder(STMarkups* marks, const std::string& folder, std::vector<SourceMarks> files)
{
  // The folder's files read before and gone now leave the registry.
  const std::string prefix = folder + "/";
  for (const std::string& id : marks->YearSourceIds()) {
    const bool inFolder = id.compare(0, prefix.size(), prefix) == 0;
    if (inFolder && std::none_of(files.begin(), files.end(), [&id](const SourceMarks& file) { return file.id == id; }))
      marks->ReplaceYearSource({id, nullptr, {}});
  }
  int32 read = 0;
  for (SourceMarks& file : files) {
    read += file.source != nullptr ? 1 : 0;
    marks->ReplaceYearSource(std::move(file));
  }
  return read;
}

int32 LookForCalendars(const char* folder)
{
  const std::string where = folder != nullptr ? folder : DefaultCalendarFolder();
  return TakeCalendarFolder(STMarkups::getSTMarkups(), where, ReadCalendarFolder(where, {}));
}
