#include "app/OVA_Window.h"

#include "app/DoError.h"
#include "app/PickedTime.h"
#include "app/WindowFrame.h"
#include "calendar/ClockFace.h"
#include "calendar/Labels.h"
#include "calendar/LocalTime.h"
#include "calendar/TwelveHourClock.h"
#include "calendar/Utf8Text.h"
#include "controls/TDView.h"
#include "export/HtmlCalendar.h"
#include "locale/CatalogLabels.h"
#include "locale/KXLabel.h"
#include "locale/KXLangMenu.h"
#include "marks/IcsFolder.h"
#include "marks/EventScan.h"
#include "marks/STMarkups.h"
#include "platform/messaging/AppDefs.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BClipboard.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuField.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "platform/storage/BNode.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"
#include "platform/messaging/Launch.h"
#include "platform/messaging/BRoster.h"
#include "platform/interface/BView.h"
#include "settings/Prefs.h"
#include "views/MonView.h"
#include "views/TimeView.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// Focus codes of the panel: the day field, the hour field, no field.
constexpr int32 kFocusDay = 3;
constexpr int32 kFocusHour = 4;
constexpr int32 kFocusNone = 51;
// focusKind of a time field (hour or minute).
constexpr int32 kTimeFocus = 2;
// Longest "_okName" shown on the send button; a longer one is cut.
constexpr size_t kOkNameMaxBytes = 64;

}  // namespace

