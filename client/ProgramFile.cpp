#include "client/ProgramFile.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsExecutableFile(const std::string& path)
{
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string InFolder(const std::string& folder, const std::string& name)
{
  if (folder.empty())
    return name.find('/') == std::string::npos ? "./" + name : name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

std::string ExecutableFolder()
{
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0)
    return std::string();
  const std::string path(buffer, size_t(length));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return std::string();
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FindProgramFile(const std::string& name, const std::string& firstFolder,
                            const char* searchPath)
{
  if (name.empty() || name.find('/') != std::string::npos)
    return std::string();
  if (!firstFolder.empty() && IsExecutableFile(InFolder(firstFolder, name)))
    return InFolder(firstFolder, name);
  if (searchPath == nullptr)
    return std::string();
  const std::string folders = searchPath;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos)
      end = folders.size();
    const std::string candidate = InFolder(folders.substr(start, end - start), name);
    if (IsExecutableFile(candidate))
      return candidate;
    start = end + 1;
  }
  return std::string();
}
