#include "platform/storage/BPath.h"

#include <climits>
#include <unistd.h>

namespace {

// Adds the components of `path` to `out` (which has no trailing slash),
// dropping empty and "." components.
void AppendClean(std::string* out, const std::string& path)
{
  size_t at = 0;
  while (at <= path.size()) {
    size_t end = path.find('/', at);
    if (end == std::string::npos)
      end = path.size();
    std::string part = path.substr(at, end - at);
    if (!part.empty() && part != ".")
      *out += "/" + part;
    at = end + 1;
  }
}

} // namespace

BPath::BPath(const char* dir, const char* leaf) { SetTo(dir, leaf); }

status_t BPath::SetTo(const char* dir, const char* leaf)
{
  Unset();
  if (dir == nullptr || *dir == '\0' || (leaf != nullptr && *leaf == '/'))
    return fCStatus = B_BAD_VALUE;
  std::string clean;
  if (*dir != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr)
      return fCStatus = StatusFromErrno(errno);
    AppendClean(&clean, cwd);
  }
  AppendClean(&clean, dir);
  if (leaf != nullptr)
    AppendClean(&clean, leaf);
  fPath = clean.empty() ? "/" : clean;
  return fCStatus = B_OK;
}

status_t BPath::Append(const char* path)
{
  if (fCStatus != B_OK)
    return fCStatus;
  if (path == nullptr)
    return B_OK;
  if (*path == '/')
    return B_BAD_VALUE;
  std::string joined = fPath == "/" ? std::string() : fPath;
  AppendClean(&joined, path);
  fPath = joined.empty() ? "/" : joined;
  return B_OK;
}

status_t BPath::GetParent(BPath* parent) const
{
  if (parent == nullptr)
    return B_BAD_VALUE;
  if (fCStatus != B_OK || fPath == "/") {
    parent->Unset();
    return fCStatus != B_OK ? fCStatus : B_ENTRY_NOT_FOUND;
  }
  size_t slash = fPath.rfind('/');
  return parent->SetTo(slash == 0 ? "/" : fPath.substr(0, slash).c_str());
}

void BPath::Unset()
{
  fPath.clear();
  fCStatus = B_NO_INIT;
}

const char* BPath::Leaf() const
{
  size_t slash = fPath.rfind('/');
  return slash == std::string::npos ? fPath.c_str() : fPath.c_str() + slash + 1;
}
