#include "platform/interface/XdgActivation.h"

#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

namespace {

// The two interfaces of xdg-activation-v1 that a client needs, as the
// protocol defines them (requests and events in protocol order). Written
// out here, they need no protocol files at build time.
extern const wl_interface kTokenInterface;

// wl_message wants a mutable array.
const wl_interface* kTypes[] = {
    nullptr,
    &kTokenInterface,       // get_activation_token: new_id
    nullptr, &wl_surface_interface,  // activate: token, surface
    nullptr, &wl_seat_interface,     // set_serial: serial, seat
    &wl_surface_interface,  // set_surface: surface
};

const wl_message kActivationRequests[] = {
    {"destroy", "", kTypes},
    {"get_activation_token", "n", kTypes + 1},
    {"activate", "so", kTypes + 2},
};

const wl_message kTokenRequests[] = {
    {"set_serial", "uo", kTypes + 4},
    {"set_app_id", "s", kTypes},
    {"set_surface", "o", kTypes + 6},
    {"commit", "", kTypes},
    {"destroy", "", kTypes},
};

const wl_message kTokenEvents[] = {
    {"done", "s", kTypes},
};

const wl_interface kActivationInterface = {"xdg_activation_v1", 1, 3, kActivationRequests, 0, nullptr};
const wl_interface kTokenInterface = {"xdg_activation_token_v1", 1, 5, kTokenRequests, 1, kTokenEvents};

enum : uint32_t { kGetActivationToken = 1, kActivationDestroy = 0, kTokenCommit = 3, kTokenDestroy = 4 };

struct Session {
  wl_proxy* activation = nullptr;
  std::string token;
  bool done = false;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
  auto* session = static_cast<Session*>(data);
  if (session->activation == nullptr && strcmp(interface, kActivationInterface.name) == 0)
    session->activation = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kActivationInterface, 1));
}

void GlobalRemoved(void*, wl_registry*, uint32_t)
{
}

const wl_registry_listener kRegistryListener = {Global, GlobalRemoved};

struct TokenListener {
  void (*done)(void* data, wl_proxy* token, const char* text);
};

void TokenDone(void* data, wl_proxy*, const char* text)
{
  auto* session = static_cast<Session*>(data);
  session->token = text != nullptr ? text : "";
  session->done = true;
}

const TokenListener kTokenListener = {TokenDone};

bool InWaylandSession()
{
  for (const char* name : {"WAYLAND_DISPLAY", "WAYLAND_SOCKET"}) {
    const char* value = getenv(name);
    if (value != nullptr && *value != '\0')
      return true;
  }
  return false;
}

} // namespace

std::string RequestActivationToken()
{
  // Without the variables the library would try "wayland-0" even in an
  // X11 session.
  if (!InWaylandSession())
    return std::string();
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr)
    return std::string();
  Session session;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &session);
  if (wl_display_roundtrip(display) >= 0 && session.activation != nullptr) {
    wl_proxy* token = wl_proxy_marshal_flags(session.activation, kGetActivationToken, &kTokenInterface,
                                             wl_proxy_get_version(session.activation), 0, nullptr);
    wl_proxy_add_listener(token, reinterpret_cast<void (**)(void)>(const_cast<TokenListener*>(&kTokenListener)),
                          &session);
    wl_proxy_marshal_flags(token, kTokenCommit, nullptr, wl_proxy_get_version(token), 0);
    // The compositor answers a commit at once; a few round trips bound the
    // wait for one that does not.
    for (int trip = 0; trip < 3 && !session.done; trip++) {
      if (wl_display_roundtrip(display) < 0)
        break;
    }
    wl_proxy_marshal_flags(token, kTokenDestroy, nullptr, wl_proxy_get_version(token), WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_marshal_flags(session.activation, kActivationDestroy, nullptr, wl_proxy_get_version(session.activation),
                           WL_MARSHAL_FLAG_DESTROY);
  }
  wl_registry_destroy(registry);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return session.token;
}

std::string ActivationTokenToPass()
{
  // The variable is the token's only keeper: once taken, it is gone.
  const char* started = getenv("XDG_ACTIVATION_TOKEN");
  if (started != nullptr && *started != '\0') {
    const std::string token = started;
    unsetenv("XDG_ACTIVATION_TOKEN");
    return token;
  }
  return RequestActivationToken();
}
