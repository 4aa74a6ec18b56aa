#include "views/TimeView.h"

#include "calendar/ClockFace.h"
#include "calendar/ClockGeometry.h"
#include "calendar/DayColors.h"
#include "calendar/Labels.h"
#include "calendar/TwelveHourClock.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/InterfaceDefs.h"
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"

#include <cstdio>
#include <string>

namespace {

// The entry panel's hour and minute fields.
constexpr int32 kHourField = 4;
constexpr int32 kMinuteField = 5;

constexpr rgb_color kInk = {15, 15, 15, 0};
constexpr rgb_color kHourMark = {255, 20, 20, 0};
constexpr rgb_color kMinuteMark = {20, 20, 255, 0};
constexpr rgb_color kDayTriangle = {255, 255, 2, 0};
constexpr rgb_color kHourHandShade = {255, 120, 120, 0};
constexpr rgb_color kMinuteHandShade = {120, 120, 255, 0};

// Label numbers: "AM", "PM" and the 24-hour sign.
constexpr int kLabelAm = 88;
constexpr int kLabelPm = 89;
constexpr int kLabel24h = 18;

// The ground the time text is written on.
rgb_color TextGround()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return ui_color(B_UI_CONTROL_BACKGROUND_COLOR);
#else
  return {254, 254, 254, 0};
#endif
}

// The faint 9 and 3 beside the dial.
rgb_color SideNumberColor()
{
#ifdef ORVELLA_DESKTOP_VARIANT
  return tint_color(tint_color(ui_color(B_UI_CONTROL_BACKGROUND_COLOR), 1.7f), 0.7f);
#else
  return tint_color({254, 254, 254, 0}, 0.7f);
#endif
}

BPoint OnCircle(const ClockFace& face, float angle, float distance)
{
  return BPoint(face.centerX + X_AnArc(angle, distance), face.centerY + Y_AnArc(angle, distance));
}

} // namespace

TimeView::TimeView(BRect frame, const char* name, long hour, long minute, float textOffset, bool)
    : BView(frame, name, B_FOLLOW_NONE, B_WILL_DRAW),
      fHour(int32(hour)),
      fMinute(int32(minute)),
      fTwelveHour(false),
      fTextOffset(textOffset),
#ifdef ORVELLA_DESKTOP_VARIANT
      fFrameColor(tint_color(ui_color(B_MENU_BACKGROUND_COLOR), B_DARKEN_2_TINT)),
      fFaceColor(ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR)),
#else
      fFrameColor(DefaCOL),
      fFaceColor(HighCOL),
#endif
      fHalfDay(1),
      fAsCircle(true)
{
  SetViewColor(232, 232, 232, 0);
  SetHighColor(55, 55, 55, 0);
  SetFontSize(10);
}

TimeView::~TimeView()
{
  printf(" -tv ");
}

void TimeView::SetTime(int32 hourOfDay, int32 minute)
{
  fMinute = minute;
  fHalfDay = HalfOfDay(hourOfDay);
  fHour = fTwelveHour ? HourOnTwelveHourClock(hourOfDay) : hourOfDay;
  Invalidate();
  AccessibleChanged(B_ACCESSIBLE_VALUE_CHANGED);
}

void TimeView::SetTwelveHour(bool twelveHour)
{
  const int32 hour = HourOfDay();
  fTwelveHour = twelveHour;
  SetTime(hour, fMinute);
}

bool TimeView::GetAccessibleInfo(accessible_info* info) const
{
  char time[32];
  snprintf(time, sizeof time, "%02ld:%02ld", long(fHour), long(fMinute));
  info->role = B_ACCESSIBLE_DIAL;
  info->name = getMoreLabel(kLabelClock);
  info->value = time;
  if (fTwelveHour)
    info->value += std::string(" ") + getLabel(fHalfDay == 2 ? kLabelPm : kLabelAm);
  info->SetNumber(HourOfDay() * 60 + fMinute, 0, 24 * 60 - 1);
  return true;
}

int32 TimeView::HourOfDay() const
{
  return fTwelveHour ? ::HourOfDay(fHour, fHalfDay) : fHour;
}

