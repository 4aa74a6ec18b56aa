#include "platform/storage/BNode.h"

#include "platform/storage/Xattr.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kUserPrefix[] = "user.";
// The companion holding NAME's type code is "user.ova.type.NAME".
const char kTypePrefix[] = "ova.type.";
constexpr size_t kXattrNameMax = 255;
// Largest value the kernel accepts for one extended attribute.
constexpr size_t kXattrSizeMax = 65536;

bool IsTypeCompanion(const char* name)
{
  return strncmp(name, kTypePrefix, sizeof kTypePrefix - 1) == 0;
}

// Checks an attribute name; `withType` also demands room for the companion.
status_t CheckName(const char* name, bool withType)
{
  if (name == nullptr || *name == '\0' || IsTypeCompanion(name))
    return B_BAD_VALUE;
  size_t full = sizeof kUserPrefix - 1 + strlen(name);
  if (withType)
    full += sizeof kTypePrefix - 1;
  return full > kXattrNameMax ? StatusFromErrno(ENAMETOOLONG) : B_OK;
}

// Checks the node and the arguments of an attribute call.
status_t CheckCall(status_t init, const char* name, bool withType, off_t offset = 0,
                   const void* buffer = nullptr, size_t length = 0)
{
  if (init != B_OK)
    return init;
  if (offset < 0 || (buffer == nullptr && length > 0))
    return B_BAD_VALUE;
  return CheckName(name, withType);
}

std::string ValueXattr(const char* name) { return std::string(kUserPrefix) + name; }

std::string TypeXattr(const char* name)
{
  return std::string(kUserPrefix) + kTypePrefix + name;
}

// Reads a variable-size result (a value or the name list): asks for the size,
// then reads, and tries again when another writer changed it in between.
template <typename Call> status_t ReadWhole(Call call, std::vector<char>* out)
{
  for (int attempt = 0; attempt < 4; attempt++) {
    ssize_t size = call(nullptr, 0);
    if (size < 0)
      return size;
    out->resize(size);
    ssize_t got = call(out->data(), out->size());
    if (got >= 0) {
      out->resize(got);
      return B_OK;
    }
    if (got != StatusFromErrno(ERANGE))
      return got;
  }
  return StatusFromErrno(ERANGE);
}

status_t ReadValue(int fd, const std::string& xname, std::vector<char>* out)
{
  return ReadWhole(
      [&](void* buffer, size_t size) { return xattr_get(fd, xname.c_str(), buffer, size); }, out);
}

} // namespace

BNode::BNode() = default;

BNode::BNode(const char* path) { SetTo(path); }

BNode::~BNode() { BNode::Unset(); }

status_t BNode::SetTo(const char* path)
{
  Unset();
  struct stat st;
  if (path == nullptr || *path == '\0')
    return Adopt(-1, B_BAD_VALUE);
  if (stat(path, &st) < 0)
    return Adopt(-1, StatusFromErrno(errno));
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return Adopt(-1, B_NOT_SUPPORTED);
  // Non-blocking and without a controlling terminal, in case the entry was
  // swapped for something else since the stat.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  return Adopt(fd, StatusFromErrno(errno));
}

status_t BNode::Adopt(int fd, status_t status)
{
  fFd = fd;
  fCStatus = fd >= 0 ? B_OK : status;
  return fCStatus;
}

status_t BNode::Sync()
{
  if (fCStatus != B_OK)
    return fCStatus;
  return fsync(fFd) < 0 ? StatusFromErrno(errno) : B_OK;
}

void BNode::Unset()
{
  if (fFd >= 0)
    close(fFd);
  fFd = -1;
  fCStatus = B_NO_INIT;
  fAttrNames.clear();
  fNextAttr = 0;
  fAttrsListed = false;
}

ssize_t BNode::ReadAttr(const char* name, type_code, off_t offset, void* buffer,
                        size_t length) const
{
  status_t status = CheckCall(fCStatus, name, false, offset, buffer, length);
  if (status != B_OK)
    return status;
  std::vector<char> value;
  status = ReadValue(fFd, ValueXattr(name), &value);
  if (status != B_OK)
    return status;
  if (static_cast<uint64>(offset) >= value.size())
    return 0;
  size_t count = std::min(length, value.size() - static_cast<size_t>(offset));
  memcpy(buffer, value.data() + offset, count);
  return count;
}

