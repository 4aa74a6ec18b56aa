// Something that sends a message when the user acts on it: a button, a menu
// item. It holds the message and the target; without a target of its own
// the message goes to the window the invoker is shown in.
//
//   item->SetTarget(panel);                  // instead of the window
//   item->Invoke();                          // posts a copy of its message
#pragma once

#include "platform/messaging/BMessenger.h"

#include <memory>

class BHandler;
class BLooper;
class BMessage;

class BInvoker {
public:
  // The invoker takes `message`.
  explicit BInvoker(BMessage* message);
  virtual ~BInvoker();
  BInvoker(const BInvoker&) = delete;
  BInvoker& operator=(const BInvoker&) = delete;

  // Takes `message`; null makes the invoker send nothing.
  void SetMessage(BMessage* message);
  BMessage* Message() const { return fMessage.get(); }
  uint32 Command() const;
  // `handler` must belong to a looper by the time the invoker sends.
  status_t SetTarget(const BHandler* handler, const BLooper* looper = nullptr);
  status_t SetTarget(BMessenger messenger);
  // The target set by SetTarget; invalid when messages go to the window.
  BMessenger Messenger() const { return fTarget; }

  // Posts a copy of `message` (the invoker's own when null) to the target.
  // B_BAD_VALUE without a message, B_BAD_PORT_ID without a reachable target.
  virtual status_t Invoke(BMessage* message = nullptr);

protected:
  // The looper that receives the messages when no target is set: the
  // invoker's window, or null while it is in none.
  virtual BLooper* DefaultTarget() const = 0;

private:
  std::unique_ptr<BMessage> fMessage;
  BMessenger fTarget;
};
