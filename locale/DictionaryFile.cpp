#include "locale/DictionaryFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DictionaryFile::DictionaryFile(const char* path)
{
  if (path == nullptr || path[0] != '/') {
    fStatus = B_BAD_VALUE;
    return;
  }
  // Opened without waiting, so that a pipe put in place of the file cannot
  // block; what is open is checked, not the name.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    fStatus = StatusFromErrno(errno);
    return;
  }
  struct stat info;
  if (fstat(fd, &info) < 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    fStatus = B_BAD_VALUE;
    return;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fFile = fdopen(fd, "r");
  if (fFile == nullptr) {
    fStatus = StatusFromErrno(errno);
    close(fd);
    return;
  }
  fSize = info.st_size;
  fStatus = B_OK;
}

DictionaryFile::~DictionaryFile()
{
  if (fFile != nullptr)
    fclose(fFile);
}

bool DictionaryFile::HasData()
{
  if (fFile == nullptr)
    return false;
  const bool any = fgetc(fFile) != EOF;
  rewind(fFile);
  fAtStart = true;
  return any;
}

bool DictionaryFile::NextLine(std::string* line)
{
  if (fFile == nullptr || line == nullptr)
    return false;
  line->clear();
  int c;
  while ((c = getc(fFile)) != EOF && c != '\n')
    line->push_back(char(c));
  // Editors may start a UTF-8 file with a byte-order mark; it is no part of
  // the first line, which may be an entry.
  if (fAtStart && line->compare(0, 3, "\xef\xbb\xbf") == 0)
    line->erase(0, 3);
  fAtStart = false;
  return c != EOF || !line->empty();
}