OVA_Window::OVA_Window(BRect frame)
    : BWindow(frame, "Orvella", B_DOCUMENT_WINDOW,
              B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_QUIT_ON_WINDOW_CLOSE, B_CURRENT_WORKSPACE)
{
  selfMessenger = BMessenger(this);
  replyTarget = selfMessenger;

  fMarkups = STMarkups::getSTMarkups();
  if (fMarkups) {
    LookForVEvents();
    LookForCalendars(nullptr);
    fMarkups->CheckHolidays();
    fMarkups->ShowInfo();
  }

  fPrefs = Prefs::getSTPrefs();
  SetLook(fPrefs->fWindowTab ? B_FLOATING_WINDOW_LOOK : B_BORDERED_WINDOW_LOOK);

#ifdef ORVELLA_DESKTOP_VARIANT
  printf(" --class KXLangMenu* kxlm - not needet (Zeta)\n");
  UseLabelCatalog("orvella");
#else
  fLangMenu = new KXLangMenu("Language", "Orvella");
  fLangMenu->StartWith(eLabel);
  SetLabelSource(KXLabel::LabelText);
#endif

  if (!IsUsableWindowFrame(fPrefs->fWinRect)) {
    // Only the window takes the default; the store keeps what it holds.
    const BRect& bad = fPrefs->fWinRect;
    const BRect& good = Prefs::kDefaultWinRect;
    printf("m_win_rect %g, %g, %g, %g is no usable window frame; taking %g, %g, %g, %g\n", bad.left, bad.top,
           bad.right, bad.bottom, good.left, good.top, good.right, good.bottom);
    fPrefs->fWinRect = good;
  }
  const BRect stored = fPrefs->fWinRect;
  ResizeTo(stored.Width(), stored.Height());
  MoveTo(stored.left, stored.top);
  Bounds().PrintToStream();

  fBackground = new BView(Bounds(), "bView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
  fBackground->SetViewColor(232, 232, 232);
  fBackground->SetFontSize(10);
  AddChild(fBackground);
  fBackground->SetFontSize(12);

  // The old platform path of the MarkDays file, kept as a trace of the
  // start-up; the registry reads the file from the home folder.
  const char* markDaysNode = "/people/MarkDays";
  BNode markDays(markDaysNode);
  printf("FILE_MARKDAYS check: %ld [%s]\n", long(markDays.InitCheck()), markDaysNode);
  if (fMarkups)
    printf(" We have %ld userdays | status: %d\n", long(fMarkups->fUsers), fPrefs->fDaysUser);
  fSettings = std::make_unique<SettingsMenu>(*fPrefs, fMarkups, fLangMenu);

  fMenuField = new BMenuField(BRect(18, 12, 36, 34), "menMF", "", fSettings->Menu(), B_FOLLOW_LEFT,
                              B_WILL_DRAW | B_NAVIGABLE);
  fMenuField->SetDivider(0);
  fMenuField->SetAlignment(B_ALIGN_LEFT);
  fBackground->AddChild(fMenuField);
  fMenuField->SetFontSize(12);
  fSettings->Menu()->SetFontSize(12);

  fClipButton = new BButton(BRect(5, 47, 42, 60), "clip", getLabel(6), new BMessage('2CLP'),
                            B_FOLLOW_LEFT | B_FOLLOW_TOP);
  fBackground->AddChild(fClipButton);
  fClipButton->SetFontSize(10);
  fClipButton->ResizeTo(37, 22);

  fPrefs->fCurCode = 0;
  ResetMDateView(nullptr);
  fPanel->HasTarget(false);

  AddMonViews();
  printf("-- StartUp --\n");
  UpdateMonViews();
  TraceLabels();
}

OVA_Window::~OVA_Window()
{
  // The month views go first, removed as a switch to the compact layout
  // removes them; the switch is put back before the settings are saved, so
  // the next start opens expanded again. The clock leaves shown, as it came.
  const bool expanded = fPrefs->fShowExpand;
  fPrefs->fShowExpand = false;
  AddMonViews();
  if (fTimeView && fTimeView->IsHidden())
    fTimeView->Show();
  fPrefs->fShowExpand = expanded;

  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
  fPrefs->DeleteMe();
  fPrefs = nullptr;
  for (BView* view : {static_cast<BView*>(fTimeView), static_cast<BView*>(fPanel)}) {
    if (view) {
      view->RemoveSelf();
      delete view;
    }
  }
  fTimeView = nullptr;
  fPanel = nullptr;
  printf("\n -ova a\n");
  if (fMarkups) {
    fMarkups->DeleteMe();
    fMarkups = nullptr;
  }
  printf(" -ova \n");
}

void OVA_Window::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_KXT':
    AcceptRequest(message);
    break;
  case 'Qmod': {
    int32 kind;
    if (message->FindInt32("_QuitMod", &kind) == B_OK)
      SendDateTimeMessage(kind);
    break;
  }
  case '2CLP':
    DateToClipboard();
    break;
  case 'MENU':
    SetSettings(message);
    break;
  case 'CUFO':
    SetFocusTo(message);
    break;
  case 'NDAY':
    UpdateDayView(message);
    break;
  case 'CTIM':
    UpdateTimeView(message);
    break;
  case 'NHOU':
  case 'NMIN':
  case 'TRDW':
    UpdateMonViews();
    break;
  case 'TDAY':
    if (fMainMon) {
      fMainMon->fDay = fPanel->DayField()->value;
      fMainMon->HighlightDay();
    }
    break;
  case 'TDSV':
    if (fPanel)
      fPanel->MessageReceived(message);
    break;
  case '_ABR':
    DoError("... can be a part of any App..\n Version: 71230");
    break;
  case 'oMDf':
    OpenMarkDaysFile();
    break;
  case 'rMDf':
    ReloadMarkDays();
    break;
  case 'sGmd':
    ShowKind(&fPrefs->fDaysGlobal, fSettings->globals);
    break;
  case 'sLmd':
    ShowKind(&fPrefs->fDaysLocal, fSettings->locals);
    break;
  case 'sUmd':
    ShowKind(&fPrefs->fDaysUser, fSettings->users);
    break;
  case 'sEmd':
    ShowKind(&fPrefs->fDaysEvent, fSettings->events);
    break;
  case 'sN1C':
    SetHtmlMode(1);
    break;
  case 'sN2C':
    SetHtmlMode(2);
    break;
  case 'sN3C':
    SetHtmlMode(3);
    break;
#ifndef ORVELLA_DESKTOP_VARIANT
  case 'kxCL':
    printf("OVA_Win#");
    message->PrintToStream();
    if (fLangMenu && fLangMenu->TakeLanguage(message, eLabel))
      ReplaceLabel();
    break;
#endif
  case 'DATA':
    message->PrintToStream();
    break;
  case 'RFID':
  case 'TICK':
  case '_DPD':
  case '_KDN':
  case '_KYD':
  case '_KYU':
  case '_MCH':
  case '_MDN':
  case '_MMV':
  case '_MUP':
  case '_MWC':
  case '_PBL':
  case '_UKD':
  case '_UKU':
    break;
  default:
    printf("OVA_Window::MessageReceived\n");
    message->PrintToStream();
    break;
  }
}

void OVA_Window::FrameMoved(BPoint)
{
  if (!fPrefs)
    return;
  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
}

void OVA_Window::FrameResized(float, float)
{
  if (!fPrefs)
    return;
  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
}

void OVA_Window::AcceptRequest(BMessage* request)
{
  if (!request->HasBool("_ask"))
    return;
  if (replyTarget != selfMessenger) {
    // The waiting requester learns that its request was displaced.
    SendDateTimeMessage(0);
    replyTarget = selfMessenger;
    requestTag = request->GetPointer("_itor", nullptr);
  }
  ResetMDateView(request);
  fPanel->HasTarget(true);
  replyTarget = request->ReturnAddress();
}

