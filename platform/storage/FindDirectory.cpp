#include "platform/storage/FindDirectory.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The value of an environment variable when it is an absolute path.
const char* AbsoluteEnv(const char* name)
{
  const char* value = getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

status_t HomeFolder(BPath* path)
{
  if (const char* home = AbsoluteEnv("HOME"))
    return path->SetTo(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? size : 16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr
      || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    path->Unset();
    return B_ENTRY_NOT_FOUND;
  }
  return path->SetTo(found->pw_dir);
}

status_t ProgramFolder(BPath* path)
{
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) {
    path->Unset();
    return StatusFromErrno(errno);
  }
  buffer[length] = '\0';
  BPath program(buffer);
  return program.GetParent(path);
}

// An XDG base folder: the variable's absolute path, else the home folder's
// subfolder.
status_t XdgFolder(const char* variable, const char* inHome, BPath* path)
{
  if (const char* folder = AbsoluteEnv(variable))
    return path->SetTo(folder);
  status_t status = HomeFolder(path);
  return status == B_OK ? path->Append(inHome) : status;
}

} // namespace

status_t find_directory(directory_which which, BPath* path, bool createIt)
{
  if (path == nullptr)
    return B_BAD_VALUE;
  status_t status = B_BAD_VALUE;
  switch (which) {
  case B_USER_DIRECTORY:
    status = HomeFolder(path);
    break;
  case B_USER_SETTINGS_DIRECTORY:
    status = XdgFolder("XDG_CONFIG_HOME", ".config", path);
    break;
  case B_USER_DATA_DIRECTORY:
    status = XdgFolder("XDG_DATA_HOME", ".local/share", path);
    break;
  case B_USER_CACHE_DIRECTORY:
    status = XdgFolder("XDG_CACHE_HOME", ".cache", path);
    break;
  case B_USER_RUNTIME_DIRECTORY:
    if (const char* runtime = AbsoluteEnv("XDG_RUNTIME_DIR"))
      status = path->SetTo(runtime);
    else if (const char* temp = AbsoluteEnv("TMPDIR"))
      status = path->SetTo(temp);
    else
      status = path->SetTo("/tmp");
    break;
  case B_PROGRAM_DIRECTORY:
    status = ProgramFolder(path);
    break;
  }
  if (status == B_OK && createIt)
    status = create_directory(path->Path(), 0755);
  return status;
}

status_t create_directory(const char* path, mode_t mode)
{
  if (path == nullptr || *path == '\0')
    return B_BAD_VALUE;
  std::string full = path;
  // Each prefix ending before a slash, then the whole path.
  for (size_t at = full.find('/', 1);; at = full.find('/', at + 1)) {
    std::string part = full.substr(0, at);
    struct stat st;
    if (!part.empty() && mkdir(part.c_str(), mode) < 0
        && (errno != EEXIST || stat(part.c_str(), &st) < 0 || !S_ISDIR(st.st_mode)))
      return errno == EEXIST ? StatusFromErrno(ENOTDIR) : StatusFromErrno(errno);
    if (at == std::string::npos)
      return B_OK;
  }
}
