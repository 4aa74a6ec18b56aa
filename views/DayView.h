// One day cell of a month grid: a small view, 16 pixels high, that shows the
// day number and, by its fill and corner marks, whether the day is today, a
// weekend day, a holiday, a user day or an event day, and whether it is the
// selected day. A cell asks the marked-day registry about its day when it is
// built and keeps the answers until it is asked to look again.
//
//   auto* cell = new DayView(BRect(7, 27, 31, 43), "anyDV", 2006, 12, 25, 1.5, false);
//   cell->fSelected = true;       // set by the month view
//   monthView->AddChild(cell);
//
// A primary click picks the day: the entry panel's day field takes the focus
// ('TDSV' to the window) and 'NDAY' goes to the application, which hands it
// to the window. A secondary click on a marked cell shows the day's marks.
#pragma once

#include "platform/interface/BView.h"

class MarkDay;

// Mark kinds of a cell.
enum : int32 {
  kDayUnmarked = 0,
  kDayLocal = 1,
  kDayUser = 2,
  kDayGlobal = 3,
  kDayEvent = 4,
};

class DayView : public BView {
public:
  DayView(BRect frame, const char* name, long year, long month, long day, float textOffset, bool weekend);
  ~DayView() override;

  void Draw(BRect updateRect) override;
  void MouseDown(BPoint where) override;
  // A cell of its month's table, named by its date in words, its marks and
  // whether it is today: "Monday, 15 March 2004, St. Patrick (holiday), today".
  bool GetAccessibleInfo(accessible_info* info) const override;

  // Marks the cell selected or not, and tells a listening screen reader.
  void SetSelected(bool selected);

  // Asks the registry afresh whether the day is today, holds an event or
  // is marked, and with what tool tip.
  void AskRegistry();

  // The kind a day's first shown record gives: an event, a global holiday,
  // a user day (also any record of kind 'user') or else a local holiday;
  // unmarked without a shown record.
  static int32 MarkKindOf(const MarkDay* mark);
  // The fill of a cell: plain, darkened on a weekend, the holiday colour
  // for holidays and the user colour for user days (whatever the weekday),
  // and the selection colour over all of them.
  static rgb_color FillColor(int32 markKind, bool weekend, bool selected);

  int32 fDay;
  int32 fMonth;
  int32 fYear;
  int32 fMarkKind;
  bool fSelected;
  bool fWeekend;
  bool fIsToday;
  bool fHasEvent;
  float fTextOffset;
  int32 fWeek;           // ISO 8601 week, set by the month view
  rgb_color fMarkColor;  // the mark bar of a selected marked cell

private:
  // The day's marks with their date in an alert.
  static void ShowMemo(int32 month, int32 day, int32 year);
};

// Sets the view's tool tip; a null view is reported and skipped.
void AddToolTip(BView* view, const char* text);
