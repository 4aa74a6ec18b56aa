// A box the user ticks or clears, with a label beside it. A click sends a
// copy of its message to its target (its window unless SetTarget names
// another handler).
//
//   auto* box = new BCheckBox(BRect(10, 10, 200, 30), "work", "Work", new BMessage('PICK'));
//   box->SetValue(B_CONTROL_ON);
//   if (box->Value() == B_CONTROL_ON) ...
#pragma once

#include "platform/interface/BInvoker.h"
#include "platform/interface/BView.h"

enum : int32 {
  B_CONTROL_OFF = 0,
  B_CONTROL_ON = 1,
};

class BCheckBox : public BView, public BInvoker {
public:
  BCheckBox(BRect frame, const char* name, const char* label, BMessage* message,
            uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
  ~BCheckBox() override;

  void SetValue(int32 value);
  int32 Value() const;
  void SetLabel(const char* label);

protected:
  BLooper* DefaultTarget() const override;
};
