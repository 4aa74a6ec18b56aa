// Where a month view puts its parts, from the view's bounds alone: nine
// rows (the weekday names, six week rows, the caption strip below), seven
// day columns from x = 5, and a column of week numbers at the right when the
// view is wide enough for an eighth.
//
//   MonthLayout layout = MonthLayout::For(BRect(0, 0, 225, 170));
//   layout.cellWidth;                 // 26.75: the week column is reserved
//   layout.CellRect(6, 1);            // Sunday of the first week row
//
// Week column rules, with width = right - left: the column is reserved (and
// the day columns narrowed to (width - 12) / 8) only when (width - 12) / 7
// exceeds 26, so from width 195 up; week numbers are drawn when the day
// column is at least 24 wide and the head "Wk" when it exceeds 26. A view
// 200 wide thus reserves the column but shows no numbers (23.5), and one 190
// wide reserves none and draws the numbers where its Sunday cells lie.
#pragma once

#include "platform/support/BRect.h"
#include "platform/support/SupportDefs.h"

struct MonthLayout {
  static MonthLayout For(BRect bounds);

  // The rectangle of the day cell in a column (0 Monday .. 6 Sunday) and a
  // week row (1..6): cellWidth - 2 wide and 16 high.
  BRect CellRect(int32 column, int32 row) const;

  float rowHeight;     // a ninth of the view's height
  float sevenWidth;    // (width - 12) / 7: the caption centres in 7 of these
  float cellWidth;     // the width of a day column
  bool weekColumn;     // an eighth column is reserved for the week numbers
  bool weekNumbers;    // the week numbers are drawn
  bool weekHead;       // the head "Wk" is drawn
  float headerOffset;  // x of a weekday name within its column
  float cellTextOffset; // x of the day number within its cell
};
