// Day cells: their kind from the registry, their colours and pixels, and
// what their clicks report.
#include "calendar/Codes.h"
#include "calendar/DayColors.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/InterfaceDefs.h"
#include "tests/views/ViewsFixture.h"

#include <memory>

namespace {

class DayViewTest : public ViewsTest {};

// The registry's home region: its holidays are local, all others global.
std::string Home()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return "deDE";
#else
  return "enUS";
#endif
}

TEST_F(DayViewTest, CellsTakeKindEventAndTodayFromTheRegistry)
{
  Marks("[HD][ever/12/25][Christmas Day][" + Home() + "]\n"
        "[HD][2006/12/26][Boxing Day][frFR]\n"
        "[HD][1970/12/10][Birthday][user]\n"
        "[HD][2006/12/14][Trip][evnt]\n"
        "[HD][2007/12/15][Next year's trip][evnt]\n"
        "[HD][2006/12/20][Feast][frFR]\n[HD][1980/12/20][Anniversary][user]\n"
        "[HD][1980/12/21][Wedding][user]\n[HD][2006/12/21][Fair][frFR]\n"
        "[HD][2006/12/26][Ride][evnt]\n",
        20061214);
  // The spoken name is what a screen reader reads for the cell.
  struct Row {
    const char* edge;
    int32 day;
    int32 kind;
    bool event, today;
    const char* tip;
    const char* spoken;
  } rows[] = {
      {"plain day", 1, kDayUnmarked, false, false, "", "Friday, 1 December 2006"},
      {"holiday of the home region", 25, kDayLocal, false, false, "Christmas Day | ",
       "Monday, 25 December 2006, Christmas Day (holiday)"},
      {"user day of another year", 10, kDayUser, false, false, "Birthday | ",
       "Sunday, 10 December 2006, Birthday (user day)"},
      {"event in its year, and today", 14, kDayEvent, true, true, "Trip | ",
       "Thursday, 14 December 2006, Trip (event), today"},
      {"event of another year", 15, kDayUnmarked, false, false, "", "Friday, 15 December 2006"},
      {"holiday listed before a user day wins", 20, kDayGlobal, false, false, "frFR : Feast | Anniversary | ",
       "Wednesday, 20 December 2006, Feast (holiday), Anniversary (user day)"},
      {"user day listed before a holiday wins", 21, kDayUser, false, false, "Wedding | frFR : Fair | ",
       "Thursday, 21 December 2006, Wedding (user day), Fair (holiday)"},
      {"holiday with an event keeps its kind and gets the corner", 26, kDayGlobal, true, false,
       "frFR : Boxing Day | Ride | ", "Tuesday, 26 December 2006, Boxing Day (holiday), Ride (event)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    DayView cell(BRect(0, 0, 23, 15), "anyDV", 2006, 12, row.day, 1.5, false);
    EXPECT_EQ(cell.fMarkKind, row.kind);
    EXPECT_EQ(cell.fHasEvent, row.event);
    EXPECT_EQ(cell.fIsToday, row.today);
    EXPECT_EQ(cell.ToolTipText(), row.tip);
    EXPECT_EQ(cell.fMarkColor, row.kind == kDayUser ? USERCOL : GLOBALCOL);
    accessible_info info;
    ASSERT_TRUE(cell.GetAccessibleInfo(&info));
    EXPECT_EQ(info.role, B_ACCESSIBLE_CELL);
    EXPECT_EQ(info.name, row.spoken);
  }

  testing::internal::CaptureStdout();
  AddToolTip(nullptr, "x");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "AddTT: bad view\n");
}

TEST_F(DayViewTest, FillByKindWeekendAndSelection)
{
#ifdef ORVELLA_DESKTOP_VARIANT
  const rgb_color plain = ui_color(B_UI_CONTROL_BACKGROUND_COLOR);
  const rgb_color selected = ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR);
#else
  const rgb_color plain = {254, 254, 254, 0};
  const rgb_color selected = HighCOL;
#endif
  struct Row {
    const char* edge;
    int32 kind;
    bool weekend, selected;
    rgb_color fill;
  } rows[] = {
      {"plain weekday", kDayUnmarked, false, false, plain},
      {"weekend day is darkened", kDayUnmarked, true, false, tint_color(plain, 1.15f)},
      {"event day keeps the plain fill", kDayEvent, false, false, plain},
      {"local holiday", kDayLocal, false, false, GLOBALCOL},
      {"global holiday on a weekend: holiday fill, not darkened", kDayGlobal, true, false, GLOBALCOL},
      {"user day on a weekend", kDayUser, true, false, USERCOL},
      {"selection wins over a user day", kDayUser, false, true, selected},
      {"selection wins over the weekend", kDayUnmarked, true, true, selected},
  };
  for (const Row& row : rows)
    EXPECT_EQ(DayView::FillColor(row.kind, row.weekend, row.selected), row.fill) << row.edge;
}

// The leftmost column holding ink of the day number.
int FirstInkColumn(const QImage& image, bool red)
{
  for (int x = 2; x < image.width() - 2; x++) {
    if (CountInk(image, BRect(x, 2, x, 13), red) > 0)
      return x;
  }
  return -1;
}

