// Whole files read and written as text. A file is written whole or not at
// all: into a temporary file beside it that then takes its name, so a
// reader (the window, OrvellaExport, a crash half-way) sees the old file or
// the new one, never a mix.
//
//   std::string text, error;
//   if (!ReadFileText(path, 16 << 20, &text, &error)) printf("%s\n", error.c_str());
//   WriteFileWhole(path, text, &error);
#pragma once

#include <string>

// False with the reason when the file cannot be read, is no regular file or
// is larger than `limit` bytes; a missing file gives false and an empty
// reason.
bool ReadFileText(const std::string& path, long long limit, std::string* text, std::string* error);

// Makes the file's folder when missing; false with the reason on failure,
// when the old file stays as it was. Files are made readable by the user only.
bool WriteFileWhole(const std::string& path, const std::string& text, std::string* error);
