#include "calendar/LocalTime.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string LocalTimeText(const char* format, time_t time)
{
  struct tm local;
  char text[64];
  if (localtime_r(&time, &local) == nullptr || strftime(text, sizeof text, format, &local) == 0)
    return std::string();
  return text;
}

time_t LocalInstant(int year, int month, int day, int hour, int minute, int second)
{
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return mktime(&local);
}

CivilDay LocalDay(time_t time)
{
  struct tm local;
  if (localtime_r(&time, &local) == nullptr)
    return CivilDay{0, 0, 0};
  return CivilDay{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

time_t NextLocalMidnight(time_t time)
{
  const CivilDay day = LocalDay(time);
  return LocalInstant(day.year, day.month, day.day + 1, 0, 0, 0);
}

namespace {

// The file the C library reads the zone from: /etc/localtime without TZ,
// the file a TZ of ":/path" or "/path" names; none for zone names and
// rules, which do not change while the program runs.
std::string ZoneFile()
{
  const char* zone = getenv("TZ");
  if (zone == nullptr)
    return "/etc/localtime";
  if (zone[0] == ':')
    zone++;
  return zone[0] == '/' ? zone : "";
}

// What tells one zone file from another: the file a link leads to, and
// the identity and age of what it holds.
std::string ZoneFileIdentity(const std::string& path)
{
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0)
    return std::string();
  char target[4096];
  const ssize_t length = readlink(path.c_str(), target, sizeof target);
  return std::string(target, length > 0 ? size_t(length) : 0) + "|" + std::to_string(info.st_dev) + ":" +
         std::to_string(info.st_ino) + ":" + std::to_string(info.st_size) + ":" +
         std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
}

} // namespace

bool FollowSystemTimeZone()
{
  static std::string last;
  static bool noted = false;
  const std::string now = ZoneFileIdentity(ZoneFile());
  const bool changed = noted && now != last;
  last = now;
  noted = true;
  if (!changed)
    return false;
  // The library reads the zone again only when TZ names another one than
  // it read last; a detour over UTC makes it read the same name afresh.
  const char* zone = getenv("TZ");
  const std::string saved = zone != nullptr ? zone : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  if (zone != nullptr)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  return true;
}
