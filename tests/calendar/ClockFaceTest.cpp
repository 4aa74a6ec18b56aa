// The clock's faces and what a click on them picks, without a window.
#include "calendar/ClockFace.h"
#include "calendar/ClockGeometry.h"
#include "calendar/TwelveHourClock.h"

#include <gtest/gtest.h>

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

TEST(ClockFace, DialPicks)
{
  const ClockFace face = ClockFace::For(kClock);
  // Hour picks lie a degree into their hour's sector: a click lands on
  // whole pixels, never exactly on a sector's edge.
  const float ring = 56, inner = 30, outside = 70;
  struct Row {
    const char* edge;
    float angle, distance;
    int32 part, hour, minute;
  } rows[] = {
      {"3 o'clock on the ring", 0, ring, kPickHour, 3, 30},
      {"3 o'clock on the inner face is 15", 0, inner, kPickHour, 15, 30},
      {"12 o'clock on the ring is midnight", 271, ring, kPickHour, 0, 30},
      {"12 o'clock on the inner face is noon", 271, inner, kPickHour, 12, 30},
      {"9 o'clock on the ring", 181, ring, kPickHour, 9, 30},
      {"6 o'clock on the inner face", 91, inner, kPickHour, 18, 30},
      {"a degree before 3 o'clock is still hour 2", 359, ring, kPickHour, 2, 30},
      {"just inside the outer edge picks the hour", 45, 62.9f, kPickHour, 4, 30},
      {"outside the dial at 3 o'clock: minute 15", 0, outside, kPickMinute, 9, 15},
      {"outside at 12 o'clock: minute 0", 270, outside, kPickMinute, 9, 0},
      {"outside at 6 o'clock: minute 30", 90, outside, kPickMinute, 9, 30},
      {"outside at 9 o'clock: minute 45", 180, outside, kPickMinute, 9, 45},
      {"a degree before 3 o'clock rounds to minute 15", 359, outside, kPickMinute, 9, 15},
      {"one minute before the hour", 264, outside, kPickMinute, 9, 59},
      {"far outside the view", 318, 200, kPickMinute, 9, 8},
  };
  for (const Row& row : rows) {
    const ClockPick pick = face.PickOnDial(OnDial(face, row.angle, row.distance), 9, 30);
    EXPECT_EQ(pick.part, row.part) << row.edge;
    EXPECT_EQ(pick.hour, row.hour) << row.edge;
    EXPECT_EQ(pick.minute, row.minute) << row.edge;
  }
}

TEST(ClockFace, ScalePicks)
{
  const ClockFace face = ClockFace::For(kClock);
  const float s = face.HourSegment(), t = face.MinuteSegment();
  const float hours = face.hourScale.left, minutes = face.minuteScale.left;
  struct Row {
    const char* edge;
    BPoint where;
    int32 part, hour, minute;
  } rows[] = {
      {"first hour segment", BPoint(hours + 0.5f * s, 50), kPickHour, 0, 30},
      {"hour 15", BPoint(hours + 15.5f * s, 26), kPickHour, 15, 30},
      {"the right edge belongs to hour 23", BPoint(face.hourScale.right, 70), kPickHour, 23, 30},
      {"minute 30", BPoint(minutes + 30.5f * t, 100), kPickMinute, 9, 30},
      {"minute 0", BPoint(minutes, 85), kPickMinute, 9, 0},
      {"the right edge belongs to minute 59", BPoint(face.minuteScale.right, 130), kPickMinute, 9, 59},
      {"between the scales: nothing", BPoint(150, 78), kPickNothing, 9, 30},
      {"left of the scales: nothing", BPoint(hours - 1, 50), kPickNothing, 9, 30},
      {"above the hour scale: nothing", BPoint(150, 24), kPickNothing, 9, 30},
  };
  for (const Row& row : rows) {
    const ClockPick pick = face.PickOnScales(row.where, 9, 30);
    EXPECT_EQ(pick.part, row.part) << row.edge;
    EXPECT_EQ(pick.hour, row.hour) << row.edge;
    EXPECT_EQ(pick.minute, row.minute) << row.edge;
  }
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
