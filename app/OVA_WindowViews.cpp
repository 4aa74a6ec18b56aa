// The month grids and the clock below the panel: built for the layout,
// kept in step with the panel, and their picks taken into it; the labels
// the window shows.
#include "app/OVA_Window.h"

#include "app/CalendarsWindow.h"
#include "app/PanelFocus.h"
#include "calendar/ClockFace.h"
#include "calendar/Labels.h"
#include "calendar/TwelveHourClock.h"
#include "controls/TDView.h"
#include "platform/interface/BButton.h"
#include "platform/interface/BMenuField.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "settings/Prefs.h"
#include "views/MonView.h"
#include "views/TimeView.h"

#include <cstdio>
#include <cstdlib>

void OVA_Window::ShowClockOrMonth(int32 kind)
{
  if (!fTimeView)
    return;
  if (kind == kTimeFocus) {
    if (fMainMon && !fMainMon->IsHidden())
      fMainMon->Hide();
    if (fTimeView->IsHidden())
      fTimeView->Show();
  } else {
    if (!fTimeView->IsHidden())
      fTimeView->Hide();
    if (fMainMon && fMainMon->IsHidden())
      fMainMon->Show();
  }
}

void OVA_Window::SetFocusTo(BMessage* message)
{
  Lock();
  ShowClockOrMonth(focusKind);
  Unlock();
  if (!message)
    return;
  const int32 kind = message->GetInt32("_foctyp", focusKind);
  Lock();
  ShowClockOrMonth(kind);
  if (kind != focusKind) {
    focusKind = kind;
    UpdateMonViews();
  }
  Unlock();
}

void OVA_Window::UpdateDayView(BMessage* message)
{
  if (!message) {
    printf(" ** event==NULL\n");
    return;
  }
  if (!fPanel) {
    printf(" ** vi==NULL\n");
    return;
  }
  if (focusKind == kTimeFocus)
    printf("- UDV time mode\n");

  int32 day = message->GetInt32("_day", 1);
  int32 month = message->GetInt32("_mon", 1);
  int32 year = message->GetInt32("_year", 2000);
  if (day < 1 || day > 31) {
    day = fPrefs->fCurDay;
    printf(" FIX A\n");
  }
  if (month < 1 || month > 12) {
    month = fPrefs->fCurMonth;
    printf(" FIX B\n");
  }
  if (year < TDView::kFirstYear || year > TDView::kLastYear) {
    // A day of a neighbouring grid beyond the panel's years (January 2038
    // next to December 2037) cannot be shown: the pick is dropped rather
    // than moved into another year.
    printf(" FIX C\n");
    return;
  }

  Lock();
  TDStringView* dayField = fPanel->DayField();
  dayField->value = day;
  if (month != fPanel->MonthField()->value) {
    fPanel->MonthField()->value = month;
    fPanel->YearField()->value = year;
    fPanel->MonthField()->FormatValue(month);
    fPanel->YearField()->FormatValue(year);
    UpdateMonViews();
  }
  dayField->FormatValue(dayField->value);
  Unlock();
}

void OVA_Window::UpdateTimeView(BMessage* message)
{
  if (!message) {
    printf(" ** event==NULL \n");
    return;
  }
  if (!fPanel) {
    printf(" ** vi==NULL    \n");
    return;
  }
  if (focusKind != kTimeFocus) {
    printf(" ** UTV no time mode\n");
    return;
  }

  int32 minute = message->GetInt32("_min", 0);
  int32 hour = message->GetInt32("_hour", 0);
  const int32 part = message->GetInt32("_tsep", 0);
  if (minute < 0 || minute > 59) {
    minute = 15;
    printf(" FIX D\n");
  }
  if (hour < 0 || hour > 23) {
    hour = 11;
    printf(" FIX E\n");
  }

  Lock();
  if (part == kPickHour) {
    fPrefs->fHalfDay = HalfOfDay(hour);
    if (fPanel->IsAmTimeMode()) {
      // The half of the day first, so that the hour's report finds both.
      fPanel->AmPmField()->SetValue(fPrefs->fHalfDay);
      hour = HourOnTwelveHourClock(hour);
    }
    fPanel->HourField()->SetValue(hour);
  } else if (part == kPickMinute) {
    fPanel->MinuteField()->SetValue(minute);
  }
  if (fTimeView)
    fTimeView->SetTime(PanelHourOfDay(), fPanel->MinuteField()->value);
  Unlock();
}

int32 OVA_Window::PanelHourOfDay() const
{
  const int32 hour = fPanel->HourField()->value;
  return fPanel->IsAmTimeMode() ? HourOfDay(hour, fPanel->AmPmField()->value) : hour;
}

MonView* OVA_Window::AddMonView(BRect frame, const char* name, int32 year, int32 month, int32 day)
{
  auto* view = new MonView(frame, name, year, int(month), int(day), false);
  view->exporter = [this](int32 year, int32 month) { ExportWhenReady(year, month); };
  fBackground->AddChild(view);
  return view;
}

