#include "platform/storage/BDirectory.h"

#include "platform/storage/BFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDotEntry(const char* name)
{
  return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

} // namespace

BDirectory::BDirectory() = default;

BDirectory::BDirectory(const char* path) { SetTo(path); }

BDirectory::~BDirectory() { BDirectory::Unset(); }

status_t BDirectory::SetTo(const char* path)
{
  Unset();
  status_t status = fPath.SetTo(path);
  if (status != B_OK)
    return Adopt(-1, status);
  int fd = open(fPath.Path(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    fPath.Unset();
    return Adopt(-1, StatusFromErrno(errno));
  }
  // The listing gets its own descriptor: closedir closes it.
  int listFd = dup(fd);
  fDir = listFd < 0 ? nullptr : fdopendir(listFd);
  if (fDir == nullptr) {
    status = StatusFromErrno(errno);
    if (listFd >= 0)
      close(listFd);
    close(fd);
    fPath.Unset();
    return Adopt(-1, status);
  }
  return Adopt(fd, B_OK);
}

void BDirectory::Unset()
{
  if (fDir != nullptr)
    closedir(fDir);
  fDir = nullptr;
  fPath.Unset();
  BNode::Unset();
}

status_t BDirectory::GetNextEntry(BEntry* entry, bool traverse)
{
  if (entry == nullptr)
    return B_BAD_VALUE;
  if (fCStatus != B_OK)
    return fCStatus;
  for (;;) {
    errno = 0;
    struct dirent* next = readdir(fDir);
    if (next == nullptr) {
      entry->Unset();
      return errno != 0 ? StatusFromErrno(errno) : B_ENTRY_NOT_FOUND;
    }
    if (IsDotEntry(next->d_name))
      continue;
    BPath path(fPath.Path(), next->d_name);
    // A link that leads nowhere is given as the link itself, so that a walk
    // does not stop at it.
    if (traverse && entry->SetTo(path.Path(), true) == B_OK)
      return B_OK;
    return entry->SetTo(path.Path(), false);
  }
}

status_t BDirectory::Rewind()
{
  if (fCStatus != B_OK)
    return fCStatus;
  rewinddir(fDir);
  return B_OK;
}

int32 BDirectory::CountEntries() const
{
  if (fCStatus != B_OK)
    return fCStatus;
  // A listing of its own, so that GetNextEntry keeps its place.
  int fd = openat(fFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
  if (dir == nullptr) {
    status_t status = StatusFromErrno(errno);
    if (fd >= 0)
      close(fd);
    return status;
  }
  int32 count = 0;
  while (struct dirent* next = readdir(dir))
    count += IsDotEntry(next->d_name) ? 0 : 1;
  closedir(dir);
  return count;
}

std::string BDirectory::Resolve(const char* path) const
{
  return *path == '/' ? std::string(path) : std::string(BPath(fPath.Path(), path).Path());
}

status_t BDirectory::FindEntry(const char* path, BEntry* entry, bool traverse) const
{
  if (entry == nullptr || path == nullptr || *path == '\0')
    return B_BAD_VALUE;
  entry->Unset();
  if (fCStatus != B_OK)
    return fCStatus;
  std::string full = Resolve(path);
  struct stat st;
  if (lstat(full.c_str(), &st) < 0)
    return errno == ENOENT ? B_ENTRY_NOT_FOUND : StatusFromErrno(errno);
  return entry->SetTo(full.c_str(), traverse);
}

bool BDirectory::Contains(const char* path, int32 nodeFlags) const
{
  if (fCStatus != B_OK || path == nullptr || *path == '\0')
    return false;
  BEntry entry(Resolve(path).c_str());
  BPath entryPath, holder;
  char realHolder[PATH_MAX];
  char realSelf[PATH_MAX];
  // Compares real folders, so that links and ".." cannot fake the answer.
  if (entry.GetPath(&entryPath) != B_OK || strcmp(entryPath.Leaf(), "..") == 0
      || entryPath.GetParent(&holder) != B_OK || realpath(holder.Path(), realHolder) == nullptr
      || realpath(fPath.Path(), realSelf) == nullptr)
    return false;
  std::string self = std::string(realSelf) + (strcmp(realSelf, "/") == 0 ? "" : "/");
  std::string where = std::string(realHolder) + "/";
  if (where.compare(0, self.size(), self) != 0)
    return false;
  return ((nodeFlags & B_FILE_NODE) && entry.IsFile())
         || ((nodeFlags & B_SYMLINK_NODE) && entry.IsSymLink())
         || ((nodeFlags & B_DIRECTORY_NODE) && entry.IsDirectory());
}

status_t BDirectory::CreateFile(const char* path, BFile* file, bool failIfExists)
{
  if (path == nullptr || *path == '\0')
    return B_BAD_VALUE;
  if (fCStatus != B_OK)
    return fCStatus;
  uint32 mode = B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE;
  if (failIfExists)
    mode |= B_FAIL_IF_EXISTS;
  BFile local;
  return (file != nullptr ? file : &local)->SetTo(Resolve(path).c_str(), mode);
}

status_t BDirectory::CreateDirectory(const char* path, BDirectory* dir)
{
  if (path == nullptr || *path == '\0')
    return B_BAD_VALUE;
  if (fCStatus != B_OK)
    return fCStatus;
  std::string full = Resolve(path);
  if (mkdir(full.c_str(), 0755) < 0)
    return StatusFromErrno(errno);
  return dir != nullptr ? dir->SetTo(full.c_str()) : B_OK;
}
