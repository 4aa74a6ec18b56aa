// The entry panel on a window's background view, as the main window builds
// it; the window records every report that reaches its handler.
#include "tests/controls/Input.h"

#include "calendar/Labels.h"
#include "controls/TDView.h"
#include "platform/interface/InterfaceDefs.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Panel : WithGuiApp {
  ReportWindow window;
  BView* background = nullptr;
  TDView* panel = nullptr;

  explicit Panel(const char* text, int32 order = 0, bool withTime = true, bool timeOnly = false,
                 bool onBackground = true)
  {
    background = new BView(window.Bounds(), "bView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    background->SetViewColor(232, 232, 232);
    window.AddChild(background);
    panel = new TDView(text, ".start", order, withTime, timeOnly);
    if (onBackground)
      background->AddChild(panel);
    else
      window.AddChild(panel);
    window.received.clear();
  }

  // The frame pieces named "randr", left to right in the order built.
  std::vector<BView*> FrameEnds() const
  {
    std::vector<BView*> ends;
    for (int32 i = 0; i < panel->CountChildren(); i++) {
      if (std::string(panel->ChildAt(i)->Name()) == "randr")
        ends.push_back(panel->ChildAt(i));
    }
    return ends;
  }
};

struct Span {
  const char* name;
  float left;
  float right;
};

TEST(PanelLayout, DefaultLayoutStartsTheDateBoxAt15)
{
  Panel p("2004/03/07 14:05");
  EXPECT_EQ(p.panel->Frame(), BRect(45, 0, 325, 75));
  const Span spans[] = {
      {"year", 15, 64}, {"tprA", 65, 73},  {"mon", 74, 111}, {"tprB", 112, 120}, {"day", 121, 144},
      {"hour", 170, 193}, {"tprC", 194, 201}, {"min", 202, 225}, {"e24h", 226, 250}, {"eap", 260, 320},
  };
  for (const Span& s : spans) {
    BView* view = p.panel->FindView(s.name);
    ASSERT_NE(view, nullptr) << s.name;
    EXPECT_EQ(view->Frame().left, s.left) << s.name;
    EXPECT_EQ(view->Frame().right, s.right) << s.name;
  }
  const std::vector<BView*> ends = p.FrameEnds();
  ASSERT_EQ(ends.size(), 4u);
  EXPECT_EQ(ends[0]->Frame(), BRect(9, 2, 14, 44));
  EXPECT_EQ(ends[1]->Frame(), BRect(145, 2, 152, 44));
  EXPECT_EQ(ends[2]->Frame(), BRect(164, 2, 169, 44));
  EXPECT_EQ(ends[3]->Frame(), BRect(251, 2, 258, 44));
  EXPECT_EQ(p.panel->OkButton()->Frame().left, 180);
  EXPECT_EQ(p.panel->CancelButton()->Frame().left, 85);
  EXPECT_EQ(p.panel->BroadcastButton()->Frame().left, 10);
  EXPECT_EQ(p.panel->OkButton()->Frame().top, 47);
  EXPECT_STREQ(p.panel->OkButton()->Label(), getLabel(1));
  EXPECT_TRUE(p.panel->StatusLabel()->IsHidden());
  EXPECT_EQ(p.panel->YearField()->value, 2004);
  EXPECT_EQ(p.panel->MinuteField()->value, 5);
  EXPECT_TRUE(p.panel->DayField()->focused);
  EXPECT_EQ(p.window.CurrentFocus(), p.panel->DayField());
}

TEST(PanelLayout, TimeOnlyPanelStartsAt50WithTheHourFocused)
{
  Panel p("2004/03/07 14:05", 0, true, true);
  EXPECT_EQ(p.panel->HourField()->Frame().left, 50);
  EXPECT_EQ(p.panel->MinuteField()->Frame().left, 82);
  EXPECT_TRUE(p.panel->YearField()->IsHidden());
  EXPECT_TRUE(p.panel->DayField()->IsHidden());
  EXPECT_FALSE(p.panel->HourField()->IsHidden());
  const std::vector<BView*> ends = p.FrameEnds();
  EXPECT_TRUE(ends[0]->IsHidden());
  EXPECT_TRUE(ends[1]->IsHidden());
  EXPECT_FALSE(ends[2]->IsHidden());
  EXPECT_EQ(ends[2]->Frame().left, 44);
  EXPECT_EQ(p.window.CurrentFocus(), p.panel->HourField());
}

