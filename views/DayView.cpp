#include "views/DayView.h"

#include "calendar/DateNames.h"
#include "calendar/DayColors.h"
#include "calendar/Labels.h"
#include "calendar/MonthGrid.h"
#include "marks/STMarkups.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/InterfaceDefs.h"
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"

#include <cstdio>
#include <string>

namespace {

// The entry panel's day field.
constexpr int32 kDayField = 3;

constexpr rgb_color kEventCorner = {18, 197, 197, 120};
constexpr rgb_color kInk = {15, 15, 15, 0};
constexpr rgb_color kTodayInk = {255, 15, 15, 0};

rgb_color PlainFill()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return ui_color(B_UI_CONTROL_BACKGROUND_COLOR);
#else
  return {254, 254, 254, 0};
#endif
}

rgb_color SelectFill()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR);
#else
  return HighCOL;
#endif
}

rgb_color FrameColor()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return tint_color(ui_color(B_MENU_BACKGROUND_COLOR), B_DARKEN_2_TINT);
#else
  return {152, 152, 152, 0};
#endif
}

} // namespace

void AddToolTip(BView* view, const char* text)
{
  if (!view) {
    printf("AddTT: bad view\n");
    return;
  }
  view->SetToolTip(text);
}

DayView::DayView(BRect frame, const char* name, long year, long month, long day, float textOffset, bool weekend)
    : BView(frame, name, B_FOLLOW_NONE, B_WILL_DRAW | B_DRAWN_BY_PARENT),
      fDay(int32(day)),
      fMonth(int32(month)),
      fYear(int32(year)),
      fMarkKind(kDayUnmarked),
      fSelected(false),
      fWeekend(weekend),
      fIsToday(false),
      fHasEvent(false),
      fTextOffset(textOffset),
      fWeek(0),
      fMarkColor(GLOBALCOL)
{
  SetViewColor(252, 252, 252, 0);
  SetHighColor(55, 55, 55, 0);
  SetFontSize(10);
  AskRegistry();
}

void DayView::AskRegistry()
{
  // The registry is asked afresh: the window deletes it when it closes, so
  // a pointer kept from an earlier look could be stale.
  STMarkups* marks = STMarkups::getSTMarkups();
  const std::string toolTip = ToolTipText();
  const bool wasToday = fIsToday;
  fIsToday = marks->fTodayCode == fYear * 10000 + fMonth * 100 + fDay;
  fHasEvent = marks->IsEventDay(fMonth, fDay, fYear);

  const MarkDay* mark = marks->IsMarkDay(fMonth, fDay, fYear);
  fMarkKind = MarkKindOf(mark);
  fMarkColor = fMarkKind == kDayUser ? USERCOL : GLOBALCOL;
  std::string text;
  if (fMarkKind != kDayUnmarked)
    marks->GetMarkText(fMonth, fDay, fYear, &text, false);
  AddToolTip(this, text.c_str());
  if (fIsToday != wasToday || ToolTipText() != toolTip)
    AccessibleChanged(B_ACCESSIBLE_NAME_CHANGED);
}

void DayView::SetSelected(bool selected)
{
  if (selected == fSelected)
    return;
  fSelected = selected;
  Invalidate();
  AccessibleChanged(B_ACCESSIBLE_SELECTION_CHANGED);
  // In a month that has the keys, the selected day is where they are.
  if (selected && Parent() && Parent()->IsFocus())
    AccessibleChanged(B_ACCESSIBLE_FOCUS_CHANGED);
}

bool DayView::GetAccessibleInfo(accessible_info* info) const
{
  const MonthGrid grid(fYear, fMonth);
  info->role = B_ACCESSIBLE_CELL;
  info->row = grid.Row(fDay) - 1;
  info->column = grid.Column(fDay);
  info->selected = fSelected;
  info->focused = fSelected && Parent() && Parent()->IsFocus();
  info->name = LongDateText(fYear, fMonth, fDay);
  for (const MarkDay* mark : STMarkups::getSTMarkups()->Matches(fMonth, fDay, fYear)) {
    int kind = kLabelHoliday;
    if (MarkKindOf(mark) == kDayUser)
      kind = kLabelUserDay;
    else if (MarkKindOf(mark) == kDayEvent)
      kind = kLabelEvent;
    info->name += ", " + mark->fName + " (" + getLabel(kind) + ")";
  }
  if (fIsToday)
    info->name += std::string(", ") + getLabel(kLabelToday);
  return true;
}

