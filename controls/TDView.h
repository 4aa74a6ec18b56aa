// The date-time entry panel: a row of fields (year, month, day, hour,
// minute, AM/PM) framed as two rounded boxes, and below them the Broadcast,
// Cancel and OK buttons.
//
// The panel builds its children when it is attached to a window, keeps the
// day range at the month's length, moves the focus mark between the
// fields, switches between 12-hour and 24-hour entry and passes the fields'
// reports on to the window by calling its MessageReceived directly:
// 'CUFO' ("_focus", "_foctyp"), 'TDAY', 'TRDW', 'NHOU' ("_h") and 'NMIN'
// ("_ min"). The buttons send 'Qmod' with "_QuitMod" 1 (OK), 0 (Cancel) or
// -1 (Broadcast) to the window; Enter and Escape in a field do what OK and
// Cancel do while these are enabled.
//
//   auto* panel = new TDView("2004/03/07 14:05", ".start", 0, true, false);
//   background->AddChild(panel);   // builds the fields and buttons
//   panel->SetAmTimeMode(false);
//   int32 year = 1, month = 1, day = 0, hour = 0, minute = 0;
//   panel->GetDTValues(year, month, day, hour, minute);   // 2004, 3
#pragma once

#include "controls/TDStringView.h"
#include "platform/interface/BButton.h"
#include "platform/interface/BView.h"

#include <ctime>
#include <string>

class TDView : public BView {
public:
  // The panel preset to a local date and time; the fields take its whole
  // numbers (tm_year + 1900, tm_mon + 1, tm_mday, tm_hour, tm_min). Presets
  // for which Shows() is false are not shown exactly. `tagText` is kept
  // and not read.
  TDView(const struct tm& start, const char* tagText, int32 dateOrder, bool withTime, bool timeOnly);
  // The same from a text of the form "%Y/%m/%d %H:%M" for date order 0,
  // with month and day first for order 1 ("03/07/2004 14:05") or day and
  // month first for order 2; each piece is read as a field reads its start
  // text.
  TDView(const char* startText, const char* tagText, int32 dateOrder, bool withTime, bool timeOnly);
  ~TDView() override;

  void MessageReceived(BMessage* message) override;
  void AttachedToWindow() override;
  void Draw(BRect updateRect) override;

  // Puts the focus mark on the field numbered by the message's "_lfdnr",
  // else by `fieldNumber`, and reports 'CUFO'. A hidden field is passed
  // over to the next shown one in the direction of the message's "_step"
  // (-1 backwards; forwards without it).
  virtual void SetFocusOn(BMessage* message, int32 fieldNumber);
  // Each argument that holds a non-zero value gets its field's value.
  virtual void GetDTValues(int32& year, int32& month, int32& day, int32& hour, int32& minute);
  // Stores year and month above 0, day, hour and minute from 0 up, as they
  // are: no range check, and the fields show them at their next step.
  virtual void SetDTValues(int32 year, int32 month, int32 day, int32 hour, int32 minute);
  // With a requester waiting, OK and Cancel are enabled and Broadcast is
  // not; without one the other way round.
  virtual void HasTarget(bool hasTarget);
  // 12-hour entry shows the AM/PM field and limits the hour to 1..12.
  // Switching keeps the time: 15:47 shows as 03:47 PM, 00:10 as 12:10 AM,
  // and back.
  virtual void SetAmTimeMode(bool amMode);

  // Years the year field steps through.
  static constexpr int32 kFirstYear = 1900;
  static constexpr int32 kLastYear = 2037;
  // True when every field's range holds the local time's value, so that the
  // panel shows it exactly.
  static bool Shows(const struct tm& local);

  // The children; null until the panel is attached.
  TDStringView* YearField() const { return yearField; }
  TDStringView* MonthField() const { return monthField; }
  TDStringView* DayField() const { return dayField; }
  TDStringView* HourField() const { return hourField; }
  TDStringView* MinuteField() const { return minuteField; }
  TDStringView* AmPmField() const { return ampmField; }
  BButton* OkButton() const { return okButton; }
  BButton* CancelButton() const { return cancelButton; }
  BButton* BroadcastButton() const { return bcastButton; }
  BStringView* StatusLabel() const { return statusLabel; }
  bool IsAmTimeMode() const { return amTimeMode; }

private:
  void BuildButtons();
  void BuildFields();
  void ReorderDate();
  void FollowMonthLength();
  static struct tm StartOfText(const std::string& text, int32 order);
  // `number` when that field is shown (or is no field), else the next shown
  // field in the direction of `step`; 0 when no field is shown.
  int32 ShownFieldFrom(int32 number, int32 step) const;
  void ReportToWindow(BMessage* message);
  TDStringView* AddField(float left, float width, const char* name, const char* text, int32 number);

  int32 dateOrder;
  std::string tagText;
  struct tm startTime;
  TDStringView* yearField = nullptr;
  TDStringView* monthField = nullptr;
  TDStringView* dayField = nullptr;
  TDStringView* hourField = nullptr;
  TDStringView* minuteField = nullptr;
  TDStringView* ampmField = nullptr;
  TDStringView* dateSeparatorA = nullptr;
  TDStringView* dateSeparatorB = nullptr;
  TDStringView* timeSeparator = nullptr;
  TDStringView* timeEnd = nullptr;
  BStringView* statusLabel = nullptr;
  bool amTimeMode = false;
  BButton* bcastButton = nullptr;
  BButton* okButton = nullptr;
  BButton* cancelButton = nullptr;
  bool withTime;
  bool timeOnly;
};