void OVA_Window::ResetMDateView(BMessage* request)
{
  if (request) {
    requestTag = nullptr;
    request->PrintToStream();
    requestTag = request->GetPointer("_itor", nullptr);
    printf("<- '%p'\n", requestTag);
  }

  Lock();
  const bool timeOnly = request ? request->GetBool("_onlyTime", false) : false;
  const time_t shown = request ? time_t(request->GetInt64("_presetTime", 0)) : time(nullptr);

  struct tm local;
  if (localtime_r(&shown, &local) == nullptr || !TDView::Shows(local)) {
    // A preset the panel cannot show exactly counts as no preset, rather
    // than being shown and answered as another time.
    printf("_presetTime %lld cannot be shown; the panel shows time 0\n", static_cast<long long>(shown));
    const time_t zero = 0;
    localtime_r(&zero, &local);
  }

  if (!request || fPrefs->fCurCode == 0) {
    fPrefs->fCurYear = local.tm_year + 1900;
    fPrefs->fCurMonth = local.tm_mon + 1;
    fPrefs->fCurDay = local.tm_mday;
    fPrefs->fCurCode = fPrefs->fCurYear * 10000 + fPrefs->fCurMonth * 100 + fPrefs->fCurDay;
    if (fMarkups)
      fMarkups->fTodayCode = fPrefs->fCurCode;
  }

  if (fPanel) {
    fPanel->RemoveSelf();
    delete fPanel;
  }
  fPanel = new TDView(local, ".start", 0, true, timeOnly);
  fBackground->AddChild(fPanel);

  std::string label = getLabel(1);
  if (request) {
    const char* okName = nullptr;
    if (request->FindString("_okName", &okName) == B_OK)
      label = FirstBytes(okName, kOkNameMaxBytes);
    label = "> " + label;
    fPanel->HasTarget(true);
  }
  fPanel->OkButton()->SetLabel(label.c_str());
  fPanel->SetAmTimeMode(fPrefs->fTimeStyle);

  if (request) {
    fPanel->SetFocusOn(nullptr, timeOnly ? kFocusHour : kFocusDay);
    Activate(true);
  }
  Unlock();
}

time_t OVA_Window::PanelTime() const
{
  PickedDate pick{1, 1, 1, 1, 1};
  fPanel->GetDTValues(pick.year, pick.month, pick.day, pick.hour, pick.minute);
  const TDStringView* half = fPanel->AmPmField();
  return ::PickedTime(pick, fPanel->IsAmTimeMode(), half ? half->value : 1);
}

void OVA_Window::SendDateTimeMessage(int32 kind)
{
  BMessage answer('_KXT');
  time_t picked = 0;
  if (kind != 0) {
    picked = PanelTime();
    if (kind == -1) {
      struct tm local = {};
      localtime_r(&picked, &local);
      answer.AddInt32("_year", local.tm_year + 1900);
      answer.AddInt32("_month", local.tm_mon + 1);
      answer.AddInt32("_day", local.tm_mday);
      answer.AddInt32("_hour", local.tm_hour);
      answer.AddInt32("_min", local.tm_min);
      answer.AddInt32("_sec", 0);
    }
    answer.AddInt64(">time", int64(picked));
  }
  answer.AddMessenger(">target", replyTarget);
  answer.AddInt32(">stype", kind);
  answer.AddString(">state", "send");
  if (kind == 0) {
    answer.ReplaceString(">state", "cancel");
    answer.AddPointer("_resetPtr", requestTag);
  } else if (kind == -1) {
    answer.ReplaceString(">state", "2all");
  }

  if (replyTarget != selfMessenger) {
    // A requester that has gone away misses its answer; nothing to undo.
    replyTarget.SendMessage(&answer);
    replyTarget = selfMessenger;
  }
  if (kind == -1)
    be_roster->Broadcast(&answer);

  printf("SEND: \n");
  answer.PrintToStream();
  printf("(send  %s )\n", LocalTimeText(" %Y/%m/%d %H:%M", picked).c_str());

  Lock();
  ResetMDateView(nullptr);
  UpdateMonViews();
  fPanel->HasTarget(false);
  fPanel->SetFocusOn(nullptr, kFocusNone);
  Activate(false);
  Unlock();
}

