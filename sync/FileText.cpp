#include "sync/FileText.h"

#include "platform/storage/AtomicFile.h"
#include "platform/storage/FindDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

bool ReadFileText(const std::string& path, long long limit, std::string* text, std::string* error)
{
  error->clear();
  text->clear();
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (errno != ENOENT)
      *error = path + ": " + strerror(errno);
    return false;
  }
  struct stat status;
  bool read = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
  if (!read)
    *error = path + ": no regular file";
  else if (status.st_size > limit)
    *error = path + ": larger than " + std::to_string(limit >> 20) + " MiB";
  else {
    text->resize(size_t(status.st_size));
    const size_t got = fread(text->data(), 1, text->size(), file);
    text->resize(got);
    if (ferror(file) != 0)
      *error = path + ": cannot read it";
  }
  fclose(file);
  return error->empty();
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string* error)
{
  error->clear();
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    const status_t made = create_directory(path.substr(0, slash).c_str(), 0700);
    if (made != B_OK) {
      *error = path.substr(0, slash) + ": " + StatusText(made);
      return false;
    }
  }
  const status_t written = WriteFileWhole(path.c_str(), text.data(), text.size());
  if (written != B_OK) {
    *error = path + ": " + StatusText(written);
    return false;
  }
  chmod(path.c_str(), 0600);
  return true;
}
