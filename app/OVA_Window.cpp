#include "app/OVA_Window.h"

#include "app/DoError.h"
#include "app/PickedTime.h"
#include "calendar/Labels.h"
#include "calendar/LocalTime.h"
#include "controls/TDView.h"
#include "marks/CalendarFolder.h"
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
  fSettings = std::make_unique<SettingsMenu>(*fPrefs, fMarkups);

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
}

OVA_Window::~OVA_Window()
{
  if (fPrefs) {
    fPrefs->fWinRect = Frame();
    fPrefs->SaveWin();
    fPrefs->DeleteMe();
    fPrefs = nullptr;
  }
  if (fPanel) {
    fPanel->RemoveSelf();
    delete fPanel;
    fPanel = nullptr;
  }
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
    // The main month view highlights the panel's day once month views exist.
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
  if (localtime_r(&shown, &local) == nullptr) {
    // A preset beyond what the calendar can show counts as no preset.
    const time_t zero = 0;
    localtime_r(&zero, &local);
  }
  char text[32];
  if (strftime(text, sizeof text, "%Y/%m/%d %H:%M", &local) == 0)
    text[0] = '\0';

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
  fPanel = new TDView(text, ".start", 0, true, timeOnly);
  fBackground->AddChild(fPanel);

  std::string label = getLabel(1);
  if (request) {
    const char* okName = nullptr;
    if (request->FindString("_okName", &okName) == B_OK)
      label = okName;
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
  // FIXME: the main month view writes the HTML pages here once it exists.
  if (mode == 1)
    DoError("please expand View..");
}

void OVA_Window::SetFocusTo(BMessage* message)
{
  if (!message)
    return;
  const int32 kind = message->GetInt32("_foctyp", focusKind);
  if (kind != focusKind) {
    focusKind = kind;
    UpdateMonViews();
  }
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
  if (part == 2) {
    if (fPanel->IsAmTimeMode()) {
      const bool afternoon = hour >= 12;
      if (afternoon)
        hour -= 12;
      fPrefs->fHalfDay = afternoon ? 2 : 1;
      fPanel->AmPmField()->SetValue(fPrefs->fHalfDay);
    } else {
      // The clock reads the half of the day the other way round in
      // 24-hour entry.
      fPrefs->fHalfDay = hour < 12 ? 2 : 1;
    }
  }
  // FIXME: the clock takes the half of the day and redraws here.
  if (part == 2)
    fPanel->HourField()->SetValue(hour);
  else if (part == 1)
    fPanel->MinuteField()->SetValue(minute);
  Unlock();
}

void OVA_Window::AddMonViews()
{
  if (!fPrefs->fShowExpand) {
    printf(" ** AMV !expand\n");
    return;
  }
  // FIXME: the month views and the clock are placed below the panel here.
  SetFocusTo(nullptr);
  UpdateMonViews();
}

void OVA_Window::UpdateMonViews()
{
  if (!fPanel) {
    printf(" ** vi==NULL\n");
    return;
  }
  if (!fPrefs->fShowExpand)
    return;
  // FIXME: the clock and the month views follow the panel here.
}
