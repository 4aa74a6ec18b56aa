// The application object: one per program. Constructing it creates Qt's
// application, connects to the session bus and takes the signature's bus
// name; Run() then runs the event loop until Quit().
//
//   int main()
//   {
//     MyApp app;                              // BApplication("application/x-...", B_SINGLE_LAUNCH)
//     if (app.InitCheck() == B_ALREADY_RUNNING)
//       return 0;                             // the running instance took over
//     app.Run();
//     return 0;
//   }
//
// A background application (B_BACKGROUND_APP) has no windows and needs no
// display: a program that only exchanges messages.
//
// Single launch: when another program already owns the signature's bus
// name, the constructor asks that program to activate (its
// ActivateRequested hook runs) and leaves this one with InitCheck() ==
// B_ALREADY_RUNNING; B_TIMED_OUT when that program does not answer within
// BusConnection::kCallTimeoutMs (it hangs, or is stopped). Without a
// session bus the program runs on its own.
#pragma once

#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessenger.h"
#include "platform/messaging/BRoster.h"

#include <memory>
#include <string>
#include <vector>

class BWindow;
class QCoreApplication;

enum : uint32 {
  B_SINGLE_LAUNCH = 0x0,
  B_MULTIPLE_LAUNCH = 0x1,
  B_BACKGROUND_APP = 0x4,
};

class BApplication : public BLooper {
public:
  explicit BApplication(const char* signature, uint32 flags = B_MULTIPLE_LAUNCH);
  ~BApplication() override;

  // B_OK; B_ALREADY_RUNNING after a single-launch hand-over, B_TIMED_OUT
  // when the running instance did not answer it; B_BAD_VALUE for an empty
  // signature.
  status_t InitCheck() const { return fInitStatus; }
  bool HandedOver() const { return fInitStatus == B_ALREADY_RUNNING; }

  // Runs the event loop until Quit(); returns at once after a hand-over.
  virtual void Run();
  // Ends the event loop. The application object is not deleted: main()
  // owns it.
  void Quit() override;
  // Asks every window to quit and quits them; false when one refuses.
  bool QuitRequested() override;
  // Called from the event loop once Run() has started.
  virtual void ReadyToRun();
  // Another start of this single-launch program asked for this one; the
  // default activates the first window.
  virtual void ActivateRequested();
  // Asked for every message that another program delivers or broadcasts,
  // whatever handler it is for, before it is queued; false drops it (a
  // delivery then fails with org.orvella.Error.Refused). The program's own
  // messages are never asked about. The default takes every message.
  virtual bool AcceptsRemoteMessage(const BMessage& message);

  const char* Signature() const { return fSignature.c_str(); }
  status_t GetAppInfo(app_info* info) const;

  int32 CountWindows() const { return int32(fWindows.size()); }
  BWindow* WindowAt(int32 index) const;

private:
  friend class BWindow;
  void AddWindow(BWindow* window);
  void RemoveWindow(BWindow* window);

  std::unique_ptr<QCoreApplication> fQtApp;
  std::string fSignature;
  uint32 fFlags;
  status_t fInitStatus = B_OK;
  bool fRunning = false;
  bool fQuitting = false;
  std::vector<BWindow*> fWindows;
};

extern BApplication* be_app;
extern BMessenger be_app_messenger;
