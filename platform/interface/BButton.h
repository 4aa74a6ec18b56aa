// A push button. A click sends a copy of its message to its target, which
// is the button's window unless SetTarget names another handler.
//
//   auto* ok = new BButton(BRect(180, 47, 270, 69), "done", "OK", new BMessage('Qmod'));
//   panel->AddChild(ok);
//   ok->SetEnabled(false);
#pragma once

#include "platform/interface/BInvoker.h"
#include "platform/interface/BView.h"

#include <string>

class BButton : public BView, public BInvoker {
public:
  // The button takes `message`.
  BButton(BRect frame, const char* name, const char* label, BMessage* message,
          uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
  ~BButton() override;

  void SetLabel(const char* label);
  const char* Label() const { return fLabel.c_str(); }
  void SetEnabled(bool enabled);
  bool IsEnabled() const;

protected:
  // The button's window.
  BLooper* DefaultTarget() const override;

private:
  std::string fLabel;
};
