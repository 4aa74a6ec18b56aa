#include "platform/storage/BFile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32 kOpenFlags = O_ACCMODE | O_CREAT | O_TRUNC | O_EXCL | O_APPEND;

// Writes all of `size` bytes, at `position` or (when negative) at the current
// position, retrying interrupted and short writes.
ssize_t WriteAll(int fd, off_t position, const void* buffer, size_t size)
{
  const char* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < size) {
    ssize_t wrote = position < 0 ? write(fd, bytes + done, size - done)
                                 : pwrite(fd, bytes + done, size - done, position + done);
    if (wrote < 0 && errno == EINTR)
      continue;
    if (wrote < 0)
      return done > 0 ? ssize_t(done) : StatusFromErrno(errno);
    if (wrote == 0)
      break;
    done += wrote;
  }
  return done;
}

} // namespace

BFile::BFile() = default;

BFile::BFile(const char* path, uint32 openMode) { SetTo(path, openMode); }

status_t BFile::SetTo(const char* path, uint32 openMode)
{
  Unset();
  fMode = 0;
  if (path == nullptr || *path == '\0')
    return Adopt(-1, B_BAD_VALUE);
  // Opened non-blocking so that a pipe cannot hang the program; normal
  // blocking reads are restored below.
  int fd = open(path, (openMode & kOpenFlags) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0)
    return Adopt(-1, StatusFromErrno(errno));
  struct stat st;
  status_t status = fstat(fd, &st) < 0 ? StatusFromErrno(errno)
                    : S_ISDIR(st.st_mode) ? StatusFromErrno(EISDIR)
                                          : B_OK;
  if (status != B_OK) {
    close(fd);
    return Adopt(-1, status);
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fMode = openMode;
  return Adopt(fd, B_OK);
}

bool BFile::IsReadable() const
{
  uint32 access = fMode & O_ACCMODE;
  return fCStatus == B_OK && (access == O_RDONLY || access == O_RDWR);
}

bool BFile::IsWritable() const
{
  uint32 access = fMode & O_ACCMODE;
  return fCStatus == B_OK && (access == O_WRONLY || access == O_RDWR);
}

ssize_t BFile::Read(void* buffer, size_t size)
{
  if (fCStatus != B_OK)
    return fCStatus;
  ssize_t got;
  do
    got = read(fFd, buffer, size);
  while (got < 0 && errno == EINTR);
  return got < 0 ? StatusFromErrno(errno) : got;
}

ssize_t BFile::ReadAt(off_t position, void* buffer, size_t size)
{
  if (fCStatus != B_OK)
    return fCStatus;
  if (position < 0)
    return B_BAD_VALUE;
  ssize_t got;
  do
    got = pread(fFd, buffer, size, position);
  while (got < 0 && errno == EINTR);
  return got < 0 ? StatusFromErrno(errno) : got;
}

ssize_t BFile::Write(const void* buffer, size_t size)
{
  return fCStatus != B_OK ? fCStatus : WriteAll(fFd, -1, buffer, size);
}

ssize_t BFile::WriteAt(off_t position, const void* buffer, size_t size)
{
  if (fCStatus != B_OK)
    return fCStatus;
  if (position < 0)
    return B_BAD_VALUE;
  return WriteAll(fFd, position, buffer, size);
}

off_t BFile::Seek(off_t position, uint32 seekMode)
{
  if (fCStatus != B_OK)
    return fCStatus;
  off_t at = lseek(fFd, position, seekMode);
  return at < 0 ? StatusFromErrno(errno) : at;
}

off_t BFile::Position() const
{
  if (fCStatus != B_OK)
    return fCStatus;
  off_t at = lseek(fFd, 0, SEEK_CUR);
  return at < 0 ? StatusFromErrno(errno) : at;
}

status_t BFile::GetSize(off_t* size) const
{
  if (fCStatus != B_OK)
    return fCStatus;
  struct stat st;
  if (size == nullptr)
    return B_BAD_VALUE;
  if (fstat(fFd, &st) < 0)
    return StatusFromErrno(errno);
  *size = st.st_size;
  return B_OK;
}

status_t BFile::SetSize(off_t size)
{
  if (fCStatus != B_OK)
    return fCStatus;
  return ftruncate(fFd, size) < 0 ? StatusFromErrno(errno) : B_OK;
}
