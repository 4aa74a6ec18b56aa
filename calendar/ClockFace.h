// The clock view's two faces, from the view's bounds alone: a dial with an
// outer ring for the morning and an inner face for the afternoon, and two
// scales, 24 hour segments above 60 minute segments. It also says which
// hour or minute a click picks, so the view only paints and reports.
//
//   ClockFace face = ClockFace::For(BRect(0, 0, 314, 163));
//   face.radius;                                       // 63
//   ClockPick pick = face.PickOnDial(BPoint(200, 79), 9, 30);
//   pick.part;                                         // kPickHour: inside the dial
//   pick.hour;                                         // 3: the ring at 3 o'clock
//
// Angles are in degrees from 3 o'clock, growing clockwise on screen (y
// grows downward), as X_AnArc and Y_AnArc take them.
#pragma once

#include "platform/support/BRect.h"
#include "platform/support/SupportDefs.h"

// What a click picked: the "_tsep" of the clock's report.
enum : int32 {
  kPickNothing = 0,
  kPickMinute = 1,
  kPickHour = 2,
};

struct ClockPick {
  int32 part;
  int32 hour;    // 0..23
  int32 minute;  // 0..59
};

struct ClockFace {
  static ClockFace For(BRect bounds);

  // A click on the dial: outside it picks the minute its angle points to,
  // inside the hour, of the morning on the ring and of the afternoon on the
  // inner face. The other value stays as given.
  ClockPick PickOnDial(BPoint click, int32 hour, int32 minute) const;
  // A click on a segment of a scale picks its hour or minute; elsewhere
  // nothing is picked and both values stay.
  ClockPick PickOnScales(BPoint click, int32 hour, int32 minute) const;

  // Width of one hour segment: the scale spans 24, with one segment of
  // margin on each side of the view.
  float HourSegment() const { return (hourScale.right - hourScale.left) / 24; }
  float MinuteSegment() const { return (minuteScale.right - minuteScale.left) / 60; }

  BRect panel;         // the rounded panel both faces lie on
  float centerX;
  float centerY;
  float radius;        // the outer ring
  float innerRadius;   // the inner face, 14 less
  BRect hourScale;
  BRect minuteScale;
};
