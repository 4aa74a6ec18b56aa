#include "sync/SyncNetwork.h"

#include "platform/storage/FindDirectory.h"

#include <dlfcn.h>

std::unique_ptr<SyncNetwork> LoadSyncNetwork(const HttpLimits& limits, std::string* why)
{
  // Beside the program, as its dictionaries are.
  BPath folder;
  if (find_directory(B_PROGRAM_DIRECTORY, &folder) != B_OK) {
    *why = "the program's folder is unknown";
    return nullptr;
  }
  const std::string path = std::string(folder.Path()) + "/" ORVELLA_SYNC_NETWORK_MODULE;
  // The module stays loaded: Qt Network keeps state of its own.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = dlerror();
    *why = "the network module cannot be loaded: " + std::string(error != nullptr ? error : path);
    return nullptr;
  }
  auto entry = reinterpret_cast<SyncNetworkEntry>(dlsym(module, ORVELLA_SYNC_NETWORK_ENTRY));
  if (entry == nullptr) {
    *why = path + " has no " ORVELLA_SYNC_NETWORK_ENTRY;
    return nullptr;
  }
  return std::unique_ptr<SyncNetwork>(entry(&limits));
}
