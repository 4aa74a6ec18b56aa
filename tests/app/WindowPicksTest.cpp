// Day and clock picks with values no view sends, which the window replaces
// or drops and reports ("FIX" lines), and which of clock and main month the layout
// commands leave visible while a time field has the focus.
#include "tests/app/OrvellaFixture.h"
#include "views/MonView.h"
#include "views/TimeView.h"

#include <climits>

namespace {

constexpr int32 kAbsent = INT32_MIN;

class WindowPicks : public WindowTest {
protected:
  // Hands the message to the window and returns the lines it printed.
  std::string Handle(BMessage* message)
  {
    testing::internal::CaptureStdout();
    window->MessageReceived(message);
    return testing::internal::GetCapturedStdout();
  }
  static void Put(BMessage* message, const char* name, int32 value)
  {
    if (value != kAbsent)
      message->AddInt32(name, value);
  }
  std::string Date() const
  {
    return std::to_string(Panel()->YearField()->value) + "/" + std::to_string(Panel()->MonthField()->value) + "/"
           + std::to_string(Panel()->DayField()->value);
  }
};

TEST_F(WindowPicks, DayPicksOutOfRangeTakeTheCurrentDayAndSaySo)
{
  Panel()->SetFocusOn(nullptr, 3);
  // A day or month out of range becomes today's; a year the panel cannot
  // show drops the pick.
  const int32 otherMonth = prefs->fCurMonth == 1 ? 2 : 1;
  struct {
    const char* edge;
    int32 day, month, year;
    std::string date;  // year/month/day afterwards, from 2006/11/20
    const char* fixes;
  } const rows[] = {
      {"day 31 in a 30-day month is passed on", 31, 11, 2006, "2006/11/31", ""},
      {"the same month of another year changes only the day", 5, 11, 2010, "2006/11/5", ""},
      {"another month brings its year", 5, 2, 2010, "2010/2/5", ""},
      {"day 0", 0, 11, 2006, "2006/11/" + std::to_string(prefs->fCurDay), " FIX A\n"},
      {"day 32", 32, 11, 2006, "2006/11/" + std::to_string(prefs->fCurDay), " FIX A\n"},
      {"month 13", 1, 13, 2006, "2006/" + std::to_string(prefs->fCurMonth) + "/1", " FIX B\n"},
      {"year 1899, before the panel's years, is dropped", 1, otherMonth, 1899, "2006/11/20", " FIX C\n"},
      {"year 2038, after the panel's years, is dropped", 1, otherMonth, 2038, "2006/11/20", " FIX C\n"},
      {"the panel's first year passes", 1, otherMonth, 1900, "1900/" + std::to_string(otherMonth) + "/1", ""},
      {"the panel's last year passes", 1, otherMonth, 2037, "2037/" + std::to_string(otherMonth) + "/1", ""},
      {"everything out of range", -1, 0, 99999, "2006/11/20", " FIX A\n FIX B\n FIX C\n"},
      {"no fields: 2000/1/1", kAbsent, kAbsent, kAbsent, "2000/1/1", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    SetPanel(2006, 11, 20, 9, 30);
    BMessage pick('NDAY');
    Put(&pick, "_day", row.day);
    Put(&pick, "_mon", row.month);
    Put(&pick, "_year", row.year);
    const std::string printed = Handle(&pick);
    EXPECT_EQ(Date(), row.date);
    EXPECT_EQ(printed, row.fixes);
  }
  testing::internal::CaptureStdout();
  window->UpdateDayView(nullptr);
  window->UpdateTimeView(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " ** event==NULL\n ** event==NULL \n");
}

TEST_F(WindowPicks, ClockPicksOutOfRangeTakeFixedValuesAndSaySo)
{
  struct {
    const char* edge;
    int32 focus;  // the panel's focused field
    int32 minute, hour, part;
    int32 hourField, minuteField;
    const char* printed;
  } const rows[] = {
      {"minute 60 becomes 15", 4, 60, 9, 1, 9, 15, " FIX D\n"},
      {"minute -1 becomes 15", 5, -1, 9, 1, 9, 15, " FIX D\n"},
      {"hour 24 becomes 11", 4, 30, 24, 2, 11, 30, " FIX E\n"},
      {"hour -3 becomes 11, the minute is checked too", 4, 99, -3, 2, 11, 30, " FIX D\n FIX E\n"},
      {"no part: nothing is set", 4, 10, 10, 0, 9, 30, ""},
      {"no hour and minute: both 0", 4, kAbsent, kAbsent, 2, 0, 30, ""},
      {"a date field focused: no time mode", 3, 10, 10, 2, 9, 30, " ** UTV no time mode\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    SetPanel(2006, 11, 20, 9, 30);
    Panel()->SetFocusOn(nullptr, row.focus);
    BMessage pick('CTIM');
    Put(&pick, "_min", row.minute);
    Put(&pick, "_hour", row.hour);
    Put(&pick, "_tsep", row.part);
    const std::string printed = Handle(&pick);
    EXPECT_EQ(Panel()->HourField()->value, row.hourField);
    EXPECT_EQ(Panel()->MinuteField()->value, row.minuteField);
    EXPECT_EQ(printed, row.printed);
  }
}

TEST_F(WindowPicks, LayoutCommandsKeepTheClockForAFocusedTimeField)
{
  Panel()->SetFocusOn(nullptr, 4);
  struct {
    const char* edge;
    int32 command;  // m_id, or the field to focus when negative
    bool month, clock; // visible
    int32 grids;
  } const rows[] = {
      {"expanding with the hour focused shows the clock", 1, false, true, 1},
      {"three months: still the clock in the main month's place", 0, false, true, 3},
      {"the day focused: the main month", -3, true, false, 3},
      {"one month again", 0, true, false, 1},
      {"the minute focused: the clock", -5, false, true, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    if (row.command >= 0)
      Menu(row.command);
    else
      Panel()->SetFocusOn(nullptr, -row.command);
    ASSERT_NE(window->MainMonth(), nullptr);
    ASSERT_NE(window->Clock(), nullptr);
    EXPECT_EQ(!window->MainMonth()->IsHidden(), row.month);
    EXPECT_EQ(!window->Clock()->IsHidden(), row.clock);
    EXPECT_EQ(window->Clock()->Frame(), window->MainMonth()->Frame());
    EXPECT_EQ(int32(window->PreviousMonth() != nullptr) + 1 + int32(window->NextMonth() != nullptr), row.grids);
  }

  // Compact again: the grids go, the clock stays where it was.
  const BRect clockFrame = window->Clock()->Frame();
  Menu(1);
  EXPECT_EQ(window->MainMonth(), nullptr);
  ASSERT_NE(window->Clock(), nullptr);
  EXPECT_EQ(window->Clock()->Frame(), clockFrame);
  EXPECT_EQ(window->Bounds(), BRect(0, 0, MIN_W, MIN_H));
}

} // namespace
