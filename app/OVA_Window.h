// Orvella's one window: the date-time entry panel with its "Clip" button,
// which other programs use as a date picker. It accepts '_KXT' requests,
// presets the panel from them, and answers the requester when the user
// presses OK, Cancel or Broadcast; it keeps its frame and switches in the
// settings store.
//
// Expanded, the window shows below the panel one month grid ("tMon") or
// three ("pMon", "tMon", "nMon": the months before, of and after the
// panel's date), and in the main month's place the clock ("tZeit") while an
// hour or minute field has the focus. Grids and clock follow the panel; a
// day or a clock pick goes into the panel.
//
// The request cycle: idle (replyTarget is the window itself, only Broadcast
// enabled) -> a request arrives (panel preset, OK and Cancel enabled,
// window active) -> OK / Cancel / Broadcast answers it -> idle again with
// the panel reset to the current time. A second request while one waits
// first cancels the waiting one.
//
// Labels come from the label table (getLabel). The window's language menu
// loads dictionaries into it; a language chosen there or in another program
// of the family ('kxCL') relabels the whole window at once. The second
// build has no language menu: its labels come from the gettext catalogs.
//
// Keyboard-only use: F6 moves the keys between the panel and the month
// grid, whose keys pick days; F10 and the menu key open the settings menu.
// Keys left in the grid stay there through a request and its answer.
//
// Today's mark follows the clock (TodayWatch): past midnight, after a
// sleep and when the time zone changes, the grids mark the new day, and an
// idle panel that still shows the old one moves on to it.
//
// The user's calendar sources (CalDAV accounts and feeds) are synced in
// the background (sync/CalendarSync.h): their cached marks join the
// registry as soon as they are read, and each sync that changes them
// replaces a source's marks whole. The Calendars window lists and adds them.
//
// The members are defined by concern: construction and dispatch in
// OVA_Window.cpp, the request cycle in OVA_WindowRequest.cpp, the settings
// menu's commands in OVA_WindowCommands.cpp, the grids and the clock in
// OVA_WindowViews.cpp, today following the clock in OVA_WindowToday.cpp,
// the keyboard's way around in OVA_WindowKeys.cpp, the calendar sources in
// OVA_WindowCalendars.cpp.
#pragma once

#include "app/SettingsMenu.h"
#include "app/TodayWatch.h"
#include "platform/messaging/BMessenger.h"
#include "platform/interface/BWindow.h"
#include "sync/CalendarSync.h"

#include <memory>
#include <optional>
#include <utility>

class BButton;
class CalendarWorker;
class BMenuField;
class BView;
class CalendarsWindow;
class KXLangMenu;
class MonView;
class Prefs;
class STMarkups;
class TDView;
class TimeView;

// Window size limits of the three layouts.
inline constexpr float MIN_W = 320;
inline constexpr float MAX_W = 520;
inline constexpr float MIN_H = 76;
inline constexpr float MAX_H = 240;

class OVA_Window : public BWindow, public CalendarSyncListener {
public:
  explicit OVA_Window(BRect frame);
  ~OVA_Window() override;

  void MessageReceived(BMessage* message) override;
  void FrameMoved(BPoint newPosition) override;
  void FrameResized(float newWidth, float newHeight) override;

  virtual void SetSettings(BMessage* message);
  virtual void SetFocusTo(BMessage* message);
  // Rebuilds the entry panel from a request, or for the current time when
  // given null.
  virtual void ResetMDateView(BMessage* request);
  virtual void AddMonViews();
  virtual void UpdateMonViews();
  // A day picked in a month view ('NDAY') or an hour or minute picked on
  // the clock ('CTIM') goes into the panel.
  virtual void UpdateDayView(BMessage* message);
  virtual void UpdateTimeView(BMessage* message);
  // Builds the answer of the given kind (1 send, 0 cancel, -1 broadcast),
  // delivers it and resets the panel. A cancel because a second request
  // came says so in ">displaced".
  virtual void SendDateTimeMessage(int32 kind, bool displaced = false);
  virtual void DateToClipboard();
  // Takes every label shown in the window from the label table again.
  virtual void ReplaceLabel();

