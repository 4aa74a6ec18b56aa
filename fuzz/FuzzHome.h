// A home folder of its own for a fuzz target, removed when it ends, so
// that settings and default paths never touch the real one; the target's
// trace lines go nowhere.
//
//   extern "C" int LLVMFuzzerInitialize(int*, char***)
//   {
//     gHome = MakeFuzzHome("markdays");   // /tmp/ova-markdays-fuzz-XXXXXX
//     ...
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>

inline std::string MakeFuzzHome(const char* target)
{
  static std::string home;
  std::string pattern = std::string("/tmp/ova-") + target + "-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr || freopen("/dev/null", "w", stdout) == nullptr)
    abort();
  home = pattern;
  atexit([] {
    nftw(home.c_str(), [](const char* path, const struct stat*, int, struct FTW*) { return remove(path); }, 16,
         FTW_DEPTH | FTW_PHYS);
  });
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  return home;
}
