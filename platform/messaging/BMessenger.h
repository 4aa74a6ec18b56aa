// A messenger is an address for messages: a handler of this program, or a
// looper or handler of another program on the session bus (that program's
// unique bus name and the handler's object path, docs/ipc.md).
//
//   BMessenger toWindow(window);
//   toWindow.SendMessage('NDAY');
//   BMessage answer('_KXT');
//   request->ReturnAddress().SendMessage(&answer);
//
// Local messengers hold the handler's token, not a pointer: a messenger to a
// handler that has been deleted is invalid and sending to it fails. Copies
// are cheap; two messengers are equal when they name the same target.
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

class BHandler;
class BLooper;
class BMessage;

class BMessenger {
public:
  BMessenger() = default;
  // A messenger to `handler`, or to `looper` itself when handler is null.
  // A handler must belong to a looper (and to `looper` when both are
  // given); otherwise the messenger is invalid and *result says why.
  BMessenger(const BHandler* handler, const BLooper* looper = nullptr, status_t* result = nullptr);
  // A messenger to the application object of the running program with this
  // signature; invalid (B_BAD_PORT_ID) when none runs.
  explicit BMessenger(const char* signature, status_t* result = nullptr);

  bool IsValid() const;
  bool IsTargetLocal() const { return fToken != 0; }
  // The local target and its looper; null for remote or gone targets.
  BHandler* Target(BLooper** looper) const;

  // Queues a copy of the message at the target with `replyTo` as its return
  // address. Local targets receive it from the event loop; remote ones get
  // it over the bus without this call waiting for them. B_BAD_PORT_ID when
  // the target is gone, B_NO_INIT when a remote target cannot be reached
  // without a bus. Sending never blocks, so the time-out is not needed.
  // A worker thread may send to a local target (with no reply address): a
  // target gone by then gets nothing, though the call returned B_OK.
  status_t SendMessage(uint32 what, BHandler* replyTo = nullptr) const;
  status_t SendMessage(BMessage* message, BHandler* replyTo = nullptr,
                       bigtime_t timeout = B_INFINITE_TIMEOUT) const;
  status_t SendMessage(BMessage* message, const BMessenger& replyTo,
                       bigtime_t timeout = B_INFINITE_TIMEOUT) const;

  bool operator==(const BMessenger& other) const;
  bool operator!=(const BMessenger& other) const { return !(*this == other); }

private:
  friend class BLooper;
  friend class BMessage;
  friend class BusConnection;

  // The flattened form: two length-prefixed texts, bus name and object
  // path (docs/ipc.md). Local targets carry this program's unique name.
  std::string Address() const;
  static BMessenger FromAddress(const std::string& address);
  // Splits a flattened address; false when it is malformed.
  static bool ParseAddress(const std::string& address, std::string* busName, std::string* path);
  static BMessenger Remote(const std::string& busName, const std::string& path);
  std::string BusName() const;
  std::string Path() const;

  int32 fToken = 0;        // local target: its handler token
  std::string fBusName;    // remote target: unique name of its program
  std::string fPath;       // remote target: object path of the handler
};
