#include "marks/Libical.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Loaded {
  Libical table;
  std::string error;  // empty when loaded
};

const Loaded& Load()
{
  static const Loaded loaded = [] {
    Loaded result;
    void* library = dlopen(ORVELLA_LIBICAL_SONAME, RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
      const char* error = dlerror();
      result.error = error != nullptr ? error : ORVELLA_LIBICAL_SONAME " not found";
      return result;
    }
#define ORVELLA_LIBICAL_LOAD(name)                                                                     \
  result.table.name = reinterpret_cast<decltype(result.table.name)>(dlsym(library, #name));            \
  if (result.table.name == nullptr && result.error.empty())                                           \
    result.error = ORVELLA_LIBICAL_SONAME " has no " #name;
    ORVELLA_LIBICAL_FUNCTIONS(ORVELLA_LIBICAL_LOAD)
#undef ORVELLA_LIBICAL_LOAD
    return result;
  }();
  return loaded;
}

} // namespace

const Libical* LoadLibical(std::string* why)
{
  const Loaded& loaded = Load();
  if (!loaded.error.empty()) {
    if (why != nullptr)
      *why = "libical could not be loaded: " + loaded.error;
    return nullptr;
  }
  return &loaded.table;
}

const Libical& Ical()
{
  const Loaded& loaded = Load();
  if (!loaded.error.empty()) {
    fprintf(stderr, "libical could not be loaded: %s\n", loaded.error.c_str());
    abort();
  }
  return loaded.table;
}
