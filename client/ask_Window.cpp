#include "client/ask_Window.h"

#include "calendar/LocalTime.h"
#include "client/ActivationField.h"
#include "client/AskBoundary.h"
#include "client/AskLabels.h"
#include "client/ProgramFile.h"
#include "locale/KXLangMenu.h"
#include "platform/interface/BMenuField.h"
#include "platform/messaging/BApplication.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BRoster.h"
#include "platform/interface/BStringView.h"
#include "platform/interface/InterfaceDefs.h"
#include "platform/messaging/Launch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

constexpr uint32 kWatchOrvella = 'AsWa';
constexpr bigtime_t kWatchInterval = 500000;

// The time every request asks to show first: 15 April 2008, 09:30:00
// local time.
time_t PresetTime()
{
  return LocalInstant(2008, 4, 15, 9, 30);
}

BStringView* AddTextLine(BView* parent, BRect frame, const char* name)
{
  auto* line = new BStringView(frame, name, "...", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP);
  const rgb_color shade = tint_color(parent->ViewColor(), B_DARKEN_1_TINT);
  line->SetViewColor(shade);
  line->SetLowColor(shade);
  line->SetFont(be_bold_font);
  parent->AddChild(line);
  return line;
}

BButton* AddAskButton(BView* parent, BRect frame, const char* name, const char* label, uint32 command,
                      BWindow* window)
{
  auto* button = new BButton(frame, name, label, new BMessage(command), B_FOLLOW_TOP | B_FOLLOW_RIGHT);
  button->SetFontSize(11);
  parent->AddChild(button);
  button->SetTarget(window);
  button->ResizeTo(100, 22);
  return button;
}

} // namespace

ask_Window::ask_Window(BRect frame)
    : BWindow(frame, "AskOrvel", B_TITLED_WINDOW, B_QUIT_ON_WINDOW_CLOSE)
{
  SetSizeLimits(300, 350, 76, 200);
  askMode = 0;
  Bounds().PrintToStream();
  fLangMenu = new KXLangMenu("Language", "AskOrvel");
  fLangMenu->StartWith(aLabel);

  const float r = Bounds().right;
  bView = new BView(Bounds(), "bView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
  bView->SetViewColor(240, 240, 240);
  bView->SetFontSize(11);
  AddChild(bView);

  askDate = AddAskButton(bView, BRect(20, 16, 120, 40), "askb", AskLabel(kAskDateLabel), '_ASK', this);
  rdate = AddTextLine(bView, BRect(10, 45, r - 10, 65), "rdate");
  askTime = AddAskButton(bView, BRect(20, 76, 120, 100), "askt", AskLabel(kAskTimeLabel), '_AST', this);
  rtime = AddTextLine(bView, BRect(10, 105, r - 10, 125), "rtime");
  bcSv = AddTextLine(bView, BRect(10, 145, r - 10, 160), "bcSv");
  bcSv->SetAlignment(B_ALIGN_CENTER);

  // The language menu in the free corner right of "Ask Date".
  auto* languages = new BMenuField(BRect(r - 100, 16, r - 20, 38), "lang", "", fLangMenu,
                                   B_FOLLOW_TOP | B_FOLLOW_RIGHT);
  languages->SetDivider(0);
  languages->SetFontSize(11);
  bView->AddChild(languages);

  TraceLabels();
  RunOrvel();
}

ask_Window::~ask_Window() = default;

void ask_Window::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_ASK':
    AskOrvel(false);
    break;
  case '_AST':
    AskOrvel(true);
    break;
  case '_KXT':
    CheckMessage(message);
    break;
  case kWatchOrvella:
    WatchOrvella();
    break;
  case 'kxCL':
    if (fLangMenu)
      CheckMessage(message);
    break;
  case 'RFID':
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
    message->PrintToStream();
    break;
  default:
    BWindow::MessageReceived(message);
    break;
  }
}

void ask_Window::RunOrvel()
{
  if (be_roster->IsRunning(kOrvellanSignature)) {
    printf(" is running, return\n");
    return;
  }
  const std::string program = FindProgramFile(kOrvellaProgramName, ExecutableFolder(), getenv("PATH"));
  if (program.empty()) {
    printf("App not found :( \n");
    return;
  }
  printf("App found :) \n");
  // A running Orvella takes the second start over and the new process ends.
  if (!StartDetached(program))
    printf("App not started: %s\n", program.c_str());
  usleep(100000);
}

