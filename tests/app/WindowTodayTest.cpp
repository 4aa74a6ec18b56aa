// Today following the clock, at a clock the test sets: what stays when the
// mark moves, and a new system time zone. The real program crossing
// midnight is tests/access/midnight_test.py.
#include "calendar/LocalTime.h"
#include "marks/STMarkups.h"
#include "platform/messaging/BMessenger.h"
#include "tests/app/OrvellaFixture.h"
#include "views/DayView.h"
#include "views/MonView.h"

#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using Date = std::tuple<int32, int32, int32>;

class WindowToday : public WindowTest {
protected:
  void TearDown() override
  {
    window->Today()->clock = [] { return time(nullptr); };
    Look();
    WindowTest::TearDown();
  }

  void ClockAt(time_t now) { window->Today()->clock = [now] { return now; }; }
  // What the timer does at midnight and every minute.
  void Look()
  {
    BMessage look('TODY');
    window->MessageReceived(&look);
  }

  Date PanelDate() const
  {
    return {Panel()->YearField()->value, Panel()->MonthField()->value, Panel()->DayField()->value};
  }
  // The days a grid marks as today.
  static std::vector<int32> Today(const MonView* month)
  {
    std::vector<int32> days;
    for (int32 i = 0; i < month->CountChildren(); i++) {
      if (month->CellAt(i)->fIsToday)
        days.push_back(month->CellAt(i)->fDay);
    }
    return days;
  }
};

TEST_F(WindowToday, AChosenDayAndAWaitingRequestStayWhileTheMarkMoves)
{
  Layout(true, true);
  ClockAt(LocalInstant(2004, 12, 31, 22, 0));
  Look();
  Panel()->DayField()->SetValue(24);  // the user picks Christmas Eve
  ClockAt(LocalInstant(2005, 1, 1, 0, 0, 30));
  Look();
  EXPECT_EQ(PanelDate(), Date(2004, 12, 24)) << "a day the user chose stays";
  EXPECT_EQ(Today(window->MainMonth()), std::vector<int32>{});
  EXPECT_EQ(Today(window->NextMonth()), std::vector<int32>{1}) << "the mark moved into the next month";

  Requester requester;
  BMessage request('_KXT');
  request.AddBool("_ask", true);
  request.AddInt64("_presetTime", LocalInstant(2005, 1, 1, 9, 30));
  BMessenger(be_app).SendMessage(&request, &requester);
  ASSERT_TRUE(WaitFor([&] { return window->IsWaitingForAnswer(); }));
  ClockAt(LocalInstant(2005, 1, 2, 0, 0, 30));
  Look();
  EXPECT_EQ(PanelDate(), Date(2005, 1, 1)) << "the requester's preset stays";
  EXPECT_EQ(Today(window->MainMonth()), std::vector<int32>{2});
  window->SendDateTimeMessage(0);
  ASSERT_TRUE(WaitFor([&] { return !requester.answers.empty(); }));
}

TEST_F(WindowToday, ANewSystemTimeZoneMovesTheMark)
{
  // The zone comes from a file, as /etc/localtime gives it: Berlin, then
  // Kiritimati, where it is already the next day.
  const std::string zone = OrvellaEnv::home->Path("zone");
  ASSERT_EQ(symlink("/usr/share/zoneinfo/Europe/Berlin", zone.c_str()), 0);
  {
    ScopedEnv tz;
    tz.Set("TZ", (":" + zone).c_str());
    tzset();
    Layout(true, false);
    ClockAt(LocalInstant(2004, 12, 31, 23, 30));
    Look();
    EXPECT_EQ(Today(window->MainMonth()), std::vector<int32>{31});

    ASSERT_EQ(unlink(zone.c_str()), 0);
    ASSERT_EQ(symlink("/usr/share/zoneinfo/Pacific/Kiritimati", zone.c_str()), 0);
    Look();
    EXPECT_EQ(PanelDate(), Date(2005, 1, 1));
    EXPECT_EQ(Today(window->MainMonth()), std::vector<int32>{1});
  }
  tzset();
  unlink(zone.c_str());
}

TEST(TodayWatch, LooksAtMidnightAndAtLeastEveryMinute)
{
  struct Row {
    const char* edge;
    int hour, minute, second;
    time_t wait;
  } rows[] = {
      {"a quarter minute before midnight", 23, 59, 45, 15},
      {"the last second", 23, 59, 59, 1},
      {"at noon a minute", 12, 0, 0, 60},
  };
  for (const Row& row : rows)
    EXPECT_EQ(TodayWatch::Wait(LocalInstant(2004, 12, 31, row.hour, row.minute, row.second)), row.wait) << row.edge;
  EXPECT_EQ(TodayWatch::Wait(LocalInstant(2008, 3, 29, 23, 59, 30)), 30) << "before the night summer time begins";
}

} // namespace