void OVA_Window::DateToClipboard()
{
  const std::string text = LocalTimeText(" %Y/%m/%d %H:%M", PanelTime());
  printf("2clip: '%s'\n", text.c_str());

  if (be_clipboard->IsLocked()) {
    auto* alert = new BAlert("err", "Clipbord is Locked.. oops\n", " Autch ");
    alert->SetShortcut(0, B_ENTER);
    alert->Go();
    be_clipboard->Unlock();
  }
  if (!be_clipboard->Lock())
    return;
  be_clipboard->Clear();
  if (BMessage* data = be_clipboard->Data()) {
    data->AddData("text/plain", B_MIME_TYPE, text.data(), ssize_t(text.size()));
    be_clipboard->Commit();
  }
  be_clipboard->Unlock();
}

void OVA_Window::SetSettings(BMessage* message)
{
  if (!message)
    return;
  const int32 id = message->GetInt32("m_id", -1);
  printf("     m_idValue: %ld\n", long(id));

  bool resize = false;
  switch (id) {
  case 0:
    fPrefs->fTriplePreview = !fPrefs->fTriplePreview;
    fSettings->triplePreview->SetMarked(fPrefs->fTriplePreview);
    resize = true;
    break;
  case 1:
    fPrefs->fShowExpand = !fPrefs->fShowExpand;
    fSettings->expand->SetMarked(fPrefs->fShowExpand);
    resize = true;
    break;
  case 2:
    fPrefs->fWindowTab = !fPrefs->fWindowTab;
    fSettings->windowTab->SetMarked(fPrefs->fWindowTab);
    SetLook(fPrefs->fWindowTab ? B_FLOATING_WINDOW_LOOK : B_BORDERED_WINDOW_LOOK);
    break;
  case 5:
    fPrefs->fTimeStyle = !fPrefs->fTimeStyle;
    fSettings->amPm->SetMarked(fPrefs->fTimeStyle);
    Lock();
    fPanel->SetAmTimeMode(fPrefs->fTimeStyle);
    if (fTimeView) {
      fTimeView->SetTwelveHour(fPrefs->fTimeStyle);
      fTimeView->SetTime(PanelHourOfDay(), fPanel->MinuteField()->value);
    }
    Unlock();
    break;
  case 7:
    ResetMDateView(nullptr);
    UpdateMonViews();
    break;
  case 10:
    printf(" -quit");
    PostMessage(B_QUIT_REQUESTED);
    break;
  default:
    break;
  }

  if (resize) {
    const float width = fPrefs->fShowExpand && fPrefs->fTriplePreview ? MAX_W : MIN_W;
    const float height = fPrefs->fShowExpand ? MAX_H : MIN_H;
    Lock();
    ResizeTo(width, height);
    AddMonViews();
    Unlock();
  }

  fPrefs->Save();
  printf("expand:%d | tripleView:%d | evnt resize? ", fPrefs->fShowExpand, fPrefs->fTriplePreview);
  printf("\n");
  fMenuField->MakeFocus(false);
}

void OVA_Window::OpenMarkDaysFile()
{
  BPath home;
  find_directory(B_USER_DIRECTORY, &home);
  const std::string path = std::string(home.Path()) + "/people/MarkDays";
  // The desktop's file manager opens the file; the path is one argument,
  // never part of a shell command.
  printf("[open][xdg-open %s]\n", path.c_str());
  if (!StartDetached("xdg-open", {path}))
    printf(" oops: couldn't execute \n");
}

void OVA_Window::ReloadMarkDays()
{
  if (!fMarkups)
    return;
  fMarkups->ClearList();
  fMarkups->LoadHolidays(nullptr);
  LookForVEvents();
  LookForCalendars(nullptr);
  fMarkups->CheckHolidays();
  fMarkups->ShowInfo();
  fSettings->LabelKindItems(*fMarkups);
  UpdateMonViews();
}

void OVA_Window::ShowKind(bool* shown, BMenuItem* item)
{
  *shown = !*shown;
  if (item)
    item->SetMarked(*shown);
  fPrefs->Save();
  if (fMarkups) {
    fMarkups->CheckHolidays();
    UpdateMonViews();
  }
}

void OVA_Window::SetHtmlMode(int32 mode)
{
  fPrefs->fHtmlModus = mode;
  printf(" HtmModus = %ld \n", long(mode));
  fSettings->MarkHtmlMode(mode);
  if (fMainMon)
    fMainMon->HtmCalendar();
  else if (mode == 1)
    DoError("please expand View..");
}

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
  if (year < 1903 || year > 2036) {
    year = fPrefs->fCurYear;
    printf(" FIX C\n");
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
  view->exporter = HtmCalendar;
  fBackground->AddChild(view);
  return view;
}

void OVA_Window::AddMonViews()
{
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
  // The clock is redrawn with the time; while it shows, the grids wait.
  if (fTimeView)
    fTimeView->SetTime(PanelHourOfDay(), fPanel->MinuteField()->value);
  if (focusKind == kTimeFocus)
    return;

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
