// Preloaded into Orvella by a road test: forces the start-up order that one
// start in ten took by chance. The Qt application's constructor waits until
// the start-up helper thread has reached the session bus (a Qt object), and
// the helper stays until the application is made, so that Qt meets the
// helper first and the main thread while the helper still runs. It says on
// standard error when it saw that order.
#include <QDBusConnection>

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

std::mutex sMutex;
std::condition_variable sChanged;
bool sBusReached = false;
bool sApplicationMade = false;

template <typename Function>
Function Real(const char* name)
{
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool WaitUntil(const bool& flag)
{
  std::unique_lock<std::mutex> lock(sMutex);
  return sChanged.wait_for(lock, std::chrono::seconds(10), [&flag] { return flag; });
}

void Set(bool* flag)
{
  std::lock_guard<std::mutex> lock(sMutex);
  *flag = true;
  sChanged.notify_all();
}

} // namespace

// QDBusConnection QDBusConnection::sessionBus()
extern "C" QDBusConnection _ZN15QDBusConnection10sessionBusEv()
{
  static const auto real = Real<QDBusConnection (*)()>("_ZN15QDBusConnection10sessionBusEv");
  QDBusConnection bus = real();
  Set(&sBusReached);
  WaitUntil(sApplicationMade);
  return bus;
}

// QApplication::QApplication(int&, char**, int)
extern "C" void _ZN12QApplicationC1ERiPPci(void* self, int& argc, char** argv, int flags)
{
  static const auto real = Real<void (*)(void*, int&, char**, int)>("_ZN12QApplicationC1ERiPPci");
  if (WaitUntil(sBusReached))
    fprintf(stderr, "start-order shim: the bus was reached before the application was made\n");
  real(self, argc, argv, flags);
  Set(&sApplicationMade);
}
