#include "controls/TDView.h"

#include "calendar/CalDay.h"
#include "calendar/Codes.h"
#include "calendar/Labels.h"
#include "calendar/TwelveHourClock.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/InterfaceDefs.h"

#include <cstdio>

namespace {

// Every field and frame piece spans these rows of the panel.
constexpr float kFieldTop = 2;
constexpr float kFieldBottom = 44;

// Label numbers of the status texts.
constexpr int kLabelAm = 16;
constexpr int kLabelPm = 17;
constexpr int kLabel24h = 18;

int32 FocusKind(int32 fieldNumber)
{
  if (fieldNumber >= 1 && fieldNumber <= 3)
    return 1;
  if (fieldNumber >= 4 && fieldNumber <= 6)
    return 2;
  return 0;
}

} // namespace

TDView::TDView(const struct tm& start, const char* tag, int32 order, bool time, bool onlyTime)
    : BView(BRect(1, 1, 280, 80), "TD_View", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_WILL_DRAW),
      dateOrder(order),
      tagText(tag ? tag : ""),
      startTime(start),
      withTime(time),
      timeOnly(onlyTime)
{
  SetFontSize(11);
}

TDView::TDView(const char* startText, const char* tag, int32 order, bool time, bool onlyTime)
    : TDView(StartOfText(startText ? startText : "", order), tag, order, time, onlyTime)
{
}

struct tm TDView::StartOfText(const std::string& text, int32 order)
{
  // Pieces by date order; a short text leaves the missing pieces empty,
  // which gives the value 0.
  auto piece = [&text](size_t from, size_t count) {
    const std::string part = from < text.size() ? text.substr(from, count) : std::string();
    return TDStringView::LeadingNumber(part.c_str());
  };
  int32 year = piece(0, 4), month = piece(5, 2), day = piece(8, 2);
  if (order == 1) {
    month = piece(0, 2);
    day = piece(3, 2);
    year = piece(6, 4);
  } else if (order == 2) {
    day = piece(0, 2);
    month = piece(3, 2);
    year = piece(6, 4);
  }
  struct tm start = {};
  start.tm_year = int(int64(year) - 1900);
  start.tm_mon = int(int64(month) - 1);
  start.tm_mday = day;
  start.tm_hour = piece(11, 2);
  start.tm_min = piece(14, 2);
  return start;
}

bool TDView::Shows(const struct tm& local)
{
  const int64 year = int64(local.tm_year) + 1900;
  return year >= kFirstYear && year <= kLastYear && local.tm_mon >= 0 && local.tm_mon <= 11
         && local.tm_mday >= 1 && local.tm_mday <= TagePerMonat(local.tm_mon, int(year))
         && local.tm_hour >= 0 && local.tm_hour <= 23 && local.tm_min >= 0 && local.tm_min <= 59;
}

TDView::~TDView() = default;

void TDView::AttachedToWindow()
{
  // Children are built once; a panel moved to another window keeps them.
  if (yearField)
    return;
  if (BView* parent = Parent()) {
    ResizeTo(parent->Bounds().Width() - 40, 75);
    SetViewColor(parent->ViewColor());
  }
  MoveTo(45, 0);
  BuildButtons();
  BuildFields();
  if (dateOrder != 0)
    ReorderDate();
  if (!withTime) {
    hourField->Hide();
    timeSeparator->Hide();
    minuteField->Hide();
  }
  if (timeOnly) {
    yearField->Hide();
    dateSeparatorA->Hide();
    monthField->Hide();
    dateSeparatorB->Hide();
    dayField->Hide();
  }
  dayField->SetOnFocus(3);
  if (timeOnly)
    hourField->SetOnFocus(4);
}

