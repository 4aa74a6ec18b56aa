// The request cycle: a request presets the panel; OK, Cancel and Broadcast
// answer it; "Clip" puts the panel's date and time on the clipboard.
#include "app/OVA_Window.h"

#include "app/PanelFocus.h"
#include "app/PickedTime.h"
#include "calendar/Labels.h"
#include "calendar/LocalTime.h"
#include "calendar/Utf8Text.h"
#include "controls/TDView.h"
#include "marks/STMarkups.h"
#include "platform/interface/BAlert.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BClipboard.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BRoster.h"
#include "settings/Prefs.h"

#include <cstdio>
#include <string>

namespace {

// Longest "_okName" shown on the send button; a longer one is cut.
constexpr size_t kOkNameMaxBytes = 64;

} // namespace

void OVA_Window::AcceptRequest(BMessage* request)
{
  if (!request->HasBool("_ask"))
    return;
  if (replyTarget != selfMessenger) {
    // The waiting requester learns that its request was displaced.
    SendDateTimeMessage(0, true);
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

  // OK and Cancel are enabled exactly while a requester waits; a panel
  // rebuilt while one waits (Today-Now) keeps the requester's OK text.
  const bool waiting = request != nullptr || IsWaitingForAnswer();
  std::string label = getLabel(1);
  if (request) {
    const char* okName = nullptr;
    if (request->FindString("_okName", &okName) == B_OK)
      label = FirstBytes(okName, kOkNameMaxBytes);
    label = "> " + label;
  } else if (waiting && fPanel) {
    label = fPanel->OkButton()->Label();
  }

  if (fPanel) {
    fPanel->RemoveSelf();
    delete fPanel;
  }
  fPanel = new TDView(local, ".start", 0, true, timeOnly);
  fBackground->AddChild(fPanel);
  fPanel->HasTarget(waiting);
  fPanel->OkButton()->SetLabel(label.c_str());
  fPanel->SetAmTimeMode(fPrefs->fTimeStyle);

  // The window learns which field the new panel marks, so that the clock
  // or the month shows for it, and the grids and the clock take the
  // panel's date and time.
  if (request) {
    fPanel->SetFocusOn(nullptr, timeOnly ? kFocusHour : kFocusDay);
    // The requester's token lets a Wayland compositor hand this window the
    // focus it asks for.
    ActivateFor(request->GetString("_activationToken", nullptr));
  } else {
    fPanel->SetFocusOn(nullptr, kFocusDay);
  }
  UpdateMonViews();
  Unlock();
}

time_t OVA_Window::PanelTime() const
{
  PickedDate pick{1, 1, 1, 1, 1};
  fPanel->GetDTValues(pick.year, pick.month, pick.day, pick.hour, pick.minute);
  const TDStringView* half = fPanel->AmPmField();
  return ::PickedTime(pick, fPanel->IsAmTimeMode(), half ? half->value : 1);
}

void OVA_Window::SendDateTimeMessage(int32 kind, bool displaced)
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
    if (displaced)
      answer.AddBool(">displaced", true);
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
