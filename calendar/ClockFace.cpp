#include "calendar/ClockFace.h"

#include <algorithm>
#include <cmath>

ClockFace ClockFace::For(BRect bounds)
{
  ClockFace face;
  face.panel = BRect(bounds.left + 2, bounds.top + 7, bounds.right - 2, bounds.bottom - 10);
  const float halfHeight = (face.panel.bottom - face.panel.top) / 2;
  face.centerX = (bounds.right - bounds.left) / 2;
  face.centerY = halfHeight + 6;
  face.radius = halfHeight - 10;
  face.innerRadius = face.radius - 14;
  const float segment = (bounds.right - bounds.left) / 26;
  face.hourScale = BRect(bounds.left + segment, 25, bounds.right - segment, 70);
  face.minuteScale = BRect(bounds.left + segment, 85, bounds.right - segment, 130);
  return face;
}

ClockPick ClockFace::PickOnDial(BPoint click, int32 hour, int32 minute) const
{
  const double dx = click.x - centerX, dy = click.y - centerY;
  const double distance = std::sqrt(dx * dx + dy * dy);
  double angle = std::atan2(dy, dx) * 57.29577951;
  if (angle < 0)
    angle += 360;

  ClockPick pick = {kPickHour, hour, minute};
  if (distance > radius) {
    // The nearest minute: 3 o'clock is minute 15, 12 o'clock minute 0.
    pick.part = kPickMinute;
    pick.minute = (int32(std::lround(angle / 6)) + 15) % 60;
  } else {
    // The hour whose sector the click lies in, from 3 o'clock on.
    pick.hour = (int32(angle) / 30 + 3) % 12;
    if (distance < innerRadius)
      pick.hour += 12;
  }
  return pick;
}

ClockPick ClockFace::PickOnScales(BPoint click, int32 hour, int32 minute) const
{
  ClockPick pick = {kPickNothing, hour, minute};
  // The right edge belongs to the last segment.
  if (hourScale.Contains(click)) {
    pick.part = kPickHour;
    pick.hour = std::min<int32>(int32((click.x - hourScale.left) / HourSegment()), 23);
  }
  if (minuteScale.Contains(click)) {
    pick.part = kPickMinute;
    pick.minute = std::min<int32>(int32((click.x - minuteScale.left) / MinuteSegment()), 59);
  }
  return pick;
}
