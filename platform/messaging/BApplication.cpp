#include "platform/messaging/BApplication.h"

#include "platform/interface/BWindow.h"
#include "platform/messaging/BusConnection.h"
#include "platform/messaging/StartUpThread.h"

#include <QApplication>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

BApplication* be_app = nullptr;
BMessenger be_app_messenger;

namespace {

// Qt keeps references to argc and argv for the application's lifetime.
int sArgc = 1;
char* sArgv[] = {program_invocation_short_name, nullptr};

} // namespace

BApplication::BApplication(const char* signature, uint32 flags)
    : BLooper("application"), fSignature(signature != nullptr ? signature : ""), fFlags(flags)
{
  // A window program's font configuration is read and the session bus is
  // reached on a helper thread while Qt starts; the constructor waits for
  // it before it asks for the bus name, so the first window finds both.
  std::optional<StartUpThread> early;
  // Tests make their own Qt application.
  if (QCoreApplication::instance() == nullptr) {
    const bool windows = (fFlags & B_BACKGROUND_APP) == 0;
    // Qt takes the first thread that asks for its thread data as the main
    // thread. Asking here, before the helper exists, keeps the helper's bus
    // connection from claiming that place: a window whose events are read
    // for another thread never wakes for a click or a key.
    QThread::currentThread();
    early.emplace(windows);
    if (windows)
      fQtApp = std::make_unique<QApplication>(sArgc, sArgv);
    else
      fQtApp = std::make_unique<QCoreApplication>(sArgc, sArgv);
  }
  // Windows end the program through B_QUIT_ON_WINDOW_CLOSE, not Qt.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  be_app = this;
  be_app_messenger = BMessenger(this);

  if (fSignature.empty()) {
    fInitStatus = B_BAD_VALUE;
    return;
  }
  if (early)
    early->Wait();
  if (!BusConnection::Open())
    return;
  BusConnection* bus = BusConnection::Instance();
  const std::string busName = BusConnection::BusNameForSignature(fSignature);
  const bool single = (fFlags & B_MULTIPLE_LAUNCH) == 0;
  switch (bus->RequestName(busName, single)) {
  case BusConnection::NameResult::kOwned: break;
  case BusConnection::NameResult::kTaken:
    if (single) {
      printf("BApplication: %s already runs; handing over to it\n", fSignature.c_str());
      if (bus->AskToActivate(busName) == B_OK)
        fInitStatus = B_ALREADY_RUNNING;
      // No answer: the running one hangs, unless it has just quit.
      else if (bus->RequestName(busName, true) != BusConnection::NameResult::kOwned)
        fInitStatus = B_TIMED_OUT;
    }
    break;
  case BusConnection::NameResult::kFailed:
    printf("BApplication: could not take the bus name %s\n", busName.c_str());
    break;
  }
}

BApplication::~BApplication()
{
  while (!fWindows.empty())
    delete fWindows.back();
  BusConnection::Close();
  if (be_app == this) {
    be_app = nullptr;
    be_app_messenger = BMessenger();
  }
  fQtApp.reset();
}

void BApplication::Run()
{
  if (HandedOver() || fQuitting)
    return;
  const int32 token = Token();
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [token]() {
        if (be_app != nullptr && be_app->Token() == token)
          be_app->ReadyToRun();
      },
      Qt::QueuedConnection);
  fRunning = true;
  QCoreApplication::exec();
  fRunning = false;
}

void BApplication::Quit()
{
  fQuitting = true;
  if (fRunning)
    QCoreApplication::exit(0);
}

bool BApplication::QuitRequested()
{
  const std::vector<BWindow*> windows = fWindows;
  for (BWindow* window : windows) {
    if (!window->QuitRequested())
      return false;
  }
  fQuitting = true;
  for (BWindow* window : windows) {
    if (std::find(fWindows.begin(), fWindows.end(), window) != fWindows.end())
      window->Quit();
  }
  return true;
}

void BApplication::ReadyToRun()
{
}

void BApplication::ActivateRequested()
{
  if (!fWindows.empty())
    fWindows.front()->Activate(true);
}

bool BApplication::AcceptsRemoteMessage(const BMessage&)
{
  return true;
}

status_t BApplication::GetAppInfo(app_info* info) const
{
  if (info == nullptr)
    return B_BAD_VALUE;
  memset(info, 0, sizeof *info);
  strncpy(info->signature, fSignature.c_str(), sizeof info->signature - 1);
  info->flags = fFlags;
  return B_OK;
}

BWindow* BApplication::WindowAt(int32 index) const
{
  return index >= 0 && size_t(index) < fWindows.size() ? fWindows[index] : nullptr;
}

void BApplication::AddWindow(BWindow* window)
{
  fWindows.push_back(window);
}

void BApplication::RemoveWindow(BWindow* window)
{
  fWindows.erase(std::remove(fWindows.begin(), fWindows.end(), window), fWindows.end());
}
