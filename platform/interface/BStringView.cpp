#include "platform/interface/BStringView.h"

#include <cmath>

BStringView::BStringView(BRect frame, const char* name, const char* text, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags), fText(text ? text : "")
{
}

void BStringView::SetText(const char* text)
{
  const std::string newText = text ? text : "";
  if (newText == fText)
    return;
  fText = newText;
  Invalidate();
}

void BStringView::SetAlignment(alignment flag)
{
  if (flag == fAlignment)
    return;
  fAlignment = flag;
  Invalidate();
}

void BStringView::AttachedToWindow()
{
  if (Parent() && !HasOwnViewColor()) {
    SetViewColor(Parent()->ViewColor());
    SetLowColor(ViewColor());
  }
}

void BStringView::Draw(BRect)
{
  const BRect bounds = Bounds();
  const float width = StringWidth(Text());
  float x = bounds.left;
  if (fAlignment == B_ALIGN_CENTER)
    x = bounds.left + (bounds.Width() + 1 - width) / 2;
  else if (fAlignment == B_ALIGN_RIGHT)
    x = bounds.right + 1 - width;
  BFont font;
  GetFont(&font);
  float ascent, descent, leading;
  font.GetHeight(&ascent, &descent, &leading);
  const float y = bounds.top + std::round((bounds.Height() + 1 - (ascent + descent)) / 2 + ascent);
  DrawString(Text(), BPoint(std::round(x), y));
}

bool BStringView::GetAccessibleInfo(accessible_info* info) const
{
  info->role = B_ACCESSIBLE_LABEL;
  info->name = fText;
  return true;
}