TEST(PanelLayout, PanelWithoutTimeHidesTheTimeFieldsButNotAmPm)
{
  Panel p("2004/03/07 14:05", 0, false, false);
  EXPECT_EQ(p.panel->YearField()->Frame().left, 35);
  EXPECT_TRUE(p.panel->HourField()->IsHidden());
  EXPECT_TRUE(p.panel->MinuteField()->IsHidden());
  EXPECT_FALSE(p.panel->AmPmField()->IsHidden());
  EXPECT_TRUE(p.FrameEnds()[3]->IsHidden());
}

TEST(PanelLayout, PanelWithoutParentKeepsItsSize)
{
  Panel p("2004/03/07 14:05", 0, true, false, false);
  EXPECT_EQ(p.panel->Bounds(), BRect(0, 0, 279, 79));
  EXPECT_EQ(p.panel->Frame().LeftTop(), BPoint(45, 0));
  EXPECT_EQ(p.panel->OkButton()->Frame().top, 51);
}

struct OrderCase {
  const char* name;
  int32 order;
  const char* text;
  std::vector<Span> spans;
};

TEST(PanelLayout, DateOrdersReadAndPlaceTheirPieces)
{
  const OrderCase cases[] = {
      {"month-day-year", 1, "03/07/2004 14:05", {{"mon", 15, 52}, {"tprA", 53, 61}, {"day", 62, 85}, {"tprB", 86, 94}, {"year", 95, 144}}},
      {"day-month-year", 2, "07/03/2004 14:05", {{"day", 15, 38}, {"tprA", 39, 47}, {"mon", 48, 85}, {"tprB", 86, 94}, {"year", 95, 144}}},
  };
  for (const OrderCase& c : cases) {
    Panel p(c.text, c.order);
    EXPECT_EQ(p.panel->YearField()->value, 2004) << c.name;
    EXPECT_EQ(p.panel->MonthField()->value, 3) << c.name;
    EXPECT_EQ(p.panel->DayField()->value, 7) << c.name;
    EXPECT_EQ(p.panel->HourField()->value, 14) << c.name;
    for (const Span& s : c.spans) {
      EXPECT_EQ(p.panel->FindView(s.name)->Frame().left, s.left) << c.name << " " << s.name;
      EXPECT_EQ(p.panel->FindView(s.name)->Frame().right, s.right) << c.name << " " << s.name;
    }
  }
}

TEST(PanelDays, DayRangeFollowsMonthAndLeapYear)
{
  Panel p("2004/02/10 09:30");
  EXPECT_EQ(p.panel->DayField()->maxValue, 29) << "the shown month's range from the start";
  p.panel->SetFocusOn(nullptr, 2);
  PressKey(p.panel->MonthField(), Qt::Key_Up);
  EXPECT_EQ(p.panel->DayField()->maxValue, 31);
  EXPECT_EQ(p.window.Codes().back(), uint32('TRDW'));
}

TEST(PanelDays, YearStepCapsTheTwentyNinthAndReportsDayThenRedraw)
{
  Panel p("2004/02/29 09:30");
  p.panel->SetFocusOn(nullptr, 1);
  p.window.received.clear();
  PressKey(p.panel->YearField(), Qt::Key_Up);
  EXPECT_EQ(p.panel->YearField()->value, 2005);
  EXPECT_EQ(p.panel->DayField()->value, 28);
  EXPECT_STREQ(p.panel->DayField()->Text(), "28");
  EXPECT_EQ(p.window.Codes(), (std::vector<uint32>{'TDAY', 'TRDW'}));
}

struct FocusCase {
  const char* name;
  int32 number;
  int32 kind;
};

