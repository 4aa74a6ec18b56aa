// A view that shows one line of text: left-aligned, centred or
// right-aligned, its base line placed so that the text sits in the middle
// of the view's height. Until it is given a view colour of its own it takes
// its parent's when attached, so it blends into the panel around it.
//
//   auto* label = new BStringView(BRect(10, 45, 290, 65), "rdate", "...");
//   label->SetAlignment(B_ALIGN_CENTER);
//   panel->AddChild(label);
#pragma once

#include "platform/interface/BView.h"

#include <string>

class BStringView : public BView {
public:
  BStringView(BRect frame, const char* name, const char* text,
              uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW);

  void SetText(const char* text);
  const char* Text() const { return fText.c_str(); }
  void SetAlignment(alignment flag);
  alignment Alignment() const { return fAlignment; }

  void AttachedToWindow() override;
  void Draw(BRect updateRect) override;
  // A label that reads its text.
  bool GetAccessibleInfo(accessible_info* info) const override;

private:
  std::string fText;
  alignment fAlignment = B_ALIGN_LEFT;
};
