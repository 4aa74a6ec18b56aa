// The window's month grids and clock: the layouts, which of clock and month
// shows, and day and clock picks reaching the panel through the application.
#include "calendar/ClockFace.h"
#include "calendar/ClockGeometry.h"
#include "calendar/LocalTime.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BMessenger.h"
#include "platform/storage/FindDirectory.h"
#include "tests/app/OrvellaFixture.h"
#include "tests/controls/Input.h"
#include "views/DayView.h"
#include "views/MonView.h"
#include "views/TimeView.h"


#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class WindowViews : public WindowTest {
protected:
  void Focus(int32 field) { Panel()->SetFocusOn(nullptr, field); }

  static void Click(BView* view, BPoint where, Qt::MouseButton button = Qt::LeftButton)
  {
    Press(view, where, button);
  }

  // The day cell of a month view, or null.
  static DayView* Cell(MonView* month, int32 day) { return month ? month->CellAt(day - 1) : nullptr; }
  static std::vector<int32> Selected(MonView* month)
  {
    std::vector<int32> days;
    for (int32 i = 0; i < month->CountChildren(); i++) {
      if (month->CellAt(i)->fSelected)
        days.push_back(month->CellAt(i)->fDay);
    }
    return days;
  }
  static std::pair<int32, int32> Shown(const MonView* month) { return {month->fYear, month->fMonth}; }
};

