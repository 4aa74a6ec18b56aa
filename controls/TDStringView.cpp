#include "controls/TDStringView.h"

#include "calendar/Codes.h"
#include "calendar/DateNames.h"
#include "calendar/DayColors.h"
#include "calendar/Labels.h"
#include "calendar/Utf8Text.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/InterfaceDefs.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Pieces from this number up take no mouse input (clicks, wheel).
constexpr int32 kFirstMouseless = 40;
// Pieces from this number up never carry the focus mark.
constexpr int32 kFirstUnfocusable = 44;
// A click this high or higher raises the value, this low or lower lowers it.
constexpr float kRaiseZoneBottom = 12;
constexpr float kLowerZoneTop = 30;

// The arrows drawn above and below a focused field's value: 12 x 8 pixels,
// one character a pixel, each standing for an index of the system colours.
const char* const kUpArrow[8] = {
    ".....aa.....", "....DWSa....", "....DWSb....", "...DWWWSD...",
    "...DWWWSD...", "..DWWWWWSD..", "..DSSSSSSD..", ".DDDDDDDDDD.",
};
const char* const kDownArrow[8] = {
    ".SSSSSSSSSS.", "..DWWWWWDS..", "..DWWWWWDS..", "...DWWWDS...",
    "...DWWWDS...", "....DWDS....", "....DWDS....", ".....aS.....",
};

uint8 ArrowIndex(char pixel)
{
  switch (pixel) {
  case 'W': return 63;
  case 'D': return 15;
  case 'S': return 21;
  case 'a': return 16;
  case 'b': return 17;
  default: return 29;
  }
}

std::unique_ptr<BBitmap> MakeArrow(const char* const rows[8])
{
  auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, 11, 7), B_CMAP8);
  uint8* bits = static_cast<uint8*>(bitmap->Bits());
  if (!bits)
    return bitmap;
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 12; x++)
      bits[y * bitmap->BytesPerRow() + x] = ArrowIndex(rows[y][x]);
  }
  return bitmap;
}

rgb_color FocusFillColor()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR);
#else
  rgb_color fill = DefaCOL;
  fill.red = 255;
  fill.green = 255;
  fill.blue = 0;
  return fill;
#endif
}

} // namespace

int32 TDStringView::LeadingNumber(const char* text)
{
  const long number = text ? strtol(text, nullptr, 10) : 0;
  if (number > INT32_MAX)
    return INT32_MAX;
  if (number < INT32_MIN)
    return INT32_MIN;
  return int32(number);
}

TDStringView::TDStringView(BRect frame, const char* name, const char* text, int32 number)
    : BStringView(frame, name, text, B_FOLLOW_LEFT, B_WILL_DRAW),
      upArrow(MakeArrow(kUpArrow)),
      downArrow(MakeArrow(kDownArrow)),
      fieldNumber(number),
      value(LeadingNumber(text)),
      minValue(0),
      maxValue(value),
      focused(false)
{
  SetAlignment(B_ALIGN_CENTER);
  SetFontSize(11);
}

TDStringView::~TDStringView() = default;

void TDStringView::SetValue(int32 v)
{
  value = v > maxValue ? maxValue : v;
  FormatValue(value);
}

void TDStringView::SetRange(int32 low, int32 high)
{
  if (low > high)
    std::swap(low, high);
  minValue = low;
  maxValue = high;
  if (value > maxValue) {
    value = maxValue;
    FormatValue(value);
  }
}

void TDStringView::SetOnFocus(int32 n)
{
  if (fieldNumber >= kFirstUnfocusable) {
    focused = false;
    return;
  }
  focused = n == fieldNumber;
  MakeFocus(focused);
  Invalidate();
}

void TDStringView::Report(BMessage* message)
{
  if (BView* parent = Parent())
    parent->MessageReceived(message);
}

void TDStringView::FormatValue(int32 v)
{
  AccessibleChanged(B_ACCESSIBLE_VALUE_CHANGED);
  char text[20];
  if (fieldNumber == 6) {
    // The AM/PM label is cut to 19 bytes, and to two characters when the
    // field is too narrow for more.
    std::string label = FirstBytes(getLabel(v + 87), sizeof text - 1);
    if (Bounds().Width() < 40)
      label = FirstCharacters(label, 2);
    SetText(label.c_str());
    BMessage report('AMPM');
    report.AddInt32("_ap", v);
    Report(&report);
  } else if (fieldNumber == 5) {
    snprintf(text, sizeof text, "%02ld", long(v));
    SetText(text);
    BMessage report('NMIN');
    report.AddInt32("_ min", v);
    Report(&report);
  } else if (fieldNumber == 4) {
    BMessage report('NHOU');
    report.AddInt32("_h", v);
    Report(&report);
    snprintf(text, sizeof text, "%02ld", long(v));
    SetText(text);
  } else if (fieldNumber > 2) {
    snprintf(text, sizeof text, "%02ld", long(v));
    SetText(text);
    Invalidate();
    BMessage report('TDAY');
    Report(&report);
  } else {
    if (fieldNumber == 2) {
      SetText(getLabel(v + 74));
    } else if (fieldNumber == 1) {
      snprintf(text, sizeof text, "%4ld", long(v));
      SetText(text);
    }
    BMessage report('TFEB');
    Report(&report);
  }
}

bool TDStringView::GetAccessibleInfo(accessible_info* info) const
{
  static const int kNames[] = {kLabelYear, kLabelMonth, kLabelDay, kLabelHour, kLabelMinute, kLabelAmPmField};
  if (fieldNumber < 1 || fieldNumber > 6) {
    info->role = B_ACCESSIBLE_IGNORED;
    return true;
  }
  info->role = B_ACCESSIBLE_SPIN_BOX;
  info->name = getMoreLabel(kNames[fieldNumber - 1]);
  if (fieldNumber == 2)
    info->value = MonthName(value);
  else if (fieldNumber == 6)
    info->value = value == 1 || value == 2 ? getLabel(value + 87) : "";
  else
    info->value = std::to_string(value);
  info->SetNumber(value, minValue, maxValue);
  return true;
}

