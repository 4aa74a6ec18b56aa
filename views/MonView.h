// The month grid: a rounded panel with a header row of weekday names from
// Monday to Sunday, one DayView child per day, a column of ISO week numbers
// at the right when the view is wide enough, and a caption with the month
// and the year at the bottom. The view paints the panel, header, caption and
// week numbers; the day cells paint themselves.
//
//   auto* month = new MonView(BRect(3, 77, 317, 240), "tMon", 2004, 3, 7, false);
//   background->AddChild(month);
//   month->DrawTable(true);     // builds the cells, day 7 selected
//   month->fDay = 9;
//   month->HighlightDay();      // moves the selection to day 9
//
// The columns follow the view's size (MonthLayout), so a view of any size
// paints and builds its cells alike without a layout step of its own.
//
// The same view paints a month offscreen: added to a bitmap that accepts
// views, it has no window and takes no window lock; the bitmap's user holds
// the bitmap's lock while it calls Draw and DrawTable and then Draw of each
// cell.
//
// The month view the window gives the keys to (MakeFocus) frames itself in
// the keyboard colour and picks days by keys, reporting each pick to the
// window at once ('NDAY', as a click on a cell does): the arrows move a day
// or a week, Page Up and Page Down a month, Home goes to today. Return and
// Escape ask the window to answer or cancel ('Qmod' with "_QuitMod" 1 or
// 0), Tab gives the keys back to the panel's day field ('TDSV' 3); these
// act when the key is released, as the panel's fields do.
#pragma once

#include "calendar/CivilDay.h"
#include "calendar/MonthLayout.h"
#include "platform/interface/BView.h"

#include <functional>

class DayView;
class MonthGrid;

class MonView : public BView {
public:
  // The bool is not read (the window passes false, the month pictures true).
  MonView(BRect frame, const char* name, long year, int month, int day, bool unused);
  ~MonView() override;

  void Draw(BRect updateRect) override;
  // A click outside the cells focuses the panel's month field, or its year
  // field when it lies on the caption; a secondary click also writes the
  // year's calendar (HtmCalendar).
  void MouseDown(BPoint where) override;
  void KeyDown(const char* bytes, int32 numBytes) override;
  void KeyUp(const char* bytes, int32 numBytes) override;
  void MakeFocus(bool focus = true) override;
  // A table named by its month and year, whose cells are the days.
  bool GetAccessibleInfo(accessible_info* info) const override;

  // Writes the month pictures and the HTML page of the shown year through
  // `exporter`; does nothing while no exporter is set.
  virtual void HtmCalendar();
  // Builds the day cells for fYear and fMonth, the cell of fDay selected
  // when `markSelected`; ends with DrawMonInfo. Cells already there for
  // the same month and places are kept and ask the registry afresh.
  virtual void DrawTable(bool markSelected);
  // One week number at the right edge, its base line at `where.y`.
  virtual void DrawWeekInfo(BPoint where, long week);
  // Paints the caption and the week numbers.
  virtual void DrawMonInfo();
  // Moves the selection mark to the cell of fDay.
  virtual void HighlightDay();
  virtual void DeleteChilds();

  // The day cell at a child index (index 0 is day 1), or null.
  DayView* CellAt(int32 index) const;

  // Set by the owner before DrawMonInfo and DrawTable.
  int32 fYear;
  int32 fMonth;
  int32 fDay;
  // The x offset of a day number within its cell, set by DrawTable; the
  // window hands it to the clock as its left text margin.
  float fTextOffset;
  // Writes the calendar of a year; the month view hands it fYear and fMonth.
  std::function<void(int32 year, int32 month)> exporter;

private:
  MonthLayout Layout() const;
  // Reports a message to the window by a direct call.
  void Report(BMessage* message);
  void Pick(const CivilDay& day);
  // Tells a listening screen reader that the selected day has the keys.
  void AnnounceSelectedCell();
  // Whether the cells are those of the month for this layout.
  bool HasCellsOf(const MonthGrid& grid, const MonthLayout& layout) const;
};