TEST_F(WindowViews, LayoutsPlaceTheMonthsAndTheClockOverTheMainMonth)
{
  const float third = MAX_W / 3;
  struct Row {
    const char* edge;
    bool expand, triple;
    BRect bounds;
    std::vector<BRect> months;  // previous, main, next; empty when absent
  } rows[] = {
      {"compact: no grids", false, false, BRect(0, 0, MIN_W, MIN_H), {}},
      {"expanded, one month", true, false, BRect(0, 0, MIN_W, MAX_H), {BRect(), BRect(3, 77, MIN_W - 3, MAX_H), BRect()}},
      {"expanded, three months", true, true, BRect(0, 0, MAX_W, MAX_H),
       {BRect(0, 77, third, MAX_H), BRect(third + 1, 77, 2 * third, MAX_H), BRect(2 * third + 1, 77, MAX_W, MAX_H)}},
      {"three months switched off again", true, false, BRect(0, 0, MIN_W, MAX_H),
       {BRect(), BRect(3, 77, MIN_W - 3, MAX_H), BRect()}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    Layout(row.expand, row.triple);
    Focus(3);
    EXPECT_EQ(window->Bounds(), row.bounds);
    MonView* views[3] = {window->PreviousMonth(), window->MainMonth(), window->NextMonth()};
    for (int i = 0; i < 3; i++) {
      const BRect expected = row.months.empty() ? BRect() : row.months[i];
      EXPECT_EQ(views[i] != nullptr, expected.IsValid()) << "view " << i;
      if (views[i] && expected.IsValid()) {
        EXPECT_EQ(views[i]->Frame(), expected) << "view " << i;
        EXPECT_FALSE(views[i]->IsHidden()) << "view " << i;
      }
    }
    if (window->MainMonth()) {
      ASSERT_NE(window->Clock(), nullptr);
      EXPECT_EQ(window->Clock()->Frame(), window->MainMonth()->Frame());
      EXPECT_TRUE(window->Clock()->IsHidden()) << "a date field has the focus";
    }
  }
}

TEST_F(WindowViews, TheClockShowsWhileAnHourOrMinuteFieldHasTheFocus)
{
  Layout(true, true);
  struct Row {
    const char* edge;
    int32 field;
    bool clock;
  } rows[] = {
      {"hour field", 4, true}, {"day field", 3, false},  {"minute field", 5, true},
      {"year field", 1, false}, {"month field", 2, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    Focus(row.field);
    EXPECT_EQ(window->Clock()->IsHidden(), !row.clock);
    EXPECT_EQ(window->MainMonth()->IsHidden(), row.clock);
    EXPECT_FALSE(window->PreviousMonth()->IsHidden()) << "the neighbours stay";
    EXPECT_FALSE(window->NextMonth()->IsHidden());
  }
}

TEST_F(WindowViews, GridsAndClockFollowThePanel)
{
  Layout(true, true);
  Focus(3);
  SetPanel(2006, 12, 20, 14, 5);
  EXPECT_EQ(Shown(window->PreviousMonth()), (std::pair<int32, int32>{2006, 11}));
  EXPECT_EQ(Shown(window->MainMonth()), (std::pair<int32, int32>{2006, 12}));
  EXPECT_EQ(Shown(window->NextMonth()), (std::pair<int32, int32>{2007, 1}));
  EXPECT_EQ(Selected(window->MainMonth()), std::vector<int32>{20});
  EXPECT_TRUE(Selected(window->NextMonth()).empty());
  EXPECT_EQ(window->Clock()->HourOfDay(), 14);
  EXPECT_EQ(window->Clock()->fMinute, 5);

  Panel()->DayField()->SetValue(3);
  EXPECT_EQ(Selected(window->MainMonth()), std::vector<int32>{3}) << "a new day moves the selection";

  Panel()->MonthField()->SetValue(1);
  EXPECT_EQ(Shown(window->PreviousMonth()), (std::pair<int32, int32>{2005, 12}));
  EXPECT_EQ(window->MainMonth()->CountChildren(), 31);
}

TEST_F(WindowViews, DayPickInTheNextMonthMovesThePanelAndAllThreeGrids)
{
  Layout(true, true);
  SetPanel(2006, 12, 20, 9, 30);
  // The clock shows; the click brings the month back and rebuilds the
  // grids, the clicked cell among them, while the click is handled.
  Focus(4);
  ASSERT_FALSE(window->Clock()->IsHidden());
  DayView* fifth = Cell(window->NextMonth(), 5);
  ASSERT_NE(fifth, nullptr);
  Click(fifth, BPoint(5, 5));
  EXPECT_TRUE(Panel()->DayField()->focused);
  ASSERT_TRUE(WaitFor([&] { return Panel()->MonthField()->value == 1; }));
  EXPECT_EQ(Panel()->YearField()->value, 2007);
  EXPECT_EQ(Panel()->DayField()->value, 5);
  EXPECT_EQ(Shown(window->PreviousMonth()), (std::pair<int32, int32>{2006, 12}));
  EXPECT_EQ(Shown(window->MainMonth()), (std::pair<int32, int32>{2007, 1}));
  EXPECT_EQ(Shown(window->NextMonth()), (std::pair<int32, int32>{2007, 2}));
  EXPECT_EQ(Selected(window->MainMonth()), std::vector<int32>{5});
  EXPECT_TRUE(window->Clock()->IsHidden());

  // A day of the month shown changes only the day.
  Click(Cell(window->MainMonth(), 9), BPoint(5, 5));
  ASSERT_TRUE(WaitFor([&] { return Panel()->DayField()->value == 9; }));
  EXPECT_EQ(Panel()->MonthField()->value, 1);
  EXPECT_EQ(Selected(window->MainMonth()), std::vector<int32>{9});
}

// After a request, Today-Now, a pick or a layout change, the panel, the
// grids and the clock show the same date and time, and OK and Cancel are
// enabled exactly while a requester waits.
TEST_F(WindowViews, GridsClockAndPanelStayInStep)
{
  Requester requester;
  // A request preset to a day of December 2004.
  auto ask = [&](int day, int hour, int minute, bool timeOnly) {
    BMessage request('_KXT');
    request.AddBool("_ask", true);
    request.AddBool("_onlyTime", timeOnly);
    request.AddInt64("_presetTime", LocalInstant(2004, 12, day, hour, minute));
    request.AddString("_okName", "pick");
    BMessenger(be_app).SendMessage(&request, &requester);
    ASSERT_TRUE(WaitFor([&] { return window->IsWaitingForAnswer(); }));
  };
  auto pick = [&](MonView* month, int32 day) {
    ASSERT_NE(Cell(month, day), nullptr);
    Click(Cell(month, day), BPoint(5, 5));
  };
  const std::string today = LocalTimeText("%Y/%m/%d", time(nullptr));
  struct Row {
    const char* edge;
    bool triple;
    int32 focus;  // the field focused before the step
    std::function<void()> step;
    std::string date;  // the panel's date afterwards; the grids show it
    int32 hour, minute;
    bool clock;    // the clock shows instead of the main month
    bool waiting;  // a requester waits: OK and Cancel enabled
  } rows[] = {
      {"a request in 24-hour mode with the day field focused", true, 3,
       [&] { ask(15, 10, 20, false); }, "2004/12/15", 10, 20, false, true},
      {"a day picked in the grid the request moved", true, 3,
       [&] { ask(15, 10, 20, false); pick(window->MainMonth(), 10); }, "2004/12/10", 10, 20, false, true},
      {"a time-only request while the clock shows", false, 4,
       [&] { ask(15, 22, 45, true); }, "2004/12/15", 22, 45, true, true},
      {"Triple-Preview while the hour field has the focus", false, 4,
       [&] { SetPanel(2006, 3, 10, 8, 5); Menu(0); }, "2006/03/10", 8, 5, true, false},
      {"a day in the real next month picked while the clock shows", false, 4,
       [&] { SetPanel(2006, 3, 10, 8, 5); Menu(0); pick(window->NextMonth(), 7); }, "2006/04/07", 8, 5, false, false},
      {"June 2037 picked in the next grid", true, 3,
       [&] { SetPanel(2037, 5, 10, 8, 5); pick(window->NextMonth(), 10); }, "2037/06/10", 8, 5, false, false},
      {"December 1902 picked in the previous grid", true, 3,
       [&] { SetPanel(1903, 1, 10, 8, 5); pick(window->PreviousMonth(), 10); }, "1902/12/10", 8, 5, false, false},
      {"January 2038 beyond the panel's years picks nothing", true, 3,
       [&] { SetPanel(2037, 12, 10, 8, 5); pick(window->NextMonth(), 10); }, "2037/12/10", 8, 5, false, false},
      {"Today-Now while the clock shows", false, 4, [&] { Menu(7); }, today, -1, -1, false, false},
      {"Today-Now while a requester waits", false, 3,
       [&] { ask(15, 10, 20, false); Menu(7); }, today, -1, -1, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    Layout(true, row.triple);
    Focus(row.focus);
    row.step();
    Settle();
    char panelDate[16];
    snprintf(panelDate, sizeof panelDate, "%04d/%02d/%02d", int(Panel()->YearField()->value),
             int(Panel()->MonthField()->value), int(Panel()->DayField()->value));
    EXPECT_EQ(panelDate, row.date);
    const int32 year = Panel()->YearField()->value, month = Panel()->MonthField()->value;
    EXPECT_EQ(Shown(window->MainMonth()), std::make_pair(year, month));
    EXPECT_EQ(Selected(window->MainMonth()), std::vector<int32>{Panel()->DayField()->value});
    if (window->NextMonth()) {
      EXPECT_EQ(Shown(window->NextMonth()), month == 12 ? std::make_pair(year + 1, 1) : std::make_pair(year, month + 1));
      EXPECT_EQ(Shown(window->PreviousMonth()), month == 1 ? std::make_pair(year - 1, 12) : std::make_pair(year, month - 1));
    }
    EXPECT_EQ(window->Clock()->HourOfDay(), Panel()->HourField()->value);
    EXPECT_EQ(window->Clock()->fMinute, Panel()->MinuteField()->value);
    if (row.hour >= 0) {
      EXPECT_EQ(Panel()->HourField()->value, row.hour);
      EXPECT_EQ(Panel()->MinuteField()->value, row.minute);
    }
    EXPECT_EQ(window->Clock()->IsHidden(), !row.clock);
    EXPECT_EQ(window->MainMonth()->IsHidden(), row.clock);
    EXPECT_EQ(window->IsWaitingForAnswer(), row.waiting);
    EXPECT_EQ(Panel()->OkButton()->IsEnabled(), row.waiting);
    EXPECT_EQ(Panel()->CancelButton()->IsEnabled(), row.waiting);
    EXPECT_EQ(Panel()->BroadcastButton()->IsEnabled(), !row.waiting);
    if (row.waiting) {
      EXPECT_STREQ(Panel()->OkButton()->Label(), "> pick");
      // OK answers what the panel shows.
      const size_t answers = requester.answers.size();
      Panel()->OkButton()->Invoke();
      ASSERT_TRUE(WaitFor([&] { return requester.answers.size() > answers; }));
      const time_t answered = time_t(requester.answers.back().GetInt64(">time", 0));
      EXPECT_EQ(LocalTimeText("%Y/%m/%d", answered), row.date);
    }
  }
}

TEST_F(WindowViews, ClockPicksReachThePanel)
{
  Layout(true, false);
  SetPanel(2006, 12, 20, 9, 30);
  Focus(4);
  TimeView* clock = window->Clock();
  ASSERT_FALSE(clock->IsHidden());
  const ClockFace face = ClockFace::For(clock->Bounds());
  auto dial = [&](float angle, float distance) {
    return BPoint(face.centerX + X_AnArc(angle, distance), face.centerY + Y_AnArc(angle, distance));
  };
  struct Row {
    const char* edge;
    bool twelveHour;
    bool dialStyle;
    BPoint where;
    int32 hourField, halfField, minuteField;
    int32 clockHour;
  } rows[] = {
      {"3 o'clock on the inner face", false, true, dial(0, 30), 15, -1, 30, 15},
      {"outside the dial at 9 o'clock sets the minute", false, true, dial(181, 70), 15, -1, 45, 15},
      {"12 o'clock on the ring is midnight", false, true, dial(271, 56), 0, -1, 45, 0},
      {"hour segment 7 of the scale", false, false, BPoint(face.hourScale.left + 7.5f * face.HourSegment(), 50), 7,
       -1, 45, 7},
      {"minute segment 12 of the scale", false, false, BPoint(face.minuteScale.left + 12.5f * face.MinuteSegment(), 100),
       7, -1, 12, 7},
      {"12-hour: 12 o'clock on the inner face is 12 PM", true, true, dial(271, 30), 12, 2, 12, 12},
      {"12-hour: 12 o'clock on the ring is 12 AM", true, true, dial(271, 56), 12, 1, 12, 12},
      {"12-hour: 3 o'clock on the inner face is 3 PM", true, true, dial(1, 30), 3, 2, 12, 3},
      {"12-hour: hour segment 23 of the scale is 11 PM", true, false,
       BPoint(face.hourScale.left + 23.5f * face.HourSegment(), 50), 11, 2, 12, 11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    if (prefs->fTimeStyle != row.twelveHour)
      Menu(5);
    clock->fAsCircle = row.dialStyle;
    Click(clock, row.where);
    const bool arrived = WaitFor([&] {
      return Panel()->HourField()->value == row.hourField && Panel()->MinuteField()->value == row.minuteField &&
             (row.halfField < 0 || Panel()->AmPmField()->value == row.halfField);
    }, 2000);
    EXPECT_TRUE(arrived) << "hour " << Panel()->HourField()->value << " minute " << Panel()->MinuteField()->value
                         << " half " << Panel()->AmPmField()->value;
    EXPECT_EQ(clock->fHour, row.clockHour) << "the clock follows";
    EXPECT_FALSE(clock->IsHidden());
  }
}

// A stand-in opener that records the page it is given instead of opening
// it, while `env` lives; returns the file it records into.
std::string StandInOpener(ScopedEnv* env)
{
  const std::string home = getenv("HOME");
  const std::string log = home + "/opened";
  mkdir((home + "/bin").c_str(), 0755);
  std::ofstream(home + "/bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << log << ".part'\nmv '"
                                        << log << ".part' '" << log << "'\n";
  chmod((home + "/bin/xdg-open").c_str(), 0755);
  env->Set("PATH", (home + "/bin:" + getenv("PATH")).c_str());
  remove(log.c_str());
  return log;
}

TEST_F(WindowViews, HtmlCommandsAndSecondaryClicksWriteTheShownYear)
{
  ScopedEnv env;
  const std::string log = StandInOpener(&env);
  const std::string home = getenv("HOME");

  Layout(true, true);
  BAlert::SetAutoAnswer(0);
  const int32 alerts = BAlert::AutoAnsweredCount();
  MonView* previous = window->PreviousMonth();
  MonView* main = window->MainMonth();
  ASSERT_TRUE(previous && main);
  char previousYear[32], mainMonth[32];
  snprintf(previousYear, sizeof previousYear, "CAL%ld.htm", long(previous->fYear));
  snprintf(mainMonth, sizeof mainMonth, "MON%ld%02ld.htm", long(main->fYear), long(main->fMonth));
  const struct {
    const char* edge;
    uint32 command;  // 0: a secondary click on the previous month
    std::string page;
  } rows[] = {
      {"3Row Page", 'sN3C', "CAL" + std::to_string(main->fYear) + ".htm"},
      {"secondary click, the previous month's year", 0, previousYear},
      {"1M Page", 'sN1C', mainMonth},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    remove(log.c_str());
    if (row.command != 0) {
      BMessage command(row.command);
      window->MessageReceived(&command);
    } else {
      Click(previous, BPoint(3, 3), Qt::RightButton);
    }
    const std::string page = home + "/people/OrvelCal/" + row.page;
    EXPECT_TRUE(WaitFor([&] { return access(log.c_str(), F_OK) == 0; }, 10000));
    std::ifstream opened(log);
    std::string line;
    std::getline(opened, line);
    EXPECT_EQ(line, page) << "the page is written and opened";
    EXPECT_EQ(access((home + "/people/OrvelCal/Orvel" + std::to_string(previous->fYear) + "12.png").c_str(), F_OK), 0);
  }
  EXPECT_EQ(BAlert::AutoAnsweredCount(), alerts) << "no request to expand the view";
  EXPECT_EQ(prefs->fHtmlModus, 1);
  BAlert::SetAutoAnswer(-1);
}

TEST_F(WindowViews, CalendarFilesArriveWithoutHoldingTheWindow)
{
  ScopedEnv env;
  const std::string log = StandInOpener(&env);
  Layout(true, false);
  MonView* main = window->MainMonth();
  ASSERT_NE(main, nullptr);
  char day[64];
  snprintf(day, sizeof day, "%04ld%02ld15", long(main->fYear), long(main->fMonth));
  const std::string folder = OrvellaEnv::home->Path(".local/share/orvella/calendars");
  ASSERT_EQ(create_directory(folder.c_str(), 0755), B_OK);
  std::ofstream(folder + "/user.ics") << "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:" << day
                                      << "\nSUMMARY:Fifteenth\nEND:VEVENT\nEND:VCALENDAR\n";
  // A pipe with a calendar's name held the window for as long as nobody
  // wrote to it.
  ASSERT_EQ(mkfifo((folder + "/pipe.ics").c_str(), 0644), 0);

  // The reload comes back before the files are read; so does a page asked
  // for at once, which is written when their days are there.
  BMessage reload('rMDf');
  window->MessageReceived(&reload);
  EXPECT_EQ(Cell(main, 15)->fMarkKind, kDayUnmarked);
  BMessage page('sN1C');
  window->MessageReceived(&page);
  EXPECT_NE(access(log.c_str(), F_OK), 0) << "the page waits for the calendar files";

  EXPECT_TRUE(WaitFor([&] { return Cell(window->MainMonth(), 15)->fMarkKind == kDayUser; }, 10000));
  EXPECT_TRUE(WaitFor([&] { return access(log.c_str(), F_OK) == 0; }, 10000));
  std::ifstream written(OrvellaEnv::home->Path("people/OrvelCal/MON") + std::string(day, 6) + ".htm");
  const std::string html((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  EXPECT_NE(html.find("Fifteenth"), std::string::npos) << html;

  // Read anew, the folder replaces its files' days; until then they stay.
  remove((folder + "/user.ics").c_str());
  remove((folder + "/pipe.ics").c_str());
  window->MessageReceived(&reload);
  EXPECT_EQ(Cell(window->MainMonth(), 15)->fMarkKind, kDayUser);
  EXPECT_TRUE(WaitFor([&] { return Cell(window->MainMonth(), 15)->fMarkKind == kDayUnmarked; }, 10000));
}

} // namespace
