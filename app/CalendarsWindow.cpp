#include "app/CalendarsWindow.h"

#include "app/SourceStateText.h"
#include "calendar/Labels.h"
#include "platform/interface/BButton.h"
#include "platform/interface/BCheckBox.h"
#include "platform/interface/BStringView.h"
#include "platform/interface/BTextControl.h"
#include "platform/interface/BView.h"
#include "platform/messaging/BMessage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr float kWidth = 480;
constexpr float kMargin = 10;
constexpr float kRowHeight = 28;
constexpr float kAddHeight = 112;

// Commands of the window's own buttons and fields.
enum : uint32 {
  kRefresh = 'cRFS',
  kRemove = 'cRMV',
  kAdd = 'cADD',
  kShow = 'cSHW',
  kPassword = 'cPWD',
};

BMessage* ForSource(uint32 what, const std::string& id)
{
  auto* message = new BMessage(what);
  message->AddString("id", id.c_str());
  return message;
}

// "#RRGGBB" or "#RRGGBBAA" as the server gives it; grey for anything else.
rgb_color ColorOf(const std::string& text)
{
  if (text.size() < 7 || text[0] != '#' || text.find_first_not_of("0123456789abcdefABCDEF", 1) < 7)
    return rgb_color{160, 160, 160, 255};
  const long rgb = strtol(text.substr(1, 6).c_str(), nullptr, 16);
  return rgb_color{uint8(rgb >> 16), uint8(rgb >> 8), uint8(rgb), 255};
}

void Trace(const char* format, const std::string& text)
{
  if (getenv("ORVELLA_TEST_TRACE") != nullptr)
    printf(format, text.c_str());
}

} // namespace

