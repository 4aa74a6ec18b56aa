// A looper owns handlers and dispatches the messages posted to it. All
// loopers run in Qt's GUI thread: PostMessage queues a copy of the message
// on Qt's event loop and, when the loop gets to it, DispatchMessage hands it
// to the target handler's MessageReceived.
//
//   window->PostMessage('NDAY');               // to the window itself
//   BMessage pick('CTIM');
//   pick.AddInt32("_hour", 9);
//   window->PostMessage(&pick, clockView);      // to one of its handlers
//
// Messages still queued for a looper that is deleted are dropped, never
// delivered. Lock() is recursive and always granted in the GUI thread, so
// code written for a looper running in its own thread keeps working here.
#pragma once

#include "platform/messaging/BHandler.h"

#include <vector>

class BLooper : public BHandler {
public:
  explicit BLooper(const char* name = nullptr);
  ~BLooper() override;

  // Queue a copy of the message for `handler` (this looper when null),
  // which must belong to this looper (else B_MISMATCHED_VALUES). A reply
  // handler becomes the message's return address. B_NO_INIT without a Qt
  // application object.
  status_t PostMessage(uint32 what);
  status_t PostMessage(BMessage* message);
  status_t PostMessage(uint32 what, BHandler* handler, BHandler* replyTo = nullptr);
  status_t PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo = nullptr);

  // Hands a message to its target: B_QUIT_REQUESTED to this looper asks
  // QuitRequested() and quits, anything else goes to the target's
  // MessageReceived.
  virtual void DispatchMessage(BMessage* message, BHandler* target);

  // Ends the looper and deletes it (at once, or as soon as the message
  // being dispatched has been handled). Loopers that quit must be made with
  // new.
  virtual void Quit();
  // Hook asked before quitting on B_QUIT_REQUESTED; true allows it.
  virtual bool QuitRequested();

  bool Lock();
  void Unlock();
  // True when the calling thread holds the lock.
  bool IsLocked() const;
  int32 CountLocks() const { return fLockCount; }

  void AddHandler(BHandler* handler);
  bool RemoveHandler(BHandler* handler);
  int32 CountHandlers() const { return int32(fHandlers.size()); }

private:
  friend class BMessenger;
  friend class BusConnection;

  // Queues a copy for the handler with this token; delivery looks the
  // token up again, so a handler deleted meanwhile gets nothing.
  static status_t Enqueue(const BMessage& message, int32 targetToken);
  static void Deliver(const BMessage& message, int32 targetToken);

  std::vector<BHandler*> fHandlers;
  int32 fLockCount = 0;
  int32 fDispatchDepth = 0;
  bool fQuitting = false;
};
