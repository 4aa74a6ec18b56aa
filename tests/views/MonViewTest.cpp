// Month views: the cells they build, the selection, a month painted
// offscreen, and what clicks outside the cells report.
#include "calendar/CivilDay.h"
#include "calendar/DayColors.h"
#include "calendar/MonthGrid.h"
#include "calendar/MonthLayout.h"
#include "platform/interface/InterfaceDefs.h"
#include "tests/views/ViewsFixture.h"

#include <QPixmap>

#include <fstream>
#include <vector>

namespace {

class MonViewTest : public ViewsTest {};

const BRect kPicture(0, 0, 225, 170);

TEST_F(MonViewTest, CellsForEveryDayInTheirColumns)
{
  Marks("");
  struct Row {
    const char* edge;
    int32 year, month, day;
    int32 cells, firstColumn, lastRow;
  } rows[] = {
      {"month starting on a Sunday needs six rows", 2008, 6, 15, 30, 6, 6},
      {"leap February", 2004, 2, 29, 29, 6, 5},
      {"February of a common year", 2005, 2, 28, 28, 1, 5},
      {"selected day beyond the month marks nothing", 2005, 2, 31, 28, 1, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    MonView view(kPicture, "iMon", row.year, row.month, row.day, true);
    view.DrawTable(true);
    const MonthLayout layout = MonthLayout::For(kPicture);
    ASSERT_EQ(view.CountChildren(), row.cells);
    EXPECT_EQ(view.CellAt(0)->Frame(), layout.CellRect(row.firstColumn, 1));
    EXPECT_EQ(view.CellAt(row.cells - 1)->Frame().top, layout.CellRect(0, row.lastRow).top);
    EXPECT_FLOAT_EQ(view.fTextOffset, layout.cellTextOffset);
    for (int32 i = 0; i < row.cells; i++) {
      const DayView* cell = view.CellAt(i);
      const int32 day = i + 1;
      EXPECT_EQ(cell->fDay, day);
      EXPECT_EQ(cell->fSelected, day == row.day) << day;
      EXPECT_EQ(cell->fWeekend, MonthGrid(row.year, row.month).IsWeekend(day)) << day;
      EXPECT_EQ(cell->fWeek, IsoWeek(row.year, row.month, day)) << day;
      // A screen reader finds each day in its table cell, rows counted
      // from the first week.
      accessible_info info;
      cell->GetAccessibleInfo(&info);
      EXPECT_EQ(info.column, MonthGrid(row.year, row.month).Column(day)) << day;
      EXPECT_EQ(info.row, MonthGrid(row.year, row.month).Row(day) - 1) << day;
      EXPECT_EQ(info.selected, day == row.day) << day;
    }
  }

  MonView view(kPicture, "iMon", 2004, 3, 7, true);
  view.DrawTable(true);
  view.fDay = 9;
  view.HighlightDay();
  std::vector<int32> selected;
  for (int32 i = 0; i < view.CountChildren(); i++) {
    if (view.CellAt(i)->fSelected)
      selected.push_back(view.CellAt(i)->fDay);
  }
  EXPECT_EQ(selected, std::vector<int32>{9}) << "the selection moved";
  accessible_info table;
  ASSERT_TRUE(view.GetAccessibleInfo(&table));
  EXPECT_EQ(table.role, B_ACCESSIBLE_TABLE);
  EXPECT_EQ(table.name, "March 2004");
  view.DrawTable(false);
  EXPECT_EQ(view.CountChildren(), 31) << "cells are rebuilt, not added";
  for (int32 i = 0; i < view.CountChildren(); i++)
    EXPECT_FALSE(view.CellAt(i)->fSelected);
}

TEST_F(MonViewTest, KeptCellsAskTheRegistryAgain)
{
  STMarkups* marks = Marks("[HD][2004/03/13][Fest][deDE]\n", 20040305);
  MonView view(kPicture, "iMon", 2004, 3, 5, true);
  view.DrawTable(true);
  const DayView* first = view.CellAt(0);
  EXPECT_TRUE(view.CellAt(4)->fIsToday && view.CellAt(4)->fSelected);
  EXPECT_NE(view.CellAt(12)->fMarkKind, kDayUnmarked);

  // A reloaded MarkDays file, another today and another pick in the month.
  std::ofstream(fHome.Path("people/MarkDays")) << "[HD][2004/03/21][Bday][user]\n";
  marks->ClearList();
  marks->LoadHolidays(nullptr);
  marks->CheckHolidays();
  marks->fTodayCode = 20040320;
  view.fDay = 20;
  view.DrawTable(true);
  ASSERT_EQ(view.CountChildren(), 31);
  EXPECT_EQ(view.CellAt(0), first) << "the month's cells are kept";
  EXPECT_FALSE(view.CellAt(4)->fIsToday || view.CellAt(4)->fSelected);
  EXPECT_TRUE(view.CellAt(19)->fIsToday && view.CellAt(19)->fSelected);
  EXPECT_EQ(view.CellAt(12)->fMarkKind, kDayUnmarked);
  EXPECT_EQ(view.CellAt(20)->fMarkKind, kDayUser);

  view.fMonth = 4;
  view.DrawTable(false);
  ASSERT_EQ(view.CountChildren(), 30) << "another month gets its own cells";
  EXPECT_EQ(view.CellAt(0)->fMonth, 4);
}

// A pixel in the lower right of a day's cell, clear of the number and the
// event corner.
BPoint FillPoint(int32 year, int32 month, int32 day, BRect bounds)
{
  const MonthGrid grid(year, month);
  const BRect cell = MonthLayout::For(bounds).CellRect(grid.Column(day), grid.Row(day));
  return BPoint(int(cell.right) - 2, int(cell.bottom) - 2);
}

BRect CellOf(int32 year, int32 month, int32 day, BRect bounds)
{
  const MonthGrid grid(year, month);
  return MonthLayout::For(bounds).CellRect(grid.Column(day), grid.Row(day));
}

TEST_F(MonViewTest, MonthPaintedOffscreen)
{
  Marks("[HD][ever/12/25][Christmas Day][frFR]\n[HD][1970/12/10][Birthday][user]\n"
        "[HD][2006/12/14][Trip][evnt]\n",
        20061212);
  const QImage image = RenderMonth(kPicture, 2006, 12, 1, false);
  ASSERT_EQ(image.size(), QSize(226, 171));

  // 2 December 2006 is a Saturday, the 10th a Sunday.
  struct Row {
    const char* edge;
    int32 day;
    int32 kind;
    bool weekend;
  } rows[] = {
      {"plain weekday", 4, kDayUnmarked, false},
      {"weekend tint", 2, kDayUnmarked, true},
      {"holiday fill", 25, kDayGlobal, false},
      {"user day on a Sunday: user fill", 10, kDayUser, true},
      {"today keeps its fill", 12, kDayUnmarked, false},
  };
  for (const Row& row : rows) {
    const BPoint p = FillPoint(2006, 12, row.day, kPicture);
    EXPECT_EQ(At(image, int(p.x), int(p.y)), Opaque(DayView::FillColor(row.kind, row.weekend, false))) << row.edge;
  }
  const BRect trip = CellOf(2006, 12, 14, kPicture);
  EXPECT_EQ(At(image, int(trip.right) - 2, int(trip.top) + 2), (rgb_color{18, 197, 197, 0})) << "event corner";

  for (int32 day = 1; day <= 31; day++) {
    const int red = CountInk(image, CellOf(2006, 12, day, kPicture), true);
    EXPECT_EQ(red > 0, day == 12) << "only today is red: " << day;
  }

  // The header, the caption and one week number per row (weeks 48 to 52).
  const float h = 170.0f / 9;
  for (int32 column = 0; column < 7; column++)
    EXPECT_GT(CountInk(image, BRect(column * 26.625f + 7, 4, column * 26.625f + 30, h + 3)), 3) << column;
  EXPECT_GT(CountInk(image, BRect(225 - 26.625f, 4, 224, h + 3)), 3) << "the head of the week column";
  EXPECT_GT(CountInk(image, BRect(40, 170 - 24, 150, 170 - 12)), 20) << "caption";
  for (int32 row = 1; row <= 5; row++)
    EXPECT_GT(CountInk(image, BRect(225 - 26, row * h + 10, 225 - 8, row * h + 22)), 3) << "week of row " << row;
  EXPECT_EQ(CountInk(image, BRect(225 - 26, 6 * h + 10, 225 - 8, 6 * h + 22)), 0) << "no sixth row";

  // 200 wide, the week column is reserved and cleared but too narrow.
  const QImage narrow = RenderMonth(BRect(0, 0, 200, 170), 2006, 12, 1, false);
  EXPECT_EQ(CountInk(narrow, BRect(200 - 26, h + 10, 200 - 8, 5 * h + 22)), 0) << "no week numbers";
}

TEST_F(MonViewTest, TheMonthWithTheKeysPicksDaysAndAsksForAnswers)
{
  Marks("", 20040310);
  ReportWindow window;
  auto* view = new MonView(BRect(3, 77, 317, 240), "tMon", 2004, 3, 31, false);
  window.AddChild(view);
  view->DrawTable(true);
  const rgb_color keyboard = Opaque(ui_color(B_KEYBOARD_NAVIGATION_COLOR));
  EXPECT_NE(At(view->Widget()->grab().toImage(), 4, 60), keyboard);
  view->MakeFocus(true);
  EXPECT_EQ(At(view->Widget()->grab().toImage(), 4, 60), keyboard) << "a frame shows where the keys are";

  struct Row {
    const char* edge;
    CivilDay from;
    int key;
    uint32 report;
    CivilDay picked;
    int32 number;   // "_QuitMod" or "_lfdnr"
  } rows[] = {
      {"Right: the next day, in the next month", {2004, 3, 31}, Qt::Key_Right, 'NDAY', {2004, 4, 1}, 0},
      {"Left: the day before, a leap day", {2004, 3, 1}, Qt::Key_Left, 'NDAY', {2004, 2, 29}, 0},
      {"Down: a week on, into the next month", {2004, 3, 31}, Qt::Key_Down, 'NDAY', {2004, 4, 7}, 0},
      {"Page Up: a month back, to its last day", {2004, 3, 31}, Qt::Key_PageUp, 'NDAY', {2004, 2, 29}, 0},
      {"Page Down: a month on, into the next year", {2004, 12, 15}, Qt::Key_PageDown, 'NDAY', {2005, 1, 15}, 0},
      {"Page Down from the 31st: a common February's last day", {2005, 1, 31}, Qt::Key_PageDown, 'NDAY', {2005, 2, 28}, 0},
      {"Home: today", {2004, 12, 15}, Qt::Key_Home, 'NDAY', {2004, 3, 10}, 0},
      {"Return: answer", {2004, 3, 31}, Qt::Key_Return, 'Qmod', {}, 1},
      {"Tab: back to the day field", {2004, 3, 31}, Qt::Key_Tab, 'TDSV', {}, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    view->fYear = row.from.year;
    view->fMonth = row.from.month;
    view->fDay = row.from.day;
    window.received.clear();
    PressKey(view, row.key);
    ASSERT_EQ(window.Codes(), std::vector<uint32>{row.report}) << "one report, on press or on release";
    const BMessage& report = window.received.front();
    if (row.report == 'NDAY') {
      EXPECT_EQ(CivilDay({report.GetInt32("_year", 0), report.GetInt32("_mon", 0), report.GetInt32("_day", 0)}).Code(),
                row.picked.Code());
    } else {
      EXPECT_EQ(report.GetInt32(row.report == 'Qmod' ? "_QuitMod" : "_lfdnr", -1), row.number);
    }
  }
}

TEST_F(MonViewTest, ClicksOutsideTheCells)
{
  Marks("");
  ReportWindow window;
  auto* view = new MonView(BRect(3, 77, 317, 240), "tMon", 2006, 12, 5, false);
  window.AddChild(view);
  view->DrawTable(true);
  EXPECT_EQ(window.CountLocks(), 0) << "DrawTable gives its lock back";

  Press(view, BPoint(100, 5), Qt::RightButton);  // no exporter: nothing written
  std::vector<std::pair<int32, int32>> exported;
  size_t focusBeforeExport = 0;
  view->exporter = [&](int32 year, int32 month) {
    exported.push_back({year, month});
    focusBeforeExport = window.received.size();
  };
  struct Row {
    const char* edge;
    BPoint where;
    Qt::MouseButtons buttons;
    int32 field;
    bool exports;
  } rows[] = {
      {"above the caption: the month field", BPoint(100, 5), Qt::LeftButton, 2, false},
      {"just above the lower separator line", BPoint(100, 163 - 28), Qt::LeftButton, 2, false},
      {"on the caption: the year field", BPoint(100, 163 - 15), Qt::LeftButton, 1, false},
      {"secondary click: focus first, then the calendar", BPoint(100, 5), Qt::RightButton, 2, true},
      {"both buttons write nothing", BPoint(100, 5), Qt::LeftButton | Qt::RightButton, 2, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    window.received.clear();
    exported.clear();
    Press(view, row.where, row.buttons);
    ASSERT_EQ(window.Codes(), std::vector<uint32>{'TDSV'});
    EXPECT_EQ(window.received[0].GetInt32("_lfdnr", 0), row.field);
    EXPECT_EQ(exported.size(), row.exports ? 1u : 0u);
    if (row.exports) {
      EXPECT_EQ(exported[0], (std::pair<int32, int32>{2006, 12}));
      EXPECT_EQ(focusBeforeExport, 1u);
    }
  }
}

} // namespace