TEST(PanelFocus, SetFocusOnMovesTheMarkAndReportsItsKind)
{
  const FocusCase cases[] = {
      {"minute is a time field", 5, 2}, {"month is a date field", 2, 1}, {"51 clears every mark", 51, 0}};
  for (const FocusCase& c : cases) {
    Panel p("2004/03/07 14:05");
    p.panel->SetFocusOn(nullptr, c.number);
    ASSERT_EQ(p.window.Codes(), std::vector<uint32>{'CUFO'}) << c.name;
    EXPECT_EQ(p.window.received[0].GetInt32("_focus", -1), c.number) << c.name;
    EXPECT_EQ(p.window.received[0].GetInt32("_foctyp", -1), c.kind) << c.name;
    for (TDStringView* field : {p.panel->YearField(), p.panel->MonthField(), p.panel->DayField(),
                                p.panel->HourField(), p.panel->MinuteField(), p.panel->AmPmField()})
      EXPECT_EQ(field->focused, field->fieldNumber == c.number) << c.name << " field " << field->fieldNumber;
  }
  Panel p("2004/03/07 14:05");
  BMessage request('TDSV');
  request.AddInt32("_lfdnr", 4);
  p.panel->SetFocusOn(&request, 1);
  EXPECT_EQ(p.window.received[0].GetInt32("_focus", -1), 4) << "the message's number wins";
}

TEST(PanelFocus, KeysMoveTheMark)
{
  Panel p("2004/03/07 14:05");
  p.panel->SetFocusOn(nullptr, 6);
  p.window.received.clear();
  PressKey(p.panel->AmPmField(), Qt::Key_Tab);
  ASSERT_EQ(p.window.Codes(), std::vector<uint32>{'CUFO'});
  EXPECT_EQ(p.window.received[0].GetInt32("_focus", 0), 1);
  EXPECT_EQ(p.window.CurrentFocus(), p.panel->YearField());

  p.window.received.clear();
  PressKey(p.panel->YearField(), Qt::Key_Home);
  EXPECT_EQ(p.window.received.back().GetInt32("_focus", 0), 4);
  EXPECT_EQ(p.window.CurrentFocus(), p.panel->HourField());

}

// Return and Escape in a field press OK and Cancel while a requester
// waits; before, they ended in the panel and did nothing.
TEST(PanelButtons, ReturnAndEscapePressOkAndCancelWhileARequesterWaits)
{
  Panel p("2004/03/07 14:05");
  for (bool waiting : {true, false}) {
    SCOPED_TRACE(waiting ? "a requester waits" : "nobody waits");
    p.panel->HasTarget(waiting);
    for (const auto& [key, kind] : {std::pair{Qt::Key_Return, 1}, {Qt::Key_Enter, 1}, {Qt::Key_Escape, 0}}) {
      p.window.received.clear();
      PressKey(p.panel->HourField(), key);
      if (!waiting) {
        EXPECT_TRUE(p.window.received.empty());
        continue;
      }
      ASSERT_EQ(p.window.Codes(), std::vector<uint32>{'Qmod'});
      EXPECT_EQ(p.window.received[0].GetInt32("_QuitMod", -2), kind);
    }
  }
}

struct SkipCase {
  const char* edge;
  bool withTime;
  bool timeOnly;
  bool twelveHour;
  int32 from;
  int key;
  int32 to;
};

// A key reaches the view that has the keyboard focus, as in the window.
void PressOnFocus(Panel& p, int key)
{
  BView* focus = p.window.CurrentFocus();
  PressKey(focus ? focus->Widget() : p.window.Widget(), key);
}