void TDView::BuildButtons()
{
  BMessage quit('Qmod');
  quit.AddInt32("_QuitMod", 0);
  const float top = Bounds().bottom - 28;
  struct AnswerButton {
    BButton** button;
    const char* name;
    int label;
    int32 quitMode;
    float left;
    float width;
  };
  const AnswerButton buttons[] = {
      {&okButton, "done", 1, 1, 180, 90},
      {&cancelButton, "cancel", 2, 0, 85, 90},
      {&bcastButton, "bcast", 3, -1, 10, 70},
  };
  for (const AnswerButton& answer : buttons) {
    auto* message = new BMessage(quit);
    message->ReplaceInt32("_QuitMod", answer.quitMode);
    auto* button = new BButton(BRect(answer.left, top, answer.left + answer.width, top + 22), answer.name,
                               getLabel(answer.label), message, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
    button->SetFontSize(10);
    AddChild(button);
    *answer.button = button;
  }
}

TDStringView* TDView::AddField(float left, float width, const char* name, const char* text, int32 number)
{
  auto* field = new TDStringView(BRect(left, kFieldTop, left + width, kFieldBottom), name, text, number);
  AddChild(field);
  return field;
}

void TDView::BuildFields()
{
  // Each field starts with its number in its own format.
  auto text = [](const char* format, int64 number) {
    char buffer[24];
    snprintf(buffer, sizeof buffer, format, static_cast<long long>(number));
    return std::string(buffer);
  };
  const std::string year = text("%4lld", int64(startTime.tm_year) + 1900);
  const std::string month = text("%02lld", int64(startTime.tm_mon) + 1);
  const std::string day = text("%02lld", startTime.tm_mday);
  const std::string hour = text("%02lld", startTime.tm_hour);
  const std::string minute = text("%02lld", startTime.tm_min);

  const float dateLeft = withTime && !timeOnly ? 15 : 35;
  auto next = [](const BView* previous) { return previous->Frame().right + 1; };
  TDStringView* dateStart = AddField(dateLeft - 6, 5, "randr", " ", 51);
  yearField = AddField(dateLeft, 49, "year", year.c_str(), 1);
  yearField->SetRange(1900, 2037);
  dateSeparatorA = AddField(next(yearField), 8, "tprA", "/", 99);
  monthField = AddField(next(dateSeparatorA), 37, "mon", month.c_str(), 2);
  monthField->SetRange(1, 12);
  dateSeparatorB = AddField(next(monthField), 8, "tprB", "/", 99);
  dayField = AddField(next(dateSeparatorB), 23, "day", day.c_str(), 3);
  // The day range is the shown month's from the start.
  const bool knownMonth = monthField->value >= 1 && monthField->value <= 12;
  dayField->SetRange(1, knownMonth ? TagePerMonat(monthField->value - 1, yearField->value) : 31);
  TDStringView* dateEnd = AddField(next(dayField), 7, "randr", "", 52);

  float hourLeft = dayField->Frame().left + 35 + 14;
  if (timeOnly)
    hourLeft -= 140;
  TDStringView* timeStart = AddField(hourLeft - 6, 5, "randr", " ", 51);
  hourField = AddField(hourLeft, 23, "hour", hour.c_str(), 4);
  hourField->SetRange(0, 23);
  timeSeparator = AddField(next(hourField), 7, "tprC", ":", 99);
  minuteField = AddField(next(timeSeparator), 23, "min", minute.c_str(), 5);
  minuteField->SetRange(0, 59);
  ampmField = AddField(next(minuteField), 24, "e24h", "1", 6);
  ampmField->SetRange(1, 2);
  timeEnd = AddField(next(ampmField), 7, "randr", "", 52);
  if (timeOnly) {
    dateStart->Hide();
    dateEnd->Hide();
  }
  if (!withTime) {
    timeStart->Hide();
    timeEnd->Hide();
  }

  const BRect ampm = ampmField->Frame();
  statusLabel = new BStringView(BRect(ampm.right + 10, 16, ampm.right + 70, 30), "eap", "PM",
                                B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
  statusLabel->SetLowColor(ViewColor());
#ifdef ORVELLA_DESKTOP_VARIANT
  statusLabel->SetViewColor(ui_color(B_UI_TOOLTIP_BACKGROUND_COLOR));
#endif
  statusLabel->Hide();
  AddChild(statusLabel);
}

void TDView::ReorderDate()
{
  TDStringView* order1[] = {monthField, dateSeparatorA, dayField, dateSeparatorB, yearField};
  TDStringView* order2[] = {dayField, dateSeparatorA, monthField, dateSeparatorB, yearField};
  float left = yearField->Frame().left;
  for (TDStringView* piece : dateOrder == 1 ? order1 : order2) {
    piece->MoveTo(left, kFieldTop);
    left = piece->Frame().right + 1;
  }
  statusLabel->MoveTo(minuteField->Frame().right + 41, minuteField->Frame().top);
}

void TDView::Draw(BRect)
{
  // The panel paints nothing itself; its fields draw the boxes.
  const rgb_color panel = tint_color(ui_color(B_MENU_BACKGROUND_COLOR), 1.147f);
  SetHighColor(panel);
  SetLowColor(panel);
  SetHighColor(10, 10, 10, 0);
  SetFont(be_plain_font, B_FONT_ALL);
}

void TDView::ReportToWindow(BMessage* message)
{
  if (BWindow* window = Window())
    window->MessageReceived(message);
}

int32 TDView::ShownFieldFrom(int32 number, int32 step) const
{
  if (number < 1 || number > 6)
    return number;
  const TDStringView* fields[] = {yearField, monthField, dayField, hourField, minuteField, ampmField};
  for (int tries = 0; tries < 6; tries++) {
    const TDStringView* field = fields[number - 1];
    if (field && !field->IsHidden())
      return number;
    number = step < 0 ? (number == 1 ? 6 : number - 1) : (number == 6 ? 1 : number + 1);
  }
  return 0;
}

void TDView::SetFocusOn(BMessage* message, int32 fieldNumber)
{
  int32 number = fieldNumber;
  int32 step = 1;
  if (message) {
    message->FindInt32("_lfdnr", &number);
    message->FindInt32("_step", &step);
  }
  // A hidden field never takes the mark, so no key can change it.
  number = ShownFieldFrom(number, step);
  for (TDStringView* field : {yearField, monthField, dayField, hourField, minuteField, ampmField}) {
    if (field)
      field->SetOnFocus(number);
  }
  BMessage report('CUFO');
  report.AddInt32("_focus", number);
  report.AddInt32("_foctyp", FocusKind(number));
  ReportToWindow(&report);
}

void TDView::GetDTValues(int32& year, int32& month, int32& day, int32& hour, int32& minute)
{
  auto take = [](int32& wanted, const TDStringView* field) {
    if (wanted != 0 && field)
      wanted = field->value;
  };
  take(year, yearField);
  take(month, monthField);
  take(day, dayField);
  take(hour, hourField);
  take(minute, minuteField);
}

void TDView::SetDTValues(int32 year, int32 month, int32 day, int32 hour, int32 minute)
{
  auto store = [](TDStringView* field, int32 v, int32 lowest) {
    if (field && v >= lowest)
      field->value = v;
  };
  store(yearField, year, 1);
  store(monthField, month, 1);
  store(dayField, day, 0);
  store(hourField, hour, 0);
  store(minuteField, minute, 0);
}

void TDView::HasTarget(bool hasTarget)
{
  if (!okButton)
    return;
  BWindow* window = Window();
  if (window)
    window->Lock();
  for (BButton* button : {okButton, cancelButton}) {
    if (button->IsEnabled() != hasTarget)
      button->SetEnabled(hasTarget);
  }
  if (bcastButton->IsEnabled() == hasTarget)
    bcastButton->SetEnabled(!hasTarget);
  if (window)
    window->Unlock();
}

void TDView::SetAmTimeMode(bool amMode)
{
  if (!ampmField)
    return;
  // The fields keep showing the same time: switching converts the hour
  // between the two clocks, and the AM/PM field follows the hour.
  const bool wasAmMode = amTimeMode;
  amTimeMode = amMode;
  const BRect ampm = ampmField->Frame();
  if (!amMode) {
    if (!ampmField->IsHidden()) {
      ampmField->Hide();
      timeEnd->MoveTo(ampm.LeftTop());
    }
    hourField->SetRange(0, 23);
    if (wasAmMode)
      hourField->SetValue(HourOfDay(hourField->value, ampmField->value));
    statusLabel->SetText(getLabel(kLabel24h));
  } else {
    if (!wasAmMode) {
      ampmField->value = HalfOfDay(hourField->value);
      hourField->value = HourOnTwelveHourClock(hourField->value);
    }
    if (ampmField->IsHidden()) {
      timeEnd->MoveTo(ampm.right + 1, ampm.top);
      ampmField->FormatValue(ampmField->value);
      ampmField->Show();
    }
    hourField->SetRange(1, 12);
    if (!wasAmMode)
      hourField->FormatValue(hourField->value);
    statusLabel->SetText(getLabel(ampmField->value > 1 ? kLabelPm : kLabelAm));
  }
  statusLabel->Invalidate();
  ampmField->FormatValue(ampmField->value);
}

void TDView::FollowMonthLength()
{
  if (!yearField || !monthField || !dayField)
    return;
  dayField->SetRange(1, TagePerMonat(monthField->value - 1, yearField->value));
  dayField->Draw(Bounds());
  dayField->Invalidate();
  BMessage report('TRDW');
  ReportToWindow(&report);
}

void TDView::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case 'TDSV': SetFocusOn(message, 51); return;
  case 'TFEB': FollowMonthLength(); return;
  case 'TDAY': {
    BMessage report('TDAY');
    ReportToWindow(&report);
    return;
  }
  case 'NHOU':
  case 'NMIN': ReportToWindow(message); return;
  case 'AMPM': {
    if (!statusLabel || !hourField)
      return;
    const int32 half = message->GetInt32("_ap", 0);
    if (half == 1)
      statusLabel->SetText(getLabel(kLabelAm));
    else if (half == 2)
      statusLabel->SetText(getLabel(kLabelPm));
    if (amTimeMode) {
      hourField->SetRange(1, 12);
    } else {
      hourField->SetRange(0, 23);
      statusLabel->SetText(getLabel(kLabel24h));
    }
    return;
  }
  case 'HOUR': {
    if (!statusLabel)
      return;
    if (!amTimeMode)
      statusLabel->SetText(getLabel(kLabel24h));
    else
      statusLabel->SetText(getLabel(message->GetInt32("_h", 0) > 12 ? kLabelPm : kLabelAm));
    return;
  }
  case 'Qmod': {
    // Enter and Escape in a field press OK and Cancel, but only while
    // they are enabled, that is while a requester waits.
    const int32 kind = message->GetInt32("_QuitMod", -1);
    BButton* button = kind == 1 ? okButton : kind == 0 ? cancelButton : nullptr;
    if (button != nullptr && button->IsEnabled())
      ReportToWindow(message);
    return;
  }
  case 'TICK':
  case '_MCH': return;
  case 'kxCL':
    printf("TDView#");
    message->PrintToStream();
    return;
  default:
    printf("TDView MR  '%s'\n", LongToAsc(message->what));
    BView::MessageReceived(message);
    return;
  }
}
