#include "calendar/MonthLayout.h"

MonthLayout MonthLayout::For(BRect bounds)
{
  MonthLayout layout;
  const float width = bounds.right - bounds.left;
  layout.rowHeight = (bounds.bottom - bounds.top) / 9;
  layout.sevenWidth = (width - 12) / 7;
  layout.weekColumn = layout.sevenWidth > 26;
  layout.cellWidth = layout.weekColumn ? (width - 12) / 8 : layout.sevenWidth;
  layout.weekNumbers = layout.cellWidth >= 24;
  layout.weekHead = layout.cellWidth > 26;
  layout.headerOffset = (layout.cellWidth - 1) / 2 - 10;
  layout.cellTextOffset = (layout.cellWidth - 2) / 2 - 11;
  return layout;
}

BRect MonthLayout::CellRect(int32 column, int32 row) const
{
  return BRect(column * cellWidth + 7, row * rowHeight + 8, (column + 1) * cellWidth + 5, row * rowHeight + 24);
}