TEST(PanelFocus, NavigationSkipsHiddenFieldsSoNoKeyChangesThem)
{
  const SkipCase cases[] = {
      {"time only: Tab on the minute wraps to the hour", true, true, false, 5, Qt::Key_Tab, 4},
      {"time only: Left on the hour goes to the minute", true, true, false, 4, Qt::Key_Left, 5},
      {"time only, 12-hour: Tab on the minute goes to AM/PM", true, true, true, 5, Qt::Key_Tab, 6},
      {"time only, 12-hour: Right on AM/PM wraps to the hour", true, true, true, 6, Qt::Key_Right, 4},
      {"24-hour: Tab on the minute passes AM/PM to the year", true, false, false, 5, Qt::Key_Tab, 1},
      {"24-hour: Left on the year passes AM/PM to the minute", true, false, false, 1, Qt::Key_Left, 5},
      {"12-hour: Left on the year goes to AM/PM", true, false, true, 1, Qt::Key_Left, 6},
      {"date only: Right on the day passes the time to the year", false, false, false, 3, Qt::Key_Right, 1},
      {"date only: Home passes the hidden hour on to the year", false, false, false, 2, Qt::Key_Home, 1},
  };
  for (const SkipCase& c : cases) {
    SCOPED_TRACE(c.edge);
    Panel p("2008/04/15 09:30", 0, c.withTime, c.timeOnly);
    p.panel->SetAmTimeMode(c.twelveHour);
    p.panel->SetFocusOn(nullptr, c.from);
    PressOnFocus(p, c.key);
    EXPECT_EQ(p.window.received.back().GetInt32("_focus", 0), c.to);
    EXPECT_FALSE(p.window.CurrentFocus()->IsHidden()) << "the keys go to a shown field";
    for (TDStringView* field : {p.panel->YearField(), p.panel->MonthField(), p.panel->DayField(),
                                p.panel->HourField(), p.panel->MinuteField(), p.panel->AmPmField()})
      EXPECT_EQ(field->focused, field->fieldNumber == c.to) << "field " << field->fieldNumber;
  }

  // Tab three times and Up in a time-only panel: only shown fields change.
  Panel p("2008/04/15 09:30", 0, true, true);
  p.panel->SetAmTimeMode(false);
  p.panel->SetFocusOn(nullptr, 4);
  for (int key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Up})
    PressOnFocus(p, key);
  int32 year = 1, month = 1, day = 1, hour = 1, minute = 1;
  p.panel->GetDTValues(year, month, day, hour, minute);
  EXPECT_EQ(std::vector<int32>({year, month, day, hour, minute}), (std::vector<int32>{2008, 4, 15, 9, 31}));
  EXPECT_EQ(p.panel->AmPmField()->value, 1);
}

TEST(PanelFocus, ClickOnAnotherFieldMovesTheMarkThere)
{
  Panel p("2004/03/07 14:05");
  Click(p.panel->MinuteField(), 5, 20);
  ASSERT_EQ(p.window.Codes(), std::vector<uint32>{'CUFO'});
  EXPECT_EQ(p.window.received[0].GetInt32("_foctyp", 0), 2);
  EXPECT_TRUE(p.panel->MinuteField()->focused);
  EXPECT_FALSE(p.panel->DayField()->focused);
  EXPECT_EQ(p.panel->MinuteField()->value, 5);
}

TEST(PanelReports, HourAndMinuteChangesReachTheWindow)
{
  Panel p("2004/03/07 14:05");
  p.panel->SetFocusOn(nullptr, 4);
  p.window.received.clear();
  PressKey(p.panel->HourField(), Qt::Key_Up);
  TurnWheel(p.panel->MinuteField(), 1);
  ASSERT_EQ(p.window.Codes(), (std::vector<uint32>{'NHOU', 'NMIN'}));
  EXPECT_EQ(p.window.received[0].GetInt32("_h", -1), 15);
  EXPECT_EQ(p.window.received[1].GetInt32("_ min", -1), 10);
}

TEST(PanelValues, GetAndSetTouchOnlyTheMarkedFields)
{
  Panel p("2004/03/07 14:05");
  int32 year = 1, month = 0, day = 0, hour = 0, minute = 0;
  p.panel->GetDTValues(year, month, day, hour, minute);
  EXPECT_EQ(year, 2004);
  EXPECT_EQ(month + day + hour + minute, 0);

  p.panel->SetDTValues(0, 0, -1, 10, -1);
  EXPECT_EQ(p.panel->HourField()->value, 10);
  EXPECT_STREQ(p.panel->HourField()->Text(), "14") << "stored values are shown at the next step";
  year = month = day = hour = minute = 1;
  p.panel->GetDTValues(year, month, day, hour, minute);
  EXPECT_EQ(std::vector<int32>({year, month, day, hour, minute}), (std::vector<int32>{2004, 3, 7, 10, 5}));

  p.panel->SetDTValues(2010, 12, 40, 30, 99); // stored as they are
  EXPECT_EQ(p.panel->DayField()->value, 40);
  EXPECT_EQ(p.panel->MinuteField()->value, 99);
}

