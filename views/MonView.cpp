#include "views/MonView.h"

#include "calendar/DateNames.h"
#include "calendar/Labels.h"
#include "calendar/MonthGrid.h"
#include "marks/STMarkups.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/InterfaceDefs.h"
#include "platform/messaging/BMessage.h"
#include "views/DayView.h"

#include <cstdio>

namespace {

// The entry panel's year and month fields.
constexpr int32 kYearField = 1;
constexpr int32 kMonthField = 2;

// The panel's day field, which the keys go back to.
constexpr int32 kDayField = 3;

constexpr rgb_color kInk = {15, 15, 15, 0};
constexpr rgb_color kGridGrey = {155, 155, 155, 0};

rgb_color PanelColor()
{
  return ui_color(B_MENU_BACKGROUND_COLOR);
}

} // namespace

MonView::MonView(BRect frame, const char* name, long year, int month, int day, bool)
    : BView(frame, name, B_FOLLOW_NONE, B_WILL_DRAW),
      fYear(int32(year)),
      fMonth(month),
      fDay(day),
      fTextOffset(0)
{
  SetViewColor(232, 232, 232, 0);
  SetHighColor(55, 55, 55, 0);
  SetFontSize(11);
}

MonView::~MonView()
{
  DeleteChilds();
}

MonthLayout MonView::Layout() const
{
  return MonthLayout::For(Bounds());
}

bool MonView::GetAccessibleInfo(accessible_info* info) const
{
  info->role = B_ACCESSIBLE_TABLE;
  info->name = MonthYearText(fYear, fMonth);
  return true;
}

DayView* MonView::CellAt(int32 index) const
{
  return dynamic_cast<DayView*>(ChildAt(index));
}

void MonView::Draw(BRect)
{
  const BRect bounds = Bounds();
  const MonthLayout layout = Layout();
  const rgb_color panel = PanelColor();

  const BRect rounded(4, 7, bounds.right - 5, 8 * layout.rowHeight + 8);
  SetHighColor(panel);
  FillRoundRect(rounded, 3, 3);
  // The frame that shows where the keys go.
  if (IsFocus()) {
    SetHighColor(ui_color(B_KEYBOARD_NAVIGATION_COLOR));
    StrokeRoundRect(rounded, 3, 3);
  }

  // Weekday names from Monday (label 92) to Sunday (label 91).
  SetLowColor(panel);
  SetHighColor(kInk);
  char text[64];
  for (int32 column = 0; column < 7; column++) {
    snprintf(text, sizeof text, " %s", getLabel(column < 6 ? 92 + column : 91));
    DrawString(text, BPoint(column * layout.cellWidth + 5 + layout.headerOffset, layout.rowHeight + 2));
  }
  if (layout.weekHead) {
    snprintf(text, sizeof text, " %s", getLabel(98));
    DrawString(text, BPoint(bounds.right - layout.cellWidth + 2, layout.rowHeight + 2));
  }

  const rgb_color line = tint_color(PanelColor(), B_DARKEN_2_TINT);
  BeginLineArray(4);
  AddLine(BPoint(bounds.left + 7, bounds.top + 22), BPoint(bounds.right - 8, bounds.top + 22), line);
  AddLine(BPoint(bounds.left + 7, bounds.bottom - 27), BPoint(bounds.right - 8, bounds.bottom - 27), line);
  EndLineArray();

  DrawMonInfo();
}

void MonView::DrawMonInfo()
{
  const BRect bounds = Bounds();
  const MonthLayout layout = Layout();
  const rgb_color panel = PanelColor();

  SetHighColor(panel);
  SetLowColor(panel);
  FillRect(BRect(10, bounds.bottom - 24, 7 * layout.sevenWidth, bounds.bottom - 12));

  char caption[64];
  snprintf(caption, sizeof caption, "%s  %ld ", getLabel(74 + fMonth), long(fYear));
  SetHighColor(kInk);
  DrawString(caption, BPoint((7 * layout.sevenWidth - StringWidth(caption)) / 2, bounds.bottom - 15));

  if (layout.weekColumn) {
    SetHighColor(panel);
    FillRect(BRect(bounds.right - 28, bounds.top + 24, bounds.right - 6, bounds.bottom - 30));
  }

  // Each week row shows its number once, at the height of its first cell.
  long shown = 0;
  for (int32 index = 0; index < CountChildren(); index++) {
    const DayView* cell = CellAt(index);
    if (!cell || cell->fWeek == shown)
      continue;
    shown = cell->fWeek;
    DrawWeekInfo(BPoint(bounds.right - 26, cell->Frame().bottom - 3), shown);
  }
}

void MonView::DrawWeekInfo(BPoint where, long week)
{
  if (!Layout().weekNumbers)
    return;
  const BRect bounds = Bounds();
  const float left = bounds.right - 26;
  const rgb_color panel = PanelColor();
  SetHighColor(panel);
  FillRect(BRect(left, where.y - 12, left + 18, where.y + 1));

  char text[16];
  snprintf(text, sizeof text, "%2ld", week);
  SetLowColor(panel);
  SetHighColor(kInk);
  DrawString(text, BPoint(bounds.right - Layout().cellWidth / 1.3f, where.y));
}