CalendarsWindow::CalendarsWindow(CalendarSync* sync, std::function<void()> gone)
    : BWindow(BRect(160, 160, 160 + kWidth, 360), getLabel(45), B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
      fSync(sync), fGone(std::move(gone))
{
  fBackground = new BView(Bounds(), "calendars", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
  fBackground->SetViewColor(232, 232, 232);
  AddChild(fBackground);
  fRows = new BView(BRect(kMargin, kMargin, kWidth - kMargin, kMargin + kRowHeight), "rows", B_FOLLOW_LEFT, B_WILL_DRAW);
  fRows->SetViewColor(232, 232, 232);
  fBackground->AddChild(fRows);

  const float inner = kWidth - 2 * kMargin;
  fAdd = new BView(BRect(kMargin, 0, kWidth - kMargin, kAddHeight), "add", B_FOLLOW_LEFT, B_WILL_DRAW);
  fAdd->SetViewColor(232, 232, 232);
  fBackground->AddChild(fAdd);
  fAddress = new BTextControl(BRect(0, 0, inner - 1, 23), "address", getLabel(46), "", new BMessage(kAdd));
  fKind = new BTextControl(BRect(0, 28, 149, 51), "kind", getLabel(47), "events", new BMessage(kAdd));
  fUser = new BTextControl(BRect(155, 28, 304, 51), "user", getLabel(48), "", new BMessage(kAdd));
  fMinutes = new BTextControl(BRect(310, 28, inner - 1, 51), "minutes", getLabel(74),
                              std::to_string(kDefaultRefreshMinutes).c_str(), new BMessage(kAdd));
  fPassword = new BTextControl(BRect(0, 56, 304, 79), "password", getLabel(49), "", new BMessage(kAdd));
  fPassword->HideTyping(true);
  fAddButton = new BButton(BRect(310, 56, inner - 1, 79), "add", getLabel(50), new BMessage(kAdd));
  fStatus = new BStringView(BRect(0, 84, inner - 1, 105), "status", "");
  for (BView* view : std::initializer_list<BView*>{fAddress, fKind, fUser, fMinutes, fPassword, fAddButton, fStatus})
    fAdd->AddChild(view);
  PlaceLabels();
  fShowButton = new BButton(BRect(0, 0, 120, 23), "show", getLabel(53), new BMessage(kShow));
  fBackground->AddChild(fShowButton);
  fShowButton->Hide();
  Update();
  fAddress->MakeFocus(true);
}

CalendarsWindow::~CalendarsWindow()
{
  std::fill(fAddingPassword.begin(), fAddingPassword.end(), '\0');
  if (fGone)
    fGone();
}

void CalendarsWindow::MessageReceived(BMessage* message)
{
  const char* id = nullptr;
  message->FindString("id", &id);
  switch (message->what) {
  case kRefresh:
    if (id != nullptr)
      fSync->SyncNow(id);
    break;
  case kRemove: {
    std::string error;
    if (id != nullptr && !fSync->Remove(id, &error))
      SetStatus(error);
    break;
  }
  case kAdd:
    AddAddress();
    break;
  case kShow:
    ShowPicked();
    break;
  case kPassword:
    if (id != nullptr) {
      if (auto* field = dynamic_cast<BTextControl*>(fRows->FindView((std::string("password ") + id).c_str()))) {
        fSync->GivePassword(id, field->Text());
        field->SetText("");
      }
      fAsking.erase(std::remove(fAsking.begin(), fAsking.end(), std::string(id)), fAsking.end());
      Update();
    }
    break;
  default:
    BWindow::MessageReceived(message);
    break;
  }
}

void CalendarsWindow::SetStatus(const std::string& text)
{
  fStatus->SetText(text.c_str());
  Trace("Calendars window status: %s\n", text);
}

const char* CalendarsWindow::StatusText() const
{
  return fStatus->Text();
}

void CalendarsWindow::AddAddress()
{
  CalendarSource source;
  source.url = fAddress->Text();
  source.kind = fKind->Text().empty() ? "events" : fKind->Text();
  source.user = fUser->Text();
  // Minutes that are no number leave the default.
  const std::string minutes = fMinutes->Text();
  char* end = nullptr;
  const long refresh = strtol(minutes.c_str(), &end, 10);
  if (end != minutes.c_str())
    source.refreshMinutes = int32(std::clamp<long>(refresh, kMinRefreshMinutes, kMaxRefreshMinutes));
  std::string reason;
  if (!CheckSourceAddress(source.url, source.user, &reason)) {
    SetStatus(reason);
    return;
  }
  ClearFound();
  fAdding = source;
  std::fill(fAddingPassword.begin(), fAddingPassword.end(), '\0');
  fAddingPassword = fPassword->Text();
  fPassword->SetText("");
  SetStatus(getLabel(54));
  fAddButton->SetEnabled(false);
  fSync->Probe(source, fAddingPassword);
}

void CalendarsWindow::Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& calendars,
                             const SyncFailure& failure)
{
  if (source.Id() != fAdding.Id())
    return;
  fAddButton->SetEnabled(true);
  if (failure.Failed()) {
    SourceState state;
    state.status = failure.status;
    SetStatus(SourceStateText(state, false, time(nullptr)) + ": " + failure.detail);
    return;
  }
  fAdding = source;
  if (source.type == CalendarSource::kFeed) {
    std::string error;
    SetStatus(fSync->Add(fAdding, fAddingPassword, &error) ? std::string() : error);
    fAddress->SetText("");
    return;
  }
  SetStatus("");
  const float inner = kWidth - 2 * kMargin;
  for (const RemoteCalendar& calendar : calendars) {
    auto* swatch = new BView(BRect(0, 0, 13, 13), "swatch", B_FOLLOW_LEFT, B_WILL_DRAW);
    swatch->SetViewColor(ColorOf(calendar.color));
    auto* box = new BCheckBox(BRect(0, 0, inner - 24, 21), calendar.href.c_str(), calendar.name.c_str(), nullptr);
    box->SetValue(B_CONTROL_ON);
    fBackground->AddChild(swatch);
    fBackground->AddChild(box);
    fFound.push_back({calendar, swatch, box});
    Trace("Calendars window found: %s\n", calendar.name);
  }
  fShowButton->Show();
  Arrange();
}

void CalendarsWindow::ShowPicked()
{
  std::vector<std::string> picked;
  for (const Found& found : fFound) {
    if (found.box->Value() == B_CONTROL_ON)
      picked.push_back(found.calendar.href);
  }
  if (picked.empty())
    return;
  // All of them ticked: the source shows all, also those added later.
  fAdding.calendars = picked.size() == fFound.size() ? std::vector<std::string>() : picked;
  std::string error;
  SetStatus(fSync->Add(fAdding, fAddingPassword, &error) ? std::string() : error);
  std::fill(fAddingPassword.begin(), fAddingPassword.end(), '\0');
  fAddress->SetText("");
  ClearFound();
}

void CalendarsWindow::ClearFound()
{
  for (const Found& found : fFound) {
    for (BView* view : {found.swatch, static_cast<BView*>(found.box)}) {
      view->RemoveSelf();
      delete view;
    }
  }
  fFound.clear();
  fShowButton->Hide();
  Arrange();
}

void CalendarsWindow::AskPassword(const CalendarSource& source)
{
  if (std::find(fAsking.begin(), fAsking.end(), source.Id()) == fAsking.end())
    fAsking.push_back(source.Id());
  Update();
  // Ready for the password to be typed.
  if (BView* field = fRows->FindView(("password " + source.Id()).c_str()))
    field->MakeFocus(true);
}

void CalendarsWindow::Update()
{
  std::string shape = fSync->KeyringMissing() ? "no keyring;" : ";";
  for (const CalendarSync::Entry& entry : fSync->Entries()) {
    const std::string id = entry.source.Id();
    const bool asking = std::find(fAsking.begin(), fAsking.end(), id) != fAsking.end()
                        || entry.state.status == SyncStatus::kWrongPassword;
    shape += id + (asking ? "+password;" : ";");
  }
  if (shape != fRowsShape) {
    fRowsShape = shape;
    BuildRows();
  }
  const time_t now = time(nullptr);
  for (const CalendarSync::Entry& entry : fSync->Entries()) {
    const std::string id = entry.source.Id();
    const std::string stateText = SourceStateText(entry.state, entry.syncing, now);
    if (auto* name = dynamic_cast<BStringView*>(fRows->FindView(("name " + id).c_str())))
      name->SetText(SourceName(entry).c_str());
    if (auto* state = dynamic_cast<BStringView*>(fRows->FindView(("state " + id).c_str()))) {
      state->SetText(stateText.c_str());
      state->SetToolTip(entry.state.detail.c_str());
    }
    Trace("Calendars window row: %s\n", SourceName(entry) + " | " + stateText);
  }
}

void CalendarsWindow::BuildRows()
{
  while (fRows->CountChildren() > 0) {
    BView* child = fRows->ChildAt(0);
    child->RemoveSelf();
    delete child;
  }
  const float inner = kWidth - 2 * kMargin;
  const float height = kRowHeight - 5;
  float y = 0;
  for (const CalendarSync::Entry& entry : fSync->Entries()) {
    const std::string id = entry.source.Id();
    fRows->AddChild(new BStringView(BRect(0, y, 189, y + height), ("name " + id).c_str(), ""));
    fRows->AddChild(new BStringView(BRect(192, y, 329, y + height), ("state " + id).c_str(), ""));
    fRows->AddChild(new BButton(BRect(332, y, 395, y + height), ("refresh " + id).c_str(), getLabel(52),
                                ForSource(kRefresh, id)));
    fRows->AddChild(new BButton(BRect(398, y, inner - 1, y + height), ("remove " + id).c_str(), getLabel(51),
                                ForSource(kRemove, id)));
    y += kRowHeight;
    if (fRowsShape.find(id + "+password;") != std::string::npos) {
      auto* field = new BTextControl(BRect(0, y, 329, y + height), ("password " + id).c_str(), getLabel(49), "",
                                     ForSource(kPassword, id));
      field->HideTyping(true);
      field->SetDivider(std::max(field->StringWidth(field->Label()) + 8, 50.0f));
      fRows->AddChild(field);
      fRows->AddChild(new BButton(BRect(332, y, inner - 1, y + height), ("give " + id).c_str(), getLabel(1),
                                  ForSource(kPassword, id)));
      y += kRowHeight;
    }
  }
  if (fSync->KeyringMissing()) {
    fRows->AddChild(new BStringView(BRect(0, y, inner - 1, y + height), "no keyring", getLabel(68)));
    y += kRowHeight;
  }
  fRows->ResizeTo(inner - 1, std::max(y, 1.0f) - 1);
  Arrange();
}

void CalendarsWindow::Arrange()
{
  float y = kMargin + fRows->Bounds().Height() + 1 + kMargin;
  fAdd->MoveTo(kMargin, y);
  y += kAddHeight;
  for (const Found& found : fFound) {
    found.swatch->MoveTo(kMargin + 2, y + 4);
    found.box->MoveTo(kMargin + 22, y);
    y += 24;
  }
  if (!fFound.empty()) {
    fShowButton->MoveTo(kMargin, y + 4);
    y += 32;
  }
  ResizeTo(kWidth, y + kMargin);
}

void CalendarsWindow::PlaceLabels()
{
  // The fields of the left column start at one line, whatever the language.
  float left = 0;
  for (BTextControl* field : {fAddress, fKind, fPassword})
    left = std::max(left, field->StringWidth(field->Label()) + 8);
  for (BTextControl* field : {fAddress, fKind, fPassword})
    field->SetDivider(left);
  for (BTextControl* field : {fUser, fMinutes})
    field->SetDivider(field->StringWidth(field->Label()) + 8);
}

void CalendarsWindow::Relabel()
{
  SetTitle(getLabel(45));
  fAddress->SetLabel(getLabel(46));
  fKind->SetLabel(getLabel(47));
  fUser->SetLabel(getLabel(48));
  fMinutes->SetLabel(getLabel(74));
  fPassword->SetLabel(getLabel(49));
  PlaceLabels();
  fAddButton->SetLabel(getLabel(50));
  fShowButton->SetLabel(getLabel(53));
  fRowsShape.clear();
  Update();
}

std::vector<std::string> CalendarsWindow::RowTexts() const
{
  std::vector<std::string> texts;
  const time_t now = time(nullptr);
  for (const CalendarSync::Entry& entry : fSync->Entries())
    texts.push_back(SourceName(entry) + " | " + SourceStateText(entry.state, entry.syncing, now));
  return texts;
}
