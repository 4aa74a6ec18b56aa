#include "client/ProgramFile.h"

#include "platform/storage/FindDirectory.h"

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
  BPath folder;
  return find_directory(B_PROGRAM_DIRECTORY, &folder) == B_OK ? folder.Path() : std::string();
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