void ask_Window::AskOrvel(bool timeOnly)
{
  RunOrvel();
  Lock();
  BMessage request('_KXT');
  request.AddMessenger(">NewTarget", BMessenger(this));
  app_info info;
  if (be_app != nullptr && be_app->GetAppInfo(&info) == B_OK)
    request.AddString("_tar_signature_", info.signature);
  request.AddBool("_ask", true);
  request.AddBool("_onlyTime", timeOnly);
  request.AddInt64("_presetTime", int64(PresetTime()));
  request.AddPointer("_itor", nullptr);

  // The asking button's address tags the request; a cancel answer brings
  // it back as "_resetPtr".
  BButton* asking = timeOnly ? askTime : askDate;
  BButton* other = timeOnly ? askDate : askTime;
  askMode = timeOnly ? 2 : 1;
  request.ReplacePointer("_itor", asking);
  if (asking->IsEnabled())
    asking->SetEnabled(false);
  if (!other->IsEnabled())
    other->SetEnabled(true);
  request.AddString("_okName", AskLabel(timeOnly ? kGetTimeLabel : kGetDateLabel));
  AddActivationToken(&request);
  fAsked = BMessenger(kOrvellaSignature);
  BMessage watch(kWatchOrvella);
  fWatch = std::make_unique<BMessageRunner>(BMessenger(this), &watch, kWatchInterval);
  Unlock();

  be_roster->Broadcast(&request);
}

void ask_Window::WatchOrvella()
{
  // A cancel answer gives the button back and leaves askMode as it is.
  BButton* asking = askMode == 2 ? askTime : askDate;
  if (askMode == 0 || asking->IsEnabled()) {
    fWatch.reset();
    return;
  }
  // Orvella may still be starting when the request goes out: the first
  // one seen is taken for the one asked. It has quit when its name has
  // another owner or none, even if an Orvella started since has taken it.
  const BMessenger orvella(kOrvellaSignature);
  if (fAsked == BMessenger())
    fAsked = orvella;
  if (orvella == fAsked)
    return;
  printf("ask Win: Orvella quit before answering\n");
  Lock();
  BStringView* line = askMode == 2 ? rtime : rdate;
  line->SetText(AskLabel(kOrvellaQuitLabel));
  asking->SetEnabled(true);
  askMode = 0;
  Unlock();
  fWatch.reset();
  TraceTexts();
}

void ask_Window::CheckMessage(BMessage* message)
{
  if (message == nullptr)
    return;

  const char* langFilePath = nullptr;
  if (message->FindString("_LangFilePath", &langFilePath) == B_OK) {
    const bool relabel = fLangMenu && fLangMenu->TakeLanguage(message, aLabel);
    Lock();
    if (relabel) {
      askDate->SetLabel(AskLabel(kAskDateLabel));
      askTime->SetLabel(AskLabel(kAskTimeLabel));
    }
    const char* slash = strrchr(langFilePath, '/');
    bcSv->SetText(slash != nullptr ? slash + 1 : langFilePath);
    Unlock();
    if (relabel)
      TraceLabels();
    return;
  }
  if (message->HasBool("_ask")) {
    printf("ask Win: ..selbst abgesetzt\n");
    return;
  }

  printf("..answer ");
  const int32 kind = message->GetInt32(">stype", 5);
  int64 answered = 0;
  const bool hasTime = message->FindInt64(">time", &answered) == B_OK;
  const time_t when = time_t(answered);
  // A time beyond the calendar gives an empty line, label and all.
  std::string broadcastText = LocalTimeText("%Y/%m/%d %H:%M", when);
  if (!broadcastText.empty())
    broadcastText += std::string(" (") + AskLabel(kBroadcastLabel) + ")";

  Lock();
  if (kind == 1 && hasTime) {
    if (askMode == 1) {
      rdate->SetText(LocalTimeText(" %Y/%m/%d %H:%M", when).c_str());
      askDate->SetEnabled(true);
      askMode = 0;
    } else if (askMode == 2) {
      rtime->SetText(LocalTimeText(" %H:%M", when).c_str());
      askTime->SetEnabled(true);
      askMode = 0;
    }
  }
  if (kind < 0)
    bcSv->SetText(broadcastText.c_str());

  // Only compared with the buttons' addresses, never followed.
  const void* reset = message->GetPointer("_resetPtr", nullptr);
  if (reset == askDate) {
    askDate->SetEnabled(true);
    Activate(true);
  }
  if (reset == askTime) {
    askTime->SetEnabled(true);
    Activate(true);
  }
  Unlock();
  TraceTexts();
}

void ask_Window::TraceTexts() const
{
  if (getenv("ORVELLA_TEST_TRACE") == nullptr)
    return;
  printf("\nshown: askMode=%d askb=%d askt=%d rdate='%s' rtime='%s' bcSv='%s'\n", int(askMode),
         askDate->IsEnabled() ? 1 : 0, askTime->IsEnabled() ? 1 : 0, rdate->Text(), rtime->Text(), bcSv->Text());
}

void ask_Window::TraceLabels() const
{
  if (getenv("ORVELLA_TEST_TRACE") == nullptr)
    return;
  printf("\nlabels: askb='%s' askt='%s'\n", askDate->Label(), askTime->Label());
}
