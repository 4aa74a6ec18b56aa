// The clock of the main window: the picked hour and minute as a dial with
// two hands, or as two scales (24 hour segments over 60 minute segments),
// with the time as text below. A secondary click switches the style; any
// other click picks an hour or a minute (ClockFace), asks the window to
// focus the panel's hour or minute field ('TDSV') and reports the pick to
// the application ('CTIM' with "_tsep", "_hour", "_min"), which hands it to
// the window.
//
//   auto* clock = new TimeView(monthFrame, "tZeit", 14, 5, 10, false);
//   clock->SetTwelveHour(true);
//   clock->SetTime(14, 5);     // shows "02 : 05 PM"
//   background->AddChild(clock);
//
// In 12-hour mode the clock shows the hour on the 12-hour clock (12 for
// hours 0 and 12) with the half of the day beside it; the scale and the
// dial mark the hour of the day either way.
#pragma once

#include "platform/interface/BView.h"

class TimeView : public BView {
public:
  // The bool is not read.
  TimeView(BRect frame, const char* name, long hour, long minute, float textOffset, bool unused);
  ~TimeView() override;

  void Draw(BRect updateRect) override;
  void MouseDown(BPoint where) override;
  // A dial named "Clock" whose value is the time shown ("14:05", or
  // "02:05 PM" in 12-hour mode), as minutes of the day.
  bool GetAccessibleInfo(accessible_info* info) const override;

  virtual void DrawAsCircle(BRect updateRect);
  virtual void DrawAsBar(BRect updateRect);

  // Shows an hour of the day 0..23 and a minute; in 12-hour mode as the
  // hour on the 12-hour clock and the half of the day.
  void SetTime(int32 hourOfDay, int32 minute);
  // Switches the mode; the time shown stays the same.
  void SetTwelveHour(bool twelveHour);
  // The hour of the day 0..23 the clock shows.
  int32 HourOfDay() const;

  int32 fHour;          // 0..23, or 1..12 in 12-hour mode
  int32 fMinute;
  bool fTwelveHour;
  float fTextOffset;    // left margin of the time text
  rgb_color fFrameColor; // the dial's hour ticks
  rgb_color fFaceColor;  // the dial's inner face
  int32 fHalfDay;       // 1 morning, 2 afternoon
  bool fAsCircle;       // dial (true) or scales

private:
  void DrawFrame();
  void Focus(int32 field);
};
