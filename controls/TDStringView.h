// One field of the date-time entry panel (year, month, day, hour, minute or
// AM/PM), or a piece of the rounded frame around the fields.
//
// A field shows one integer inside the common rounded frame. Arrow keys,
// "+" and "-", the mouse wheel and clicks on its upper and lower zones step
// the value, which wraps at the ends of its range; every change and every
// focus or navigation request is reported to the parent by calling its
// MessageReceived directly.
//
//   auto* minute = new TDStringView(BRect(202, 2, 225, 44), "min", "05", 5);
//   panel->AddChild(minute);
//   minute->SetRange(0, 59);
//   minute->SetValue(59);     // shows "59", reports 'NMIN' with "_ min" 59
//
// Field numbers: 1 year, 2 month, 3 day, 4 hour, 5 minute, 6 AM/PM; frame
// pieces 51 (left end), 52 (right end) and 99 (separator) take no input.
#pragma once

#include "platform/interface/BBitmap.h"
#include "platform/interface/BStringView.h"

#include <memory>

class TDStringView : public BStringView {
public:
  // `value` and `maxValue` start as the number at the start of `text`.
  TDStringView(BRect frame, const char* name, const char* text, int32 fieldNumber);
  ~TDStringView() override;

  void MessageReceived(BMessage* message) override;
  void Draw(BRect updateRect) override;
  void MouseDown(BPoint where) override;
  void KeyUp(const char* bytes, int32 numBytes) override;
  // A field is a spin box named after what it holds; the frame pieces are
  // left out.
  bool GetAccessibleInfo(accessible_info* info) const override;

  // Sets the value, capped at maxValue (a value below minValue stays), and
  // shows it.
  void SetValue(int32 v);
  // Swaps reversed bounds; caps a value above the new maximum and shows it.
  void SetRange(int32 low, int32 high);
  // The field whose number is `n` carries the focus mark and takes the
  // keyboard focus; the others lose it. Pieces from 44 up never carry it.
  void SetOnFocus(int32 n);
  // Shows `v` in the field's format and reports it; does not set `value`.
  void FormatValue(int32 v);

  // The decimal number at the start of a text, as a field reads its start
  // text: 0 without digits, limited to the 32-bit range.
  static int32 LeadingNumber(const char* text);

  // The panel and the window read and set these directly.
  std::unique_ptr<BBitmap> upArrow;
  std::unique_ptr<BBitmap> downArrow;
  int32 fieldNumber;
  int32 value;
  int32 minValue;
  int32 maxValue;
  bool focused;

private:
  void Step(int32 delta);
  void Report(BMessage* message);
};