void TDStringView::Step(int32 delta)
{
  // One step below the minimum lands on the maximum and one above the
  // maximum on the minimum; nothing carries into the neighbouring field.
  // Counted wide, as a stored value may lie anywhere.
  int64 next = int64(value) + delta;
  if (next < minValue)
    next = maxValue;
  if (next > maxValue)
    next = minValue;
  value = int32(next);
  FormatValue(value);
}

void TDStringView::KeyUp(const char* bytes, int32 numBytes)
{
  if (!bytes || numBytes < 1)
    return;
  const signed char key = static_cast<signed char>(bytes[0]);
  switch (key) {
  case B_HOME: {
    BMessage report('TDSV');
    report.AddInt32("_lfdnr", 4);
    Report(&report);
    return;
  }
  case B_TAB:
  case B_RIGHT_ARROW:
  case B_LEFT_ARROW: {
    const int32 step = key == B_LEFT_ARROW ? -1 : 1;
    int32 next = fieldNumber + step;
    if (next > 6)
      next = 1;
    if (next < 1)
      next = 6;
    // The direction lets the panel pass over fields it does not show.
    BMessage report('TDSV');
    report.AddInt32("_lfdnr", next);
    report.AddInt32("_step", step);
    Report(&report);
    return;
  }
  case B_ENTER:
  case B_ESCAPE: {
    BMessage report('Qmod');
    report.AddInt32("_QuitMod", key == B_ENTER ? 1 : 0);
    Report(&report);
    return;
  }
  case B_PAGE_UP:
  case B_PAGE_DOWN: {
    BMessage report('MENU');
    report.AddInt32("m_id", 1);
    Report(&report);
    return;
  }
  case B_UP_ARROW:
  case '+': Step(1); return;
  case B_DOWN_ARROW:
  case '-': Step(-1); return;
  default:
    // Other keys, digits included, only show the value again.
    Step(0);
    return;
  }
}

void TDStringView::MouseDown(BPoint)
{
  if (fieldNumber >= kFirstMouseless)
    return;
  MakeFocus(true);
  BPoint where;
  uint32 buttons = 0;
  GetMouse(&where, &buttons, true);
  if (focused) {
    if (where.y <= kRaiseZoneBottom)
      Step(1);
    else if (where.y >= kLowerZoneTop)
      Step(-1);
    else
      Step(0);
    return;
  }
  // The first click selects the field; the panel moves the focus mark.
  focused = true;
  BMessage report('TDSV');
  report.AddInt32("_lfdnr", fieldNumber);
  Report(&report);
  if (value > maxValue) {
    value = maxValue;
    Invalidate();
  }
}

void TDStringView::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case B_MOUSE_WHEEL_CHANGED: {
    // Frame pieces take no mouse input; stepping one would replace its
    // "/" or ":" by a number.
    if (fieldNumber >= kFirstMouseless)
      return;
    const float delta = message->GetFloat("be:wheel_delta_y", 0);
    const int32 step = fieldNumber == 5 ? 5 : 1;
    if (delta < -0.1f)
      Step(step);
    else if (delta > 0.1f)
      Step(-step);
    else
      Step(0);
    Invalidate();
    return;
  }
  case 'TICK':
  case '_MCH':
  case '_UKD':
  case '_UKU': return;
  default:
    printf("TStringView MR  '%s'\n", LongToAsc(message->what));
    BStringView::MessageReceived(message);
    return;
  }
}

void TDStringView::Draw(BRect)
{
  const BRect bounds = Bounds();
  const float cx = (bounds.right - bounds.left) * 0.5f;
  const rgb_color line = {12, 12, 12, 0};
  SetHighColor(line);

  // Each piece extends its frame line 4 units left and 2 right of its own
  // bounds, so neighbouring pieces join into one rounded box; the ends of
  // the box are drawn by the pieces 51 and 52.
  BRect frame(bounds.left - 4, bounds.top + 9, bounds.right + 4 - 2, bounds.bottom - 9);
  if (fieldNumber == 51)
    frame.left = bounds.left;
  if (fieldNumber == 52)
    frame.right = bounds.right - 2;
  StrokeRoundRect(frame, 3, 3, B_SOLID_HIGH);

  if (focused) {
    const drawing_mode mode = DrawingMode();
    const rgb_color fill = FocusFillColor();
    const BRect inner = bounds.InsetByCopy(1, 1);
    SetHighColor(fill);
    SetLowColor(fill);
    FillRect(BRect(inner.left, inner.top + 12, inner.right, inner.bottom - 12));
    SetHighColor(line);
    StrokeRoundRect(BRect(inner.left - 1, inner.top + 12, inner.right + 1, inner.bottom - 12), 2, 2);
    DrawBitmap(upArrow.get(), BPoint(cx - 6, 3));
    DrawBitmap(downArrow.get(), BPoint(cx - 6, inner.bottom - 9));
    SetDrawingMode(mode);
  }

  if (value > maxValue) {
    value = maxValue;
    Invalidate();
  }

  const float baseline = (bounds.bottom - bounds.top) * 0.5f + 4;
  if (fieldNumber == 2) {
    const char* month = getLabel(value + 74);
    DrawString(month, BPoint(cx - StringWidth(month) / 2 + 2, baseline));
  } else {
    DrawString(Text(), BPoint(cx - StringWidth(Text()) / 2, baseline));
  }
}