  // The calendar sources' news, from their sync.
  void MarksReplaced(SourceMarks marks) override;
  std::vector<int32> YearsWanted() const override;
  void StatesChanged() override;
  void Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& calendars,
              const SyncFailure& failure) override;
  void PasswordWanted(const CalendarSource& source) override;

  TDView* Panel() const { return fPanel; }
  MonView* PreviousMonth() const { return fPrevMon; }
  MonView* MainMonth() const { return fMainMon; }
  MonView* NextMonth() const { return fNextMon; }
  TimeView* Clock() const { return fTimeView; }
  SettingsMenu* Settings() const { return fSettings.get(); }
  BButton* ClipButton() const { return fClipButton; }
  // The language menu; null in the second build, which has none.
  KXLangMenu* LangMenu() const { return fLangMenu; }
  bool IsWaitingForAnswer() const { return replyTarget != selfMessenger; }
  TodayWatch* Today() const { return fTodayWatch.get(); }
  // The user's calendar sources (CalDAV accounts and feeds).
  CalendarSync* Sources() const { return fSources.get(); }
  // The Calendars window while it is open, else null.
  CalendarsWindow* CalendarsWin() const { return fCalendarsWindow; }
  void OpenCalendarsWindow();

private:
  void AcceptRequest(BMessage* request);
  void OpenMarkDaysFile();
  // Reads the marked days again and syncs the calendar sources.
  void ReloadMarkDays();
  // Reads the calendar folder on the calendar worker's thread.
  void ReadCalendars();
  // Takes what the calendar worker has finished and draws the grids again.
  void TakeCalendars();
  // Writes a year's pictures and page once the calendar files' marks of
  // the year are there.
  void ExportWhenReady(int32 year, int32 month);
  // Flips one "days" switch and marks its item.
  void ShowKind(bool* shown, BMenuItem* item);
  void SetHtmlMode(int32 mode);
  // Looks at the clock; a new day moves today's mark, and the idle panel
  // when it still shows the old day.
  void FollowToday();
  // Whether the main month has the keys.
  bool KeysInGrid() const;
  // Gives the keys to the main month, the panel's day field marked as the
  // field it sets; without a month shown, to the day field.
  void GiveKeysToGrid();
  // F6: the keys go from the panel to the month or back to the day field.
  void SwitchKeys();
  // The panel's date and time as seconds since the epoch.
  time_t PanelTime() const;
  // The panel's hour as an hour of the day, 0..23, in either entry mode.
  int32 PanelHourOfDay() const;
  // A month view of the layout, added below the panel.
  MonView* AddMonView(BRect frame, const char* name, int32 year, int32 month, int32 day);
  // Shows the clock for a time field's focus kind, the main month otherwise.
  void ShowClockOrMonth(int32 kind);
  // Test hook: with ORVELLA_TEST_TRACE set, writes the labels the window
  // shows, so that tests of the real program can read its language.
  void TraceLabels() const;

  Prefs* fPrefs = nullptr;
  STMarkups* fMarkups = nullptr;
  BMessenger selfMessenger;
  BMessenger replyTarget;
  void* requestTag = nullptr;
  BView* fBackground = nullptr;
  std::unique_ptr<SettingsMenu> fSettings;
  BMenuField* fMenuField = nullptr;
  TDView* fPanel = nullptr;
  MonView* fPrevMon = nullptr;
  MonView* fMainMon = nullptr;
  MonView* fNextMon = nullptr;
  TimeView* fTimeView = nullptr;
  BButton* fClipButton = nullptr;
  int32 focusKind = 0;
  KXLangMenu* fLangMenu = nullptr; // owned by the settings menu
  std::unique_ptr<CalendarWorker> fCalendars;
  std::optional<std::pair<int32, int32>> fWaitingExport;  // year and month
  std::unique_ptr<TodayWatch> fTodayWatch;
  std::unique_ptr<CalendarSync> fSources;
  CalendarsWindow* fCalendarsWindow = nullptr;  // a window of its own
};
