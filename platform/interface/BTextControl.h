// A one-line text field with a label on its left. Return in the field
// sends a copy of its message to its target (its window unless SetTarget
// names another handler); Tab moves on to the window's next control.
//
//   auto* address = new BTextControl(BRect(10, 10, 300, 32), "url", "Address", "", new BMessage('ADD '));
//   address->SetDivider(70);
//   view->AddChild(address);
//   address->HideTyping(true);      // a password: dots instead of the letters
//   std::string text = address->Text();
#pragma once

#include "platform/interface/BInvoker.h"
#include "platform/interface/BView.h"

#include <string>

class LabelledBox;
class QLineEdit;

class BTextControl : public BView, public BInvoker {
public:
  BTextControl(BRect frame, const char* name, const char* label, const char* text, BMessage* message,
               uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
  ~BTextControl() override;

  void SetText(const char* text);
  // The text as typed, in UTF-8.
  std::string Text() const;
  void SetLabel(const char* label);
  const char* Label() const { return fLabel.c_str(); }
  // Width of the label part, from the control's left edge.
  void SetDivider(float divider);
  float Divider() const { return fDivider; }
  // Shows dots for the letters typed, for passwords; nothing typed there
  // goes to the clipboard.
  void HideTyping(bool hide);
  void SetEnabled(bool enabled);

protected:
  BLooper* DefaultTarget() const override;

private:
  std::string fLabel;
  float fDivider;
  LabelledBox* fBox;     // the view's widget
  QLineEdit* fEdit;      // child of the view's widget
};
