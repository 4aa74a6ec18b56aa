// The clock: the time it shows in either mode, its two faces painted
// offscreen, and the focus requests and style switch of its clicks.
#include "calendar/ClockFace.h"
#include "calendar/ClockGeometry.h"
#include "calendar/DayColors.h"
#include "calendar/TwelveHourClock.h"
#include "platform/interface/InterfaceDefs.h"
#include "tests/views/ViewsFixture.h"
#include "views/TimeView.h"

namespace {

const BRect kClock(0, 0, 314, 163);

TEST(TimeView, EveryHourInBothModes)
{
  EnsureGuiApp();
  TimeView clock(kClock, "tZeit", 0, 0, 10, false);
  for (int32 hour = 0; hour < 24; hour++) {
    SCOPED_TRACE(hour);
    clock.SetTwelveHour(false);
    clock.SetTime(hour, 41);
    EXPECT_EQ(clock.fHour, hour);
    clock.SetTwelveHour(true);
    EXPECT_EQ(clock.fHour, HourOnTwelveHourClock(hour)) << "12 for hours 0 and 12";
    EXPECT_EQ(clock.fHalfDay, hour < 12 ? 1 : 2) << "the half follows the hour";
    EXPECT_EQ(clock.HourOfDay(), hour);
    clock.SetTime(hour, 41);
    EXPECT_EQ(clock.fHour, HourOnTwelveHourClock(hour)) << "set while in 12-hour mode";
    clock.SetTwelveHour(false);
    EXPECT_EQ(clock.fHour, hour) << "back on the 24-hour clock";
    EXPECT_EQ(clock.fMinute, 41);
  }
}

BPoint OnDial(const ClockFace& face, float angle, float distance)
{
  return BPoint(face.centerX + X_AnArc(angle, distance), face.centerY + Y_AnArc(angle, distance));
}

TEST(TimeView, DialPixels)
{
  EnsureGuiApp();
  TimeView clock(kClock, "tZeit", 0, 0, 10, false);
  clock.SetTime(3, 0);  // hour hand to the right, minute hand up
  const QImage image = RenderAlone(&clock);
  const ClockFace face = ClockFace::For(kClock);
  auto at = [&](BPoint p) { return At(image, int(p.x), int(p.y)); };
#ifndef ORVELLA_DESKTOP_VARIANT
  EXPECT_EQ(at(OnDial(face, 135, 30)), Opaque(HighCOL)) << "inner face";
  EXPECT_EQ(at(OnDial(face, 45, 56)), Opaque(tint_color(HighCOL, B_LIGHTEN_1_TINT))) << "outer ring";
#endif
  EXPECT_EQ(at(OnDial(face, 0, 30)), (rgb_color{255, 20, 20, 0})) << "hour hand at 3";
  EXPECT_EQ(at(OnDial(face, 270, 50)), (rgb_color{20, 20, 255, 0})) << "minute hand at 12";
  EXPECT_EQ(at(OnDial(face, 90, 25)), at(OnDial(face, 135, 30))) << "no hand towards 6";
  EXPECT_GT(CountInk(image, BRect(12, 140, 60, 150)), 10) << "the time as text";
  EXPECT_GT(CountInk(image, BRect(268, 140, 300, 150)), 5) << "the mode sign";
}

TEST(TimeView, ScalePixelsMarkTheHourOfTheDay)
{
  EnsureGuiApp();
  const ClockFace face = ClockFace::For(kClock);
  const float s = face.HourSegment(), t = face.MinuteSegment();
  const rgb_color hourMark = {255, 20, 20, 0}, minuteMark = {20, 20, 255, 0};
  struct Row {
    const char* edge;
    bool twelveHour;
    int32 hour, minute;
  } rows[] = {
      {"24-hour 15:07", false, 15, 7},
      {"12-hour 3:07 PM marks segment 15", true, 15, 7},
      {"12-hour 12:30 PM marks noon", true, 12, 30},
      {"12-hour 12:30 AM marks the first hour", true, 0, 30},
      {"minute 59", false, 23, 59},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    TimeView clock(kClock, "tZeit", 0, 0, 10, false);
    clock.fAsCircle = false;
    clock.SetTwelveHour(row.twelveHour);
    clock.SetTime(row.hour, row.minute);
    const QImage image = RenderAlone(&clock);
    for (int32 hour = 0; hour < 24; hour++) {
      const rgb_color c = At(image, int(face.hourScale.left + (hour + 0.75f) * s), 50);
      EXPECT_EQ(c == hourMark, hour == row.hour) << "hour segment " << hour;
    }
    for (int32 minute = 0; minute < 60; minute++) {
      const rgb_color c = At(image, int(face.minuteScale.left + (minute + 0.9f) * t), 110);
      EXPECT_EQ(c == minuteMark, minute == row.minute) << "minute segment " << minute;
    }
  }
}

TEST(TimeView, ClicksAskForTheFieldOrSwitchTheStyle)
{
  EnsureGuiApp();
  ReportWindow window;
  auto* clock = new TimeView(BRect(3, 77, 317, 240), "tZeit", 9, 30, 10, false);
  window.AddChild(clock);
  const ClockFace face = ClockFace::For(clock->Bounds());
  struct Row {
    const char* edge;
    bool dial;
    BPoint where;
    Qt::MouseButtons buttons;
    int32 field;  // 0: no focus request
    bool dialAfter;
  } rows[] = {
      {"inside the dial: the hour field", true, OnDial(face, 0, 40), Qt::LeftButton, 4, true},
      {"outside the dial: the minute field", true, OnDial(face, 0, 70), Qt::LeftButton, 5, true},
      {"secondary click switches to the scales", true, OnDial(face, 0, 40), Qt::RightButton, 0, false},
      {"on the hour scale", false, BPoint(100, 50), Qt::LeftButton, 4, false},
      {"on the minute scale", false, BPoint(100, 100), Qt::LeftButton, 5, false},
      {"between the scales: no request", false, BPoint(100, 78), Qt::LeftButton, 0, false},
      {"secondary click switches back", false, BPoint(100, 50), Qt::RightButton, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    clock->fAsCircle = row.dial;
    window.received.clear();
    Press(clock, row.where, row.buttons);
    if (row.field == 0) {
      EXPECT_TRUE(window.received.empty());
    } else {
      ASSERT_EQ(window.Codes(), std::vector<uint32>{'TDSV'});
      EXPECT_EQ(window.received[0].GetInt32("_lfdnr", 0), row.field);
    }
    EXPECT_EQ(clock->fAsCircle, row.dialAfter);
  }
}

} // namespace
