// Whole text files of the sync: calendars.conf and the cache. A file is
// written whole or not at all (platform/storage/AtomicFile.h), so a
// reader (the window, OrvellaExport, a start after a crash) sees the old
// file or the new one, never a mix.
//
//   std::string text, error;
//   if (!ReadFileText(path, 16 << 20, &text, &error)) printf("%s\n", error.c_str());
//   WriteTextFile(path, text, &error);
#pragma once

#include <string>

// False with the reason when the file cannot be read, is no regular file or
// is larger than `limit` bytes; a missing file gives false and an empty
// reason.
bool ReadFileText(const std::string& path, long long limit, std::string* text, std::string* error);

// Makes the file's folder (readable by the user only) when missing; false
// with the reason on failure, when the old file stays as it was. The file
// is readable by the user only: calendars are private.
bool WriteTextFile(const std::string& path, const std::string& text, std::string* error);
