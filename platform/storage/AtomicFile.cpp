#include "platform/storage/AtomicFile.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<unsigned> sCounter{0};

// The file a path leads to: a link's target, else the path itself (also
// for a dangling link, which the new file then replaces).
std::string Target(const char* path)
{
  struct stat link;
  if (lstat(path, &link) != 0 || !S_ISLNK(link.st_mode))
    return path;
  char resolved[PATH_MAX];
  return realpath(path, resolved) != nullptr ? std::string(resolved) : std::string(path);
}

} // namespace

AtomicFile::AtomicFile(const char* path)
{
  if (path == nullptr || *path == '\0') {
    fStatus = B_BAD_VALUE;
    return;
  }
  fTarget = Target(path);
  struct stat old;
  const bool exists = stat(fTarget.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    fStatus = fFile.SetTo(fTarget.c_str(), B_WRITE_ONLY | B_ERASE_FILE);
    return;
  }

  const size_t slash = fTarget.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : fTarget.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? fTarget : fTarget.substr(slash + 1);
  // O_EXCL makes the name ours; another writer's file gets another number.
  for (int attempt = 0; attempt < 100; attempt++) {
    fTemporary = folder + "." + name + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(sCounter++);
    fStatus = fFile.SetTo(fTemporary.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS);
    if (fStatus != B_FILE_EXISTS)
      break;
  }
  if (fStatus != B_OK) {
    fTemporary.clear();
    return;
  }
  if (exists)
    chmod(fTemporary.c_str(), old.st_mode & 07777);
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard()
{
  fFile.Unset();
  if (!fTemporary.empty())
    unlink(fTemporary.c_str());
  fTemporary.clear();
  fStatus = B_NO_INIT;
}

status_t AtomicFile::Commit()
{
  if (fStatus != B_OK)
    return fStatus;
  if (fTemporary.empty()) {
    fFile.Unset();
    fStatus = B_NO_INIT;
    return B_OK;
  }
  status_t status = fFile.Sync();
  if (status == B_OK && rename(fTemporary.c_str(), fTarget.c_str()) != 0)
    status = StatusFromErrno(errno);
  if (status == B_OK)
    fTemporary.clear();
  Discard();
  return status;
}

status_t WriteFileWhole(const char* path, const void* data, size_t size)
{
  AtomicFile file(path);
  if (file.InitCheck() != B_OK)
    return file.InitCheck();
  const ssize_t written = file.File().Write(data, size);
  if (written < 0)
    return status_t(written);
  if (size_t(written) != size)
    return B_IO_ERROR;
  return file.Commit();
}
