// The clock's faces and what a click on them picks, without a window.
#include "calendar/ClockFace.h"
#include "calendar/ClockGeometry.h"
#include "calendar/TwelveHourClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The clock of the one-month window layout.
const BRect kClock(0, 0, 314, 163);

TEST(ClockFace, GeometryFromTheBounds)
{
  const ClockFace face = ClockFace::For(kClock);
  EXPECT_EQ(face.panel, BRect(2, 7, 312, 153));
  EXPECT_FLOAT_EQ(face.centerX, 157);
  EXPECT_FLOAT_EQ(face.centerY, 79);
  EXPECT_FLOAT_EQ(face.radius, 63);
  EXPECT_FLOAT_EQ(face.innerRadius, 49);
  const float s = 314.0f / 26;
  EXPECT_EQ(face.hourScale, BRect(s, 25, 314 - s, 70));
  EXPECT_EQ(face.minuteScale, BRect(s, 85, 314 - s, 130));
  EXPECT_FLOAT_EQ(face.HourSegment(), s) << "24 segments with one of margin on each side";
}

// A point at an angle (degrees from 3 o'clock, clockwise) and a distance
// from the dial's centre.
BPoint OnDial(const ClockFace& face, float angle, float distance)
{
  return BPoint(face.centerX + X_AnArc(angle, distance), face.centerY + Y_AnArc(angle, distance));
}

// Clicks and what they pick; the clock showed 9:30 before each.
struct PickRow {
  const char* edge;
  BPoint where;
  int32 part, hour, minute;
};

void ExpectPicks(const std::vector<PickRow>& rows, ClockPick (ClockFace::*pick)(BPoint, int32, int32) const)
{
  const ClockFace face = ClockFace::For(kClock);
  for (const PickRow& row : rows) {
    const ClockPick picked = (face.*pick)(row.where, 9, 30);
    EXPECT_EQ(picked.part, row.part) << row.edge;
    EXPECT_EQ(picked.hour, row.hour) << row.edge;
    EXPECT_EQ(picked.minute, row.minute) << row.edge;
  }
}

TEST(ClockFace, DialPicks)
{
  const ClockFace face = ClockFace::For(kClock);
  // Hour picks lie a degree into their hour's sector: a click lands on
  // whole pixels, never exactly on a sector's edge.
  auto ring = [&](float angle) { return OnDial(face, angle, 56); };
  auto inner = [&](float angle) { return OnDial(face, angle, 30); };
  auto outside = [&](float angle) { return OnDial(face, angle, 70); };
  ExpectPicks(
      {
          {"3 o'clock on the ring", ring(0), kPickHour, 3, 30},
          {"3 o'clock on the inner face is 15", inner(0), kPickHour, 15, 30},
          {"12 o'clock on the ring is midnight", ring(271), kPickHour, 0, 30},
          {"12 o'clock on the inner face is noon", inner(271), kPickHour, 12, 30},
          {"9 o'clock on the ring", ring(181), kPickHour, 9, 30},
          {"6 o'clock on the inner face", inner(91), kPickHour, 18, 30},
          {"a degree before 3 o'clock is still hour 2", ring(359), kPickHour, 2, 30},
          {"just inside the outer edge picks the hour", OnDial(face, 45, 62.9f), kPickHour, 4, 30},
          {"outside the dial at 3 o'clock: minute 15", outside(0), kPickMinute, 9, 15},
          {"outside at 12 o'clock: minute 0", outside(270), kPickMinute, 9, 0},
          {"outside at 6 o'clock: minute 30", outside(90), kPickMinute, 9, 30},
          {"outside at 9 o'clock: minute 45", outside(180), kPickMinute, 9, 45},
          {"a degree before 3 o'clock rounds to minute 15", outside(359), kPickMinute, 9, 15},
          {"one minute before the hour", outside(264), kPickMinute, 9, 59},
          {"far outside the view", OnDial(face, 318, 200), kPickMinute, 9, 8},
      },
      &ClockFace::PickOnDial);
}

TEST(ClockFace, ScalePicks)
{
  const ClockFace face = ClockFace::For(kClock);
  const float s = face.HourSegment(), t = face.MinuteSegment();
  const float hours = face.hourScale.left, minutes = face.minuteScale.left;
  ExpectPicks(
      {
          {"first hour segment", BPoint(hours + 0.5f * s, 50), kPickHour, 0, 30},
          {"hour 15", BPoint(hours + 15.5f * s, 26), kPickHour, 15, 30},
          {"the right edge belongs to hour 23", BPoint(face.hourScale.right, 70), kPickHour, 23, 30},
          {"minute 30", BPoint(minutes + 30.5f * t, 100), kPickMinute, 9, 30},
          {"minute 0", BPoint(minutes, 85), kPickMinute, 9, 0},
          {"the right edge belongs to minute 59", BPoint(face.minuteScale.right, 130), kPickMinute, 9, 59},
          {"between the scales: nothing", BPoint(150, 78), kPickNothing, 9, 30},
          {"left of the scales: nothing", BPoint(hours - 1, 50), kPickNothing, 9, 30},
          {"above the hour scale: nothing", BPoint(150, 24), kPickNothing, 9, 30},
      },
      &ClockFace::PickOnScales);
}

TEST(ClockFace, EveryHourOnTheTwelveHourClock)
{
  const int32 shown[24] = {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  for (int32 hour = 0; hour < 24; hour++) {
    EXPECT_EQ(HourOnTwelveHourClock(hour), shown[hour]) << hour;
    EXPECT_EQ(HalfOfDay(hour), hour < 12 ? 1 : 2) << hour;
    EXPECT_EQ(HourOfDay(HourOnTwelveHourClock(hour), HalfOfDay(hour)), hour) << "round trip " << hour;
  }
}

} // namespace