TEST_F(DayViewTest, CellPixels)
{
  Marks("");
  const rgb_color frame = {152, 152, 152, 0};
  const rgb_color corner = {18, 197, 197, 0};
  struct Row {
    const char* edge;
    int32 day;
    int32 kind;
    bool weekend, selected, event;
    std::vector<std::pair<BPoint, rgb_color>> pixels;
  } rows[] = {
      {"plain cell: fill inside the grey frame", 12, kDayUnmarked, false, false, false,
       {{BPoint(20, 12), {254, 254, 254, 0}}, {BPoint(0, 8), frame}, {BPoint(12, 15), frame}}},
      {"event corner at the top right", 12, kDayEvent, false, false, true,
       {{BPoint(21, 2), corner}, {BPoint(20, 12), {254, 254, 254, 0}}, {BPoint(16, 2), {254, 254, 254, 0}}}},
      {"selected user day: yellow fill, green bar, dark frame", 12, kDayUser, false, true, false,
       {{BPoint(20, 12), Opaque(HighCOL)}, {BPoint(2, 8), Opaque(USERCOL)}, {BPoint(0, 8), {15, 15, 15, 0}}}},
      {"selected event day has no bar", 12, kDayEvent, false, true, true,
       {{BPoint(2, 8), Opaque(HighCOL)}, {BPoint(21, 2), corner}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    auto* cell = new DayView(BRect(0, 0, 23, 15), "anyDV", 2006, 12, row.day, 1.5, row.weekend);
    cell->fMarkKind = row.kind;
    cell->fMarkColor = row.kind == kDayUser ? USERCOL : GLOBALCOL;
    cell->fSelected = row.selected;
    cell->fHasEvent = row.event;
    const QImage image = RenderAlone(cell);
    delete cell;
#ifndef ORVELLA_DESKTOP_VARIANT
    for (const auto& [where, colour] : row.pixels)
      EXPECT_EQ(At(image, int(where.x), int(where.y)), colour) << where.x << "," << where.y;
#endif
    EXPECT_GT(CountInk(image, BRect(2, 2, 21, 13)), 5) << "the day number is drawn";
    EXPECT_EQ(CountInk(image, BRect(2, 2, 21, 13), true), 0) << "only today is red";
  }

  // Today: the same number in bold red, one pixel further left.
  auto* plain = new DayView(BRect(0, 0, 23, 15), "anyDV", 2006, 12, 12, 4, false);
  auto* today = new DayView(BRect(0, 0, 23, 15), "anyDV", 2006, 12, 12, 4, false);
  today->fIsToday = true;
  const QImage plainImage = RenderAlone(plain);
  const QImage todayImage = RenderAlone(today);
  delete plain;
  delete today;
  EXPECT_GT(CountInk(todayImage, BRect(2, 2, 21, 13), true), CountInk(plainImage, BRect(2, 2, 21, 13)))
      << "bold red ink";
  EXPECT_EQ(FirstInkColumn(todayImage, true), FirstInkColumn(plainImage, false) - 1);
}

TEST_F(DayViewTest, ClicksFocusTheDayFieldAndShowTheMemo)
{
  Marks("[HD][2006/12/26][Boxing Day][frFR]\n[HD][2006/12/26][Ride][evnt]\n"
        "[HD][2006/12/14][Trip][evnt]\n");
  ReportWindow window;
  BAlert::SetAutoAnswer(0);
  struct Row {
    const char* edge;
    int32 day;
    Qt::MouseButtons buttons;
    const char* memo;  // null: no alert
  } rows[] = {
      {"primary click shows no memo", 26, Qt::LeftButton, nullptr},
      {"secondary click on a marked day: its marks with the date", 26, Qt::RightButton,
       "2006/12/26\nfrFR : Boxing Day\nRide\n"},
      {"event day alone", 14, Qt::RightButton, "2006/12/14\nTrip\n"},
      {"unmarked day: only the focus request", 5, Qt::RightButton, nullptr},
      {"both buttons: neither pick nor memo", 26, Qt::LeftButton | Qt::RightButton, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    auto* cell = new DayView(BRect(10, 10, 33, 25), "anyDV", 2006, 12, row.day, 1.5, false);
    window.AddChild(cell);
    window.received.clear();
    const int32 alerts = BAlert::AutoAnsweredCount();
    Press(cell, BPoint(5, 5), row.buttons);
    ASSERT_EQ(window.Codes(), std::vector<uint32>{'TDSV'});
    EXPECT_EQ(window.received[0].GetInt32("_lfdnr", 0), 3);
    EXPECT_EQ(BAlert::AutoAnsweredCount(), alerts + (row.memo ? 1 : 0));
    if (row.memo) {
      EXPECT_EQ(BAlert::LastTitle(), "info");
      EXPECT_EQ(BAlert::LastText(), row.memo);
    }
    cell->RemoveSelf();
    delete cell;
  }
  BAlert::SetAutoAnswer(-1);
}

} // namespace