ssize_t BNode::WriteAttr(const char* name, type_code type, off_t offset, const void* buffer,
                         size_t length)
{
  status_t status = CheckCall(fCStatus, name, true, offset, buffer, length);
  if (status != B_OK)
    return status;
  if (static_cast<uint64>(offset) > kXattrSizeMax || length > kXattrSizeMax - offset)
    return StatusFromErrno(E2BIG);

  std::string xname = ValueXattr(name);
  std::vector<char> value;
  if (offset > 0) {
    status = ReadValue(fFd, xname, &value);
    if (status != B_OK && status != B_ENTRY_NOT_FOUND)
      return status;
    value.resize(offset, '\0');
  }
  const char* bytes = static_cast<const char*>(buffer);
  value.insert(value.end(), bytes, bytes + length);
  status = xattr_set(fFd, xname.c_str(), value.data(), value.size());
  if (status != B_OK)
    return status;

  // The type code, first character first, so that getfattr shows it as text.
  // Left alone when it already matches, which spares a write per save.
  std::string tname = TypeXattr(name);
  const unsigned char code[4] = {static_cast<unsigned char>(type >> 24),
                                 static_cast<unsigned char>(type >> 16),
                                 static_cast<unsigned char>(type >> 8),
                                 static_cast<unsigned char>(type)};
  unsigned char stored[4];
  if (xattr_get(fFd, tname.c_str(), stored, sizeof stored) != sizeof stored
      || memcmp(stored, code, sizeof code) != 0) {
    status = xattr_set(fFd, tname.c_str(), code, sizeof code);
    if (status != B_OK)
      return status;
  }
  return length;
}

status_t BNode::RemoveAttr(const char* name)
{
  status_t status = CheckCall(fCStatus, name, false);
  if (status != B_OK)
    return status;
  status = xattr_remove(fFd, ValueXattr(name).c_str());
  if (status == B_OK || status == B_ENTRY_NOT_FOUND) {
    // The companion may be missing (a value written by another tool).
    xattr_remove(fFd, TypeXattr(name).c_str());
  }
  return status;
}

status_t BNode::GetAttrInfo(const char* name, attr_info* info) const
{
  status_t status = CheckCall(fCStatus, name, false, 0, info, sizeof *info);
  if (status != B_OK)
    return status;
  ssize_t size = xattr_get(fFd, ValueXattr(name).c_str(), nullptr, 0);
  if (size < 0)
    return size;
  unsigned char code[4];
  info->size = size;
  info->type = B_RAW_TYPE;
  if (CheckName(name, true) == B_OK
      && xattr_get(fFd, TypeXattr(name).c_str(), code, sizeof code) == sizeof code)
    info->type = (type_code(code[0]) << 24) | (code[1] << 16) | (code[2] << 8) | code[3];
  return B_OK;
}

status_t BNode::GetNextAttrName(char* buffer)
{
  if (fCStatus != B_OK)
    return fCStatus;
  if (buffer == nullptr)
    return B_BAD_VALUE;
  if (!fAttrsListed) {
    std::vector<char> list;
    status_t status = ReadWhole(
        [this](void* out, size_t size) {
          return xattr_list(fFd, static_cast<char*>(out), size);
        },
        &list);
    if (status != B_OK)
      return status;
    fAttrNames.clear();
    const size_t userLength = sizeof kUserPrefix - 1;
    for (size_t at = 0; at < list.size();) {
      const char* name = list.data() + at;
      size_t length = strnlen(name, list.size() - at);
      std::string full(name, length);
      at += length + 1;
      if (full.compare(0, userLength, kUserPrefix) == 0
          && !IsTypeCompanion(full.c_str() + userLength))
        fAttrNames.push_back(full.substr(userLength));
    }
    fNextAttr = 0;
    fAttrsListed = true;
  }
  if (fNextAttr >= fAttrNames.size())
    return B_ENTRY_NOT_FOUND;
  // Names fit: the kernel limits them to 255 bytes with the "user." prefix.
  const std::string& next = fAttrNames[fNextAttr++];
  size_t length = std::min(next.size(), size_t(B_ATTR_NAME_LENGTH - 1));
  memcpy(buffer, next.data(), length);
  buffer[length] = '\0';
  return B_OK;
}

status_t BNode::RewindAttrs()
{
  if (fCStatus != B_OK)
    return fCStatus;
  fAttrsListed = false;
  fNextAttr = 0;
  return B_OK;
}
