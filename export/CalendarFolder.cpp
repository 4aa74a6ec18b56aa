#include "export/CalendarFolder.h"

#include "platform/storage/FindDirectory.h"

#include <cstdarg>
#include <cstdio>

std::string CalendarFolder()
{
  BPath home;
  find_directory(B_USER_DIRECTORY, &home);
  return std::string(home.Path()) + "/people/OrvelCal";
}

std::string FileIn(const std::string& folder, const char* format, ...)
{
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string name(length > 0 ? size_t(length) : 0, '\0');
  if (length > 0)
    vsnprintf(name.data(), name.size() + 1, format, again);
  va_end(again);
  return folder + "/" + name;
}
