// Helpers for tests that touch files: a fresh home folder with HOME,
// XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME pointing into it, environment changes
// that undo themselves, and a way to make a file refuse new attributes.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <ftw.h>
#include <map>
#include <optional>
#include <string>
#include <sys/xattr.h>
#include <unistd.h>

// Sets or clears environment variables; the old values come back with it.
class ScopedEnv {
public:
  ~ScopedEnv()
  {
    for (const auto& [name, value] : fSaved)
      Put(name.c_str(), value ? value->c_str() : nullptr);
  }

  // A null value removes the variable.
  void Set(const char* name, const char* value)
  {
    if (fSaved.count(name) == 0)
      fSaved[name] = getenv(name) ? std::optional<std::string>(getenv(name)) : std::nullopt;
    Put(name, value);
  }

private:
  static void Put(const char* name, const char* value)
  {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }

  std::map<std::string, std::optional<std::string>> fSaved;
};

class TempHome {
public:
  TempHome()
  {
    char pattern[] = "/tmp/ova-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr)
      fRoot = pattern;
    fEnv.Set("HOME", fRoot.c_str());
    fEnv.Set("XDG_CONFIG_HOME", Path(".config").c_str());
    fEnv.Set("XDG_DATA_HOME", Path(".local/share").c_str());
    fEnv.Set("XDG_CACHE_HOME", Path(".cache").c_str());
  }

  ~TempHome()
  {
    if (!fRoot.empty())
      nftw(fRoot.c_str(), [](const char* path, const struct stat*, int, struct FTW*) {
        return remove(path);
      }, 16, FTW_DEPTH | FTW_PHYS);
  }

  const std::string& Root() const { return fRoot; }
  std::string Path(const std::string& relative) const { return fRoot + "/" + relative; }

private:
  std::string fRoot;
  ScopedEnv fEnv;
};

// Fills the file's attribute space with filler attributes, halving their size
// until not even one byte fits; returns the errno of the last refusal.
inline int FillAttributeSpace(const char* path)
{
  std::string filler(2048, 'x');
  for (int index = 0; index < 10000 && !filler.empty(); index++) {
    std::string name = "user.fill" + std::to_string(index);
    if (setxattr(path, name.c_str(), filler.data(), filler.size(), 0) < 0) {
      if (filler.size() == 1)
        return errno;
      filler.resize(filler.size() / 2);
    }
  }
  return 0;
}