void TimeView::Draw(BRect updateRect)
{
  if (fAsCircle)
    DrawAsCircle(updateRect);
  else
    DrawAsBar(updateRect);
}

void TimeView::DrawFrame()
{
  const BRect panel = ClockFace::For(Bounds()).panel;
  SetFont(be_plain_font, B_FONT_ALL);
  SetHighColor(ui_color(B_MENU_BACKGROUND_COLOR));
  FillRoundRect(panel, 3, 3);

  char text[32];
  snprintf(text, sizeof text, "%02ld : %02ld", long(fHour), long(fMinute));
  SetLowColor(TextGround());
  SetHighColor(kInk);
  DrawString(text, BPoint(panel.left + fTextOffset + 5, panel.bottom - 4));

  // In 12-hour mode the half of the day stands where the 24-hour sign does.
  const int sign = fTwelveHour ? (fHalfDay == 2 ? kLabelPm : kLabelAm) : kLabel24h;
  DrawString(getLabel(sign), BPoint(panel.right - 44, panel.bottom - 4));
}

void TimeView::DrawAsBar(BRect)
{
  DrawFrame();
  const ClockFace face = ClockFace::For(Bounds());
  const float s = face.HourSegment();
  const int32 marked = HourOfDay();

  const BRect hours = face.hourScale;
  SetHighColor(tint_color({25, 20, 20, 0}, B_LIGHTEN_2_TINT));
  FillRoundRect(hours, 3, 3);
  // The triangle peaks over the noon tick.
  SetHighColor(kDayTriangle);
  FillTriangle(BPoint(hours.left + 5, 70), BPoint(hours.right - 5, 70),
               BPoint((hours.right - hours.left) / 2 + 1.5f * s, 25));

  // The marked segments first; the ticks and numbers go over them.
  SetHighColor(kHourMark);
  if (marked >= 0 && marked < 24)
    FillRoundRect(BRect(hours.left + marked * s, 25, hours.left + (marked + 1) * s, 70), 3, 3);
  SetHighColor(kInk);
  char text[16];
  for (int32 hour = 6; hour <= 18; hour += 6) {
    const float x = hours.left + hour * s + s / 2;
    StrokeLine(BPoint(x, 31), BPoint(x, 70));
    if (hour != 12) {
      snprintf(text, sizeof text, "%ld", long(hour));
      DrawString(fTwelveHour ? getLabel(hour == 6 ? kLabelAm : kLabelPm) : text, BPoint(x - 8, 22));
    }
  }
  StrokeRoundRect(hours, 3, 3);

  const BRect minutes = face.minuteScale;
  const float t = face.MinuteSegment();
  SetHighColor(tint_color({232, 232, 232, 0}, B_LIGHTEN_1_TINT));
  FillRoundRect(minutes, 3, 3);
  SetHighColor(tint_color(kMinuteMark, B_LIGHTEN_2_TINT));
  FillTriangle(BPoint(minutes.left, (minutes.top + minutes.bottom) / 2), BPoint(minutes.right - 2, minutes.top + 1),
               BPoint(minutes.right - 2, minutes.bottom - 1));

  SetHighColor(kMinuteMark);
  if (fMinute >= 0 && fMinute < 60)
    FillRoundRect(BRect(minutes.left + fMinute * t, 86, minutes.left + (fMinute + 1) * t, 129), 2, 2);
  SetHighColor(kInk);
  for (int32 minute = 15; minute <= 45; minute += 15) {
    const float x = minutes.left + minute * t + t / 2;
    StrokeLine(BPoint(x, 92), BPoint(x, 129));
  }
  // The numbers stand 8 pixels left of their segment: "0" over minute 2,
  // "30" over minute 30, "59" over minute 58.
  DrawString("0", BPoint(minutes.left + 2 * t - 8, 83));
  DrawString("30", BPoint(minutes.left + 30 * t - 8, 83));
  DrawString("59", BPoint(minutes.left + 58 * t - 8, 83));
  StrokeRoundRect(minutes, 3, 3);
}

