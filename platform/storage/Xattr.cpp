#include "platform/storage/Xattr.h"

#include <sys/xattr.h>

namespace {

status_t XattrStatus(int error)
{
  return error == ENODATA ? B_ENTRY_NOT_FOUND : StatusFromErrno(error);
}

} // namespace

ssize_t xattr_get(int fd, const char* name, void* value, size_t size)
{
  ssize_t got = fgetxattr(fd, name, value, size);
  return got < 0 ? XattrStatus(errno) : got;
}

status_t xattr_set(int fd, const char* name, const void* value, size_t size)
{
  return fsetxattr(fd, name, value, size, 0) < 0 ? XattrStatus(errno) : B_OK;
}

ssize_t xattr_list(int fd, char* list, size_t size)
{
  ssize_t got = flistxattr(fd, list, size);
  return got < 0 ? XattrStatus(errno) : got;
}

status_t xattr_remove(int fd, const char* name)
{
  return fremovexattr(fd, name) < 0 ? XattrStatus(errno) : B_OK;
}