DayView::~DayView() = default;

int32 DayView::MarkKindOf(const MarkDay* mark)
{
  if (!mark || !mark->fShow)
    return kDayUnmarked;
  if (mark->fKind == 'user')
    return kDayUser;
  switch (mark->fCategory) {
  case kCategoryEvent: return kDayEvent;
  case kCategoryGlobal: return kDayGlobal;
  case kCategoryUser: return kDayUser;
  default: return kDayLocal;
  }
}

rgb_color DayView::FillColor(int32 markKind, bool weekend, bool selected)
{
  if (selected)
    return SelectFill();
  if (markKind == kDayUser)
    return USERCOL;
  if (markKind == kDayLocal || markKind == kDayGlobal)
    return GLOBALCOL;
  const rgb_color plain = PlainFill();
  return weekend ? tint_color(plain, 1.15f) : plain;
}

void DayView::Draw(BRect)
{
  const BRect bounds = Bounds();
  SetHighColor(ui_color(B_MENU_BACKGROUND_COLOR));
  FillRect(bounds);

  char text[16];
  snprintf(text, sizeof text, " %2ld", long(fDay));
  BPoint where(bounds.left + fTextOffset, bounds.bottom - 3);

  const rgb_color fill = FillColor(fMarkKind, fWeekend, fSelected);
  SetHighColor(fill);
  SetLowColor(fill);
  const BRect inner = bounds.InsetByCopy(1, 1);
  FillRect(inner);

  if (fHasEvent) {
    SetHighColor(kEventCorner);
    FillTriangle(BPoint(inner.right - 4, inner.top), BPoint(inner.right, inner.top),
                 BPoint(inner.right, inner.top + 4));
  }

  SetHighColor(FrameColor());
  StrokeRoundRect(bounds, 3, 3);

  // A selected marked cell keeps its mark colour in a bar at the left.
  if (fSelected && fMarkKind != kDayUnmarked && fMarkKind != kDayEvent) {
    SetPenSize(1);
    SetHighColor(fMarkColor);
    FillTriangle(inner.LeftTop(), BPoint(inner.left + 4, inner.top), BPoint(inner.left, inner.top + 4));
    FillRect(BRect(inner.left, inner.top, inner.left + 3, inner.bottom));
  }

  SetHighColor(kInk);
  if (fSelected)
    StrokeRoundRect(bounds, 3, 3);

  SetFont(be_plain_font, B_FONT_ALL);
  if (fIsToday) {
    SetHighColor(kTodayInk);
    SetFont(be_bold_font, B_FONT_ALL);
    where.x -= 1;
  }
  DrawString(text, where);
  SetFontSize(10);
}

void DayView::MouseDown(BPoint)
{
  BPoint where;
  uint32 buttons = 0;
  GetMouse(&where, &buttons, true);

  // The focus request may rebuild the month views and with them this cell
  // (the window redraws them when the focus moves from the clock to the
  // date), so everything the click needs is taken first.
  const int32 day = fDay, month = fMonth, year = fYear;
  const bool marked = fMarkKind != kDayUnmarked || fHasEvent;

  // The day field takes the focus before the picked day arrives.
  BMessage focus('TDSV');
  focus.AddInt32("_lfdnr", kDayField);
  if (BWindow* window = Window())
    window->MessageReceived(&focus);

  if (buttons == B_PRIMARY_MOUSE_BUTTON) {
    BMessage pick('NDAY');
    pick.AddInt32("_day", day);
    pick.AddInt32("_mon", month);
    pick.AddInt32("_year", year);
    be_app_messenger.SendMessage(&pick);
  }
  if (buttons == B_SECONDARY_MOUSE_BUTTON && marked)
    ShowMemo(month, day, year);
}

void DayView::ShowMemo(int32 month, int32 day, int32 year)
{
  std::string text;
  STMarkups::getSTMarkups()->GetMarkText(month, day, year, &text, true);
  if (text.size() <= 2)
    text = "no Memo for this day..";
  auto* alert = new BAlert("info", text.c_str(), getLabel(21), nullptr, nullptr, B_WIDTH_AS_USUAL, B_INFO_ALERT);
  alert->Go();
}