TEST(PanelButtons, HasTargetSwitchesTheAnswerButtons)
{
  Panel p("2004/03/07 14:05");
  for (bool hasTarget : {true, true, false, false, true}) {
    p.panel->HasTarget(hasTarget);
    EXPECT_EQ(p.panel->OkButton()->IsEnabled(), hasTarget);
    EXPECT_EQ(p.panel->CancelButton()->IsEnabled(), hasTarget);
    EXPECT_EQ(p.panel->BroadcastButton()->IsEnabled(), !hasTarget);
  }
}

TEST(PanelHours, TwelveHourModeKeepsTheTimeAndMovesTheTimeEnd)
{
  Panel p("2004/03/07 15:05");
  BView* timeEnd = p.FrameEnds()[3];
  p.panel->SetAmTimeMode(true);
  EXPECT_TRUE(p.panel->IsAmTimeMode());
  EXPECT_EQ(p.panel->HourField()->value, 3);
  EXPECT_EQ(p.panel->HourField()->maxValue, 12);
  EXPECT_FALSE(p.panel->AmPmField()->IsHidden());
  EXPECT_STREQ(p.panel->AmPmField()->Text(), "PM");
  EXPECT_STREQ(p.panel->StatusLabel()->Text(), getLabel(17));
  EXPECT_EQ(timeEnd->Frame().left, 251);

  p.panel->SetAmTimeMode(false);
  EXPECT_TRUE(p.panel->AmPmField()->IsHidden());
  EXPECT_EQ(timeEnd->Frame().left, 226);
  EXPECT_EQ(p.panel->HourField()->minValue, 0);
  EXPECT_EQ(p.panel->HourField()->maxValue, 23);
  EXPECT_EQ(p.panel->HourField()->value, 15);
  EXPECT_STREQ(p.panel->StatusLabel()->Text(), getLabel(18));

  p.panel->HourField()->SetValue(9);
  p.panel->SetAmTimeMode(true);
  EXPECT_EQ(timeEnd->Frame().left, 251);
  EXPECT_FALSE(p.panel->AmPmField()->IsHidden());
  EXPECT_STREQ(p.panel->StatusLabel()->Text(), getLabel(16));
}

rgb_color At(const QImage& image, int x, int y)
{
  const QRgb c = image.pixel(x, y);
  return {uint8(qRed(c)), uint8(qGreen(c)), uint8(qBlue(c)), 0};
}

TEST(PanelDrawing, RoundedBoxesAndTheFocusedFieldsFill)
{
  Panel p("2004/03/07 14:05");
  p.window.Show();
  const QImage image = p.panel->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(281, 76));
  const rgb_color line = {12, 12, 12, 0};
  const rgb_color panel = {232, 232, 232, 0};
#ifdef ORVELLA_DESKTOP_VARIANT
  // The desktop variant fills with the palette's tool-tip colour.
  rgb_color focusFill = ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR);
  focusFill.alpha = 0;
#else
  const rgb_color focusFill = {255, 255, 0, 0};
#endif
  // Top and bottom line of the date box over the year field (rows 2 + 9 and
  // 44 - 9), and unbroken over the joint of year and first separator.
  EXPECT_EQ(At(image, 40, 11), line);
  EXPECT_EQ(At(image, 40, 35), line);
  EXPECT_EQ(At(image, 64, 11), line);
  EXPECT_EQ(At(image, 65, 11), line);
  // Left end of the date box, and the gap between the two boxes.
  EXPECT_EQ(At(image, 9, 23), line);
  EXPECT_EQ(At(image, 158, 11), panel);
  // The focused day field: the filled band, arrows above; the year has none.
  EXPECT_EQ(At(image, 123, 16), focusFill);
  EXPECT_EQ(At(image, 17, 16), panel);
  EXPECT_EQ(At(image, 132, 5), (rgb_color{128, 128, 128, 0}));
  EXPECT_EQ(At(image, 132, 6), (rgb_color{255, 255, 255, 0}));
}

} // namespace
