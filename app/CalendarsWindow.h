// The small window of the settings menu's "Calendars..." item: the user's
// calendar sources with the state of each, a Refresh and a Remove button
// for each, and below them the fields to add one. An address is first
// looked at: a feed is added at once; a CalDAV server lists its calendars
// with their colours, ticked, and "Show" adds the source with the ticked
// ones. A source that needs a password the keyring does not hold gets a
// password field of its own.
//
//   auto* window = new CalendarsWindow(sync, [this] { fCalendarsWindow = nullptr; });
//   window->Show();
//   window->Update();                       // the sources' states changed
//   window->AskPassword(source);            // no keyring: ask once
//
// Every text is a label: Relabel takes them again after a language change.
#pragma once

#include "platform/interface/BWindow.h"
#include "sync/CalendarSync.h"

#include <functional>
#include <string>
#include <vector>

class BButton;
class BCheckBox;
class BStringView;
class BTextControl;
class BView;

class CalendarsWindow : public BWindow {
public:
  // `gone` runs when the window closes. The window uses `sync` and must be
  // closed before it goes.
  CalendarsWindow(CalendarSync* sync, std::function<void()> gone);
  ~CalendarsWindow() override;

  void MessageReceived(BMessage* message) override;

  // The sources and their states as they are now.
  void Update();
  // An address the user added was looked at.
  void Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& calendars, const SyncFailure& failure);
  // A password field for the source.
  void AskPassword(const CalendarSource& source);
  void Relabel();

  // Test hooks: the fields and the texts shown.
  BTextControl* AddressField() const { return fAddress; }
  BTextControl* KindField() const { return fKind; }
  BTextControl* UserField() const { return fUser; }
  BTextControl* PasswordField() const { return fPassword; }
  BTextControl* MinutesField() const { return fMinutes; }
  std::vector<std::string> RowTexts() const;
  const char* StatusText() const;
  int32 CountFound() const { return int32(fFound.size()); }

private:
  struct Found {
    RemoteCalendar calendar;
    BView* swatch;  // its colour
    BCheckBox* box;
  };

  void AddAddress();
  void ShowPicked();
  void SetStatus(const std::string& text);
  // Widths of the fields' labels for the current language.
  void PlaceLabels();
  // Places the rows, the add fields, the found calendars and sizes the window.
  void Arrange();
  void ClearFound();
  // Makes the rows anew when sources came or went or a password field
  // appears or goes; else only their texts change, and what is typed stays.
  void BuildRows();

  CalendarSync* fSync;
  std::function<void()> fGone;
  BView* fBackground = nullptr;
  BView* fRows = nullptr;        // one line for each source
  BView* fAdd = nullptr;         // the fields to add a source
  BTextControl* fAddress = nullptr;
  BTextControl* fKind = nullptr;
  BTextControl* fUser = nullptr;
  BTextControl* fPassword = nullptr;
  BTextControl* fMinutes = nullptr;
  BButton* fAddButton = nullptr;
  BStringView* fStatus = nullptr;
  BButton* fShowButton = nullptr;
  std::vector<Found> fFound;     // the calendars of the server being added
  CalendarSource fAdding;        // the source being added
  std::string fAddingPassword;
  std::vector<std::string> fAsking;  // sources whose password field shows
  std::string fRowsShape;            // the sources and password fields the rows show
};
