#include "sync/Keyring.h"

#include <libsecret/secret.h>

#include <dlfcn.h>

#include <cstring>

namespace {

// The functions used, loaded with the library; glib's come with it.
struct Secret {
  decltype(&::secret_password_store_sync) store = nullptr;
  decltype(&::secret_password_lookup_sync) lookup = nullptr;
  decltype(&::secret_password_clear_sync) clear = nullptr;
  decltype(&::secret_password_free) free = nullptr;
  decltype(&::g_error_free) errorFree = nullptr;
  decltype(&::g_cancellable_new) cancellableNew = nullptr;
  decltype(&::g_cancellable_cancel) cancel = nullptr;
  decltype(&::g_object_unref) unref = nullptr;
  std::string error;  // empty when loaded
};

const Secret& Load()
{
  static const Secret loaded = [] {
    Secret secret;
    void* library = dlopen(ORVELLA_LIBSECRET_SONAME, RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
      const char* error = dlerror();
      secret.error = error != nullptr ? error : ORVELLA_LIBSECRET_SONAME " not found";
      return secret;
    }
    auto load = [&](auto* function, const char* name) {
      *function = reinterpret_cast<std::remove_pointer_t<decltype(function)>>(dlsym(library, name));
      if (*function == nullptr && secret.error.empty())
        secret.error = std::string(ORVELLA_LIBSECRET_SONAME " has no ") + name;
    };
    load(&secret.store, "secret_password_store_sync");
    load(&secret.lookup, "secret_password_lookup_sync");
    load(&secret.clear, "secret_password_clear_sync");
    load(&secret.free, "secret_password_free");
    load(&secret.errorFree, "g_error_free");
    load(&secret.cancellableNew, "g_cancellable_new");
    load(&secret.cancel, "g_cancellable_cancel");
    load(&secret.unref, "g_object_unref");
    return secret;
  }();
  return loaded;
}

const SecretSchema kSchema = {
    "org.orvella.CalendarSource",
    SECRET_SCHEMA_NONE,
    {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SecretSchemaAttributeType(0)}},
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

// Takes the error's text and frees it; true when there was one.
bool Failed(const Secret& secret, GError* error, std::string* why)
{
  if (error == nullptr)
    return false;
  *why = std::string("the keyring cannot be used: ") + (error->message != nullptr ? error->message : "unknown error");
  secret.errorFree(error);
  return true;
}

const Secret* Loaded(std::string* why)
{
  const Secret& secret = Load();
  if (!secret.error.empty()) {
    *why = "the keyring cannot be used: " + secret.error;
    return nullptr;
  }
  return &secret;
}

GCancellable* CancellableOf(const Keyring::Stop* stop)
{
  return stop != nullptr ? static_cast<GCancellable*>(stop->Cancellable()) : nullptr;
}

} // namespace

namespace Keyring {

Stop::~Stop()
{
  if (fCancellable != nullptr)
    Load().unref(fCancellable);
}

void Stop::Now()
{
  std::lock_guard<std::mutex> lock(fLock);
  fStopped = true;
  if (fCancellable != nullptr)
    Load().cancel(static_cast<GCancellable*>(fCancellable));
}

void* Stop::Cancellable() const
{
  std::lock_guard<std::mutex> lock(fLock);
  if (fCancellable == nullptr) {
    fCancellable = Load().cancellableNew();
    if (fStopped)
      Load().cancel(static_cast<GCancellable*>(fCancellable));
  }
  return fCancellable;
}

Result Store(const std::string& url, const std::string& user, const std::string& password, std::string* why,
             const Stop* stop)
{
  const Secret* secret = Loaded(why);
  if (secret == nullptr)
    return kUnavailable;
  GError* error = nullptr;
  const std::string label = "Orvella calendar " + user + " at " + url;
  secret->store(&kSchema, SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), CancellableOf(stop), &error, "url",
                url.c_str(), "user", user.c_str(), nullptr);
  return Failed(*secret, error, why) ? kUnavailable : kDone;
}

Result Lookup(const std::string& url, const std::string& user, std::string* password, std::string* why,
              const Stop* stop)
{
  const Secret* secret = Loaded(why);
  if (secret == nullptr)
    return kUnavailable;
  GError* error = nullptr;
  gchar* found =
      secret->lookup(&kSchema, CancellableOf(stop), &error, "url", url.c_str(), "user", user.c_str(), nullptr);
  if (Failed(*secret, error, why)) {
    if (found != nullptr)
      secret->free(found);
    return kUnavailable;
  }
  if (found == nullptr)
    return kNotFound;
  password->assign(found);
  // Overwrites the keyring's copy before it is freed.
  secret->free(found);
  return kDone;
}

Result Clear(const std::string& url, const std::string& user, std::string* why, const Stop* stop)
{
  const Secret* secret = Loaded(why);
  if (secret == nullptr)
    return kUnavailable;
  GError* error = nullptr;
  const gboolean removed =
      secret->clear(&kSchema, CancellableOf(stop), &error, "url", url.c_str(), "user", user.c_str(), nullptr);
  if (Failed(*secret, error, why))
    return kUnavailable;
  return removed ? kDone : kNotFound;
}

} // namespace Keyring