void TimeView::DrawAsCircle(BRect)
{
  DrawFrame();
  const BRect bounds = Bounds();
  const ClockFace face = ClockFace::For(bounds);
  const BRect panel = face.panel;
  const BPoint centre(face.centerX, face.centerY);

  // The ring stands for the morning, the inner face for the afternoon.
  SetHighColor(tint_color(fFaceColor, B_LIGHTEN_1_TINT));
  FillEllipse(centre, face.radius, face.radius);
  SetHighColor(fFaceColor);
  FillEllipse(centre, face.innerRadius, face.innerRadius);

  // Hour ticks, but none at 6 o'clock where the half-day labels stand.
  SetHighColor(kInk);
  BeginLineArray(30);
  for (int angle = 0; angle < 360; angle += 30) {
    if (angle != 90)
      AddLine(OnCircle(face, angle, face.innerRadius - 2), OnCircle(face, angle, face.radius + 2), fFrameColor);
  }
  EndLineArray();

  // A large faint 9 and 3 on tabs at the sides.
  BFont bold(be_bold_font);
  const float size = (panel.right - panel.left) / 4;
  bold.SetSize(size);
  SetFont(&bold, B_FONT_ALL);
  const float tab = size / 2.1f;
  SetHighColor(ui_color(B_MENU_BACKGROUND_COLOR));
  FillArc(BRect(bounds.left, face.centerY - tab, bounds.left + tab + 18, face.centerY + tab), 270, 180);
  FillArc(BRect(bounds.right - tab - 17, face.centerY - tab, bounds.right, face.centerY + tab), 90, 180);
  SetHighColor(SideNumberColor());
  SetLowColor(ui_color(B_MENU_BACKGROUND_COLOR));
  DrawString("9", BPoint(panel.left + 5, face.centerY + size / 2.9f));
  DrawString("3", BPoint(panel.right - StringWidth("3") - 2, face.centerY + size / 2.9f));

  SetFont(be_plain_font, B_FONT_ALL);
  SetFontSize(10);
  SetLowColor(fFaceColor);
  const char* am = getLabel(kLabelAm);
  const char* pm = getLabel(kLabelPm);
  DrawString(am, BPoint(face.centerX - StringWidth(am) / 2, face.centerY + face.radius - 3));
  DrawString(pm, BPoint(face.centerX - StringWidth(pm) / 2, face.centerY + face.innerRadius - 5));

  // Hands, angles from 3 o'clock: hour 0 and minute 0 point up.
  SetLineMode(B_ROUND_CAP, B_ROUND_JOIN, 10);
  struct Stroke {
    float pen;
    rgb_color colour;
  };
  auto hand = [&](float angle, float length, Stroke under, Stroke over) {
    const BPoint tip = OnCircle(face, angle, length);
    for (const Stroke& stroke : {under, over}) {
      SetPenSize(stroke.pen);
      BeginLineArray(1);
      AddLine(centre, tip, stroke.colour);
      EndLineArray();
    }
  };
  hand(((fHour - 3) + fMinute / 60.0f) * 30, face.innerRadius + 2, {6.5f, kHourHandShade}, {4.5f, kHourMark});
  hand((fMinute - 15) * 6.0f, face.radius + 2, {4, kMinuteHandShade}, {2, kMinuteMark});
  SetPenSize(1);
}

void TimeView::Focus(int32 field)
{
  BMessage focus('TDSV');
  focus.AddInt32("_lfdnr", field);
  if (BWindow* window = Window())
    window->MessageReceived(&focus);
}

void TimeView::MouseDown(BPoint)
{
  BPoint where;
  uint32 buttons = 0;
  GetMouse(&where, &buttons, true);
  if (buttons == B_SECONDARY_MOUSE_BUTTON) {
    fAsCircle = !fAsCircle;
    Invalidate();
    return;
  }

  const ClockFace face = ClockFace::For(Bounds());
  const ClockPick pick = fAsCircle ? face.PickOnDial(where, HourOfDay(), fMinute)
                                   : face.PickOnScales(where, HourOfDay(), fMinute);
  if (pick.part == kPickHour)
    Focus(kHourField);
  else if (pick.part == kPickMinute)
    Focus(kMinuteField);

  BMessage report('CTIM');
  report.AddInt32("_tsep", pick.part);
  report.AddInt32("_hour", pick.hour);
  report.AddInt32("_min", pick.minute);
  be_app_messenger.SendMessage(&report);
}