void MonView::DrawTable(bool markSelected)
{
  BWindow* window = Window();
  if (window)
    window->Lock();
  const MonthLayout layout = Layout();
  fTextOffset = layout.cellTextOffset;
  const MonthGrid grid(fYear, fMonth);
  // Making some thirty views costs more than asking the registry again, and
  // a pick within the month shown keeps them all.
  if (HasCellsOf(grid, layout)) {
    for (int32 index = 0; index < CountChildren(); index++) {
      DayView* cell = CellAt(index);
      cell->SetSelected(markSelected && cell->fDay == fDay);
      cell->AskRegistry();
      cell->Invalidate();
    }
    DrawMonInfo();
    if (window)
      window->Unlock();
    return;
  }

  DeleteChilds();
  for (int32 day = 1; day <= grid.Days(); day++) {
    auto* cell = new DayView(layout.CellRect(grid.Column(day), grid.Row(day)), "anyDV", fYear, fMonth, day,
                             fTextOffset, grid.IsWeekend(day));
    cell->fSelected = markSelected && day == fDay;
    AddChild(cell);
    cell->fWeek = IsoWeek(fYear, fMonth, day);
  }
  AccessibleChanged(B_ACCESSIBLE_NAME_CHANGED);
  if (IsFocus())
    AnnounceSelectedCell();

  DrawMonInfo();
  if (window)
    window->Unlock();
}

bool MonView::HasCellsOf(const MonthGrid& grid, const MonthLayout& layout) const
{
  if (CountChildren() != grid.Days())
    return false;
  for (int32 day = 1; day <= grid.Days(); day++) {
    const DayView* cell = CellAt(day - 1);
    if (!cell || cell->fYear != fYear || cell->fMonth != fMonth || cell->fDay != day ||
        cell->fTextOffset != fTextOffset || cell->Frame() != layout.CellRect(grid.Column(day), grid.Row(day)))
      return false;
  }
  return true;
}

void MonView::HighlightDay()
{
  for (int32 index = CountChildren() - 1; index >= 0; index--) {
    DayView* cell = CellAt(index);
    if (!cell)
      continue;
    cell->SetSelected(cell->fDay == fDay);
  }
}

void MonView::DeleteChilds()
{
  for (int32 index = CountChildren() - 1; index >= 0; index--) {
    BView* child = ChildAt(index);
    child->RemoveSelf();
    delete child;
  }
}

void MonView::MouseDown(BPoint)
{
  BPoint where;
  uint32 buttons = 0;
  GetMouse(&where, &buttons, true);

  // The caption with the year lies below the lower separator line.
  BMessage focus('TDSV');
  focus.AddInt32("_lfdnr", where.y < Bounds().bottom - 27 ? kMonthField : kYearField);
  Report(&focus);

  if (buttons == B_SECONDARY_MOUSE_BUTTON)
    HtmCalendar();
}

void MonView::KeyDown(const char* bytes, int32 numBytes)
{
  if (bytes == nullptr || numBytes != 1)
    return;
  const CivilDay shown{fYear, fMonth, fDay};
  switch (bytes[0]) {
  case B_LEFT_ARROW: Pick(DaysLater(shown, -1)); break;
  case B_RIGHT_ARROW: Pick(DaysLater(shown, 1)); break;
  case B_UP_ARROW: Pick(DaysLater(shown, -7)); break;
  case B_DOWN_ARROW: Pick(DaysLater(shown, 7)); break;
  case B_PAGE_UP: Pick(MonthsLater(shown, -1)); break;
  case B_PAGE_DOWN: Pick(MonthsLater(shown, 1)); break;
  case B_HOME: {
    const int32 today = STMarkups::getSTMarkups()->fTodayCode;
    if (today != 0)
      Pick(CivilDay{today / 10000, today / 100 % 100, today % 100});
    break;
  }
  default: break;
  }
}

void MonView::KeyUp(const char* bytes, int32 numBytes)
{
  if (bytes == nullptr || numBytes != 1)
    return;
  switch (bytes[0]) {
  case B_ENTER:
  case B_ESCAPE: {
    BMessage answer('Qmod');
    answer.AddInt32("_QuitMod", bytes[0] == B_ENTER ? 1 : 0);
    Report(&answer);
    break;
  }
  case B_TAB: {
    BMessage focus('TDSV');
    focus.AddInt32("_lfdnr", kDayField);
    Report(&focus);
    break;
  }
  default: break;
  }
}

void MonView::MakeFocus(bool focus)
{
  const bool had = IsFocus();
  BView::MakeFocus(focus);
  if (IsFocus() == had)
    return;
  Invalidate();
  if (IsFocus())
    AnnounceSelectedCell();
}

void MonView::Report(BMessage* message)
{
  if (BWindow* window = Window())
    window->MessageReceived(message);
}

void MonView::Pick(const CivilDay& day)
{
  BMessage pick('NDAY');
  pick.AddInt32("_day", day.day);
  pick.AddInt32("_mon", day.month);
  pick.AddInt32("_year", day.year);
  Report(&pick);
}

void MonView::AnnounceSelectedCell()
{
  for (int32 index = 0; index < CountChildren(); index++) {
    if (CellAt(index)->fSelected)
      CellAt(index)->AccessibleChanged(B_ACCESSIBLE_FOCUS_CHANGED);
  }
}

void MonView::HtmCalendar()
{
  if (exporter)
    exporter(fYear, fMonth);
}