void OVA_Window::AddMonViews()
{
  // Keys left in the grid stay in the grid of the new layout.
  const bool keysInGrid = KeysInGrid();
  Lock();
  for (MonView** view : {&fPrevMon, &fMainMon, &fNextMon}) {
    if (*view) {
      (*view)->RemoveSelf();
      delete *view;
      *view = nullptr;
    }
  }
  Unlock();
  if (!fPrefs->fShowExpand) {
    printf(" ** AMV !expand\n");
    return;
  }

  // The views fill the window below the panel.
  const BRect bounds = Bounds();
  const float top = fPanel ? fPanel->Bounds().Height() + 2 : 2;
  int32 year = 2000, month = 2, day = 15, hour = 0, minute = 0;
  if (fPanel) {
    year = fPanel->YearField()->value;
    month = fPanel->MonthField()->value;
    day = fPanel->DayField()->value;
    hour = PanelHourOfDay();
    minute = fPanel->MinuteField()->value;
  }

  Lock();
  if (fPrefs->fTriplePreview) {
    const float third = bounds.Width() / 3;
    // The neighbours get their months from UpdateMonViews.
    fPrevMon = AddMonView(BRect(bounds.left, top, third, bounds.bottom), "pMon", year, 8, 0);
    fMainMon = AddMonView(BRect(third + 1, top, 2 * third, bounds.bottom), "tMon", year, month, day);
    fNextMon = AddMonView(BRect(2 * third + 1, top, bounds.right, bounds.bottom), "nMon", year, 10, 0);
  } else {
    fMainMon = AddMonView(BRect(3, top, MIN_W - 3, bounds.bottom), "tMon", year, month, day);
    fMainMon->fTextOffset = 10;
  }

  // The clock lies exactly over the main month.
  const BRect frame = fMainMon->Frame();
  if (fTimeView) {
    fTimeView->MoveTo(frame.LeftTop());
    fTimeView->ResizeTo(frame.Width(), frame.Height());
  } else {
    fTimeView = new TimeView(frame, "tZeit", hour, minute, fMainMon->fTextOffset, fPrefs->fTimeStyle);
    fBackground->AddChild(fTimeView);
    fTimeView->Hide();
  }
  fTimeView->SetTwelveHour(fPrefs->fTimeStyle);

  SetFocusTo(nullptr);
  UpdateMonViews();
  if (keysInGrid)
    GiveKeysToGrid();
  Unlock();
}

void OVA_Window::UpdateMonViews()
{
  if (!fPanel) {
    printf(" ** vi==NULL\n");
    return;
  }
  if (!fPrefs->fShowExpand)
    return;

  const int32 year = fPanel->YearField()->value;
  const int32 month = fPanel->MonthField()->value;
  // The clock and all grids follow, also the main month hidden under the
  // clock, so that whichever shows and whenever it shows agrees with the
  // panel.
  if (fTimeView)
    fTimeView->SetTime(PanelHourOfDay(), fPanel->MinuteField()->value);

  if (fMainMon) {
    fMainMon->fMonth = month;
    fMainMon->fYear = year;
    fMainMon->fDay = fPanel->DayField()->value;
    fMainMon->DrawMonInfo();
    fMainMon->DrawTable(true);
  }
  if (fNextMon) {
    fNextMon->fMonth = month == 12 ? 1 : month + 1;
    fNextMon->fYear = month == 12 ? year + 1 : year;
    fNextMon->fDay = 1;
    fNextMon->DrawTable(false);
  }
  if (fPrevMon) {
    fPrevMon->fMonth = month == 1 ? 12 : month - 1;
    fPrevMon->fYear = month == 1 ? year - 1 : year;
    fPrevMon->fDay = 1;
    fPrevMon->DrawTable(false);
  }
}

void OVA_Window::ReplaceLabel()
{
  Lock();
  fClipButton->SetLabel(getLabel(6));
  fMenuField->SetLabel(getMoreLabel(kLabelSettings));
  fSettings->Relabel(fMarkups);
  if (fPanel) {
    fPanel->BroadcastButton()->SetLabel(getLabel(3));
    fPanel->CancelButton()->SetLabel(getLabel(2));
    // While a requester waits, OK carries the requester's own text.
    if (!IsWaitingForAnswer())
      fPanel->OkButton()->SetLabel(getLabel(1));
    // The AM/PM field keeps its text until it is formatted again.
    fPanel->SetAmTimeMode(fPanel->IsAmTimeMode());
    fPanel->Invalidate();
  }
  // Weekday heads, month captions and the clock's AM/PM words are labels.
  for (MonView* month : {fMainMon, fNextMon, fPrevMon}) {
    if (month) {
      month->DrawMonInfo();
      month->Invalidate();
    }
  }
  if (fTimeView)
    fTimeView->Invalidate();
  Unlock();
  if (fCalendarsWindow)
    fCalendarsWindow->Relabel();
  StatesChanged();
  TraceLabels();
}

void OVA_Window::TraceLabels() const
{
  if (getenv("ORVELLA_TEST_TRACE") == nullptr || !fPanel)
    return;
  printf("\nlabels: clip='%s' cancel='%s' expand='%s' month='%s' sunday='%s' ampm='%s'\n", fClipButton->Label(),
         fPanel->CancelButton()->Label(), fSettings->expand->Label(), getLabel(74 + fPanel->MonthField()->value),
         getLabel(91), fPanel->AmPmField()->Text());
}
