// A push button. A click sends a copy of its message to its target, which
// is the button's window unless SetTarget names another handler.
//
//   auto* ok = new BButton(BRect(180, 47, 270, 69), "done", "OK", new BMessage('Qmod'));
//   panel->AddChild(ok);
//   ok->SetEnabled(false);
#pragma once

#include "platform/BMessenger.h"
#include "platform/BView.h"

#include <memory>
#include <string>

class BButton : public BView {
public:
  // The button takes `message`.
  BButton(BRect frame, const char* name, const char* label, BMessage* message,
          uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
  ~BButton() override;

  void SetLabel(const char* label);
  const char* Label() const { return fLabel.c_str(); }
  void SetEnabled(bool enabled);
  bool IsEnabled() const;

  // Takes `message`; null makes clicks send nothing.
  void SetMessage(BMessage* message);
  BMessage* Message() const { return fMessage.get(); }
  uint32 Command() const;
  // `handler` must belong to a looper by the time the button is clicked.
  status_t SetTarget(const BHandler* handler, const BLooper* looper = nullptr);
  status_t SetTarget(BMessenger messenger);
  BMessenger Messenger() const { return fTarget; }

  // Sends a copy of `message` (the button's own when null) to the target.
  // B_BAD_VALUE without a message, B_BAD_PORT_ID without a reachable target.
  virtual status_t Invoke(BMessage* message = nullptr);

private:
  std::unique_ptr<BMessage> fMessage;
  std::string fLabel;
  BMessenger fTarget; // invalid: the window
};
