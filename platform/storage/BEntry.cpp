#include "platform/storage/BEntry.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

// The entry's own file-type bits (links not followed), 0 when it is missing.
mode_t EntryType(const BPath& path)
{
  struct stat st;
  if (path.InitCheck() != B_OK || lstat(path.Path(), &st) < 0)
    return 0;
  return st.st_mode & S_IFMT;
}

} // namespace

BEntry::BEntry(const char* path, bool traverse) { SetTo(path, traverse); }

status_t BEntry::SetTo(const char* path, bool traverse)
{
  status_t status = fPath.SetTo(path);
  if (status != B_OK)
    return status;
  if (traverse && EntryType(fPath) == S_IFLNK) {
    char target[PATH_MAX];
    if (realpath(fPath.Path(), target) == nullptr) {
      status = StatusFromErrno(errno);
      Unset();
      return status;
    }
    return fPath.SetTo(target);
  }
  BPath folder;
  struct stat st;
  if (fPath.GetParent(&folder) == B_OK
      && (stat(folder.Path(), &st) < 0 || !S_ISDIR(st.st_mode))) {
    Unset();
    return B_ENTRY_NOT_FOUND;
  }
  return B_OK;
}

bool BEntry::Exists() const { return EntryType(fPath) != 0; }

status_t BEntry::GetPath(BPath* path) const
{
  if (path == nullptr)
    return B_BAD_VALUE;
  if (InitCheck() != B_OK) {
    path->Unset();
    return InitCheck();
  }
  *path = fPath;
  return B_OK;
}

status_t BEntry::GetName(char* buffer) const
{
  if (buffer == nullptr)
    return B_BAD_VALUE;
  if (InitCheck() != B_OK)
    return InitCheck();
  // Linux names have at most 255 bytes, so the leaf always fits.
  const char* leaf = fPath.Leaf();
  size_t length = strnlen(leaf, B_FILE_NAME_LENGTH - 1);
  memcpy(buffer, leaf, length);
  buffer[length] = '\0';
  return B_OK;
}

bool BEntry::IsFile() const { return EntryType(fPath) == S_IFREG; }

bool BEntry::IsDirectory() const { return EntryType(fPath) == S_IFDIR; }

bool BEntry::IsSymLink() const { return EntryType(fPath) == S_IFLNK; }
