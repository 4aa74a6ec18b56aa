// AskOrvel's window: an "Ask Date" and an "Ask Time" button and three text
// lines. A button makes sure Orvella runs, broadcasts a '_KXT' request
// (docs/ipc.md) preset to 15 April 2008, 09:30 and stays disabled until the
// answer comes; the answered date ("rdate") or time ("rtime"), or a
// broadcast answer ("bcSv"), is then shown. Its language menu (top right)
// switches its labels and, through the 'kxCL' broadcast, those of Orvella;
// a language chosen in Orvella switches AskOrvel's labels the same way.
//
// The button cycle: idle (both enabled, askMode 0) -> request sent (the
// pressed button disabled, askMode 1 or 2) -> a send answer with a time
// (text shown, button enabled, askMode 0) or a cancel answer carrying the
// button's address as "_resetPtr" (button enabled, askMode unchanged).
// While a request waits the window watches Orvella's bus name: when
// Orvella quits without answering, the button comes back and the asked
// line says so.
//
// Test hook: with ORVELLA_TEST_TRACE set in the environment, the window
// writes its ask mode, which buttons are enabled and its three text lines
// after every answer it evaluates, and its button labels at start and after
// every language change, so tests that run the real program can read what
// the user sees.
#pragma once

#include "platform/interface/BWindow.h"
#include "platform/messaging/BMessageRunner.h"

#include <memory>

class BButton;
class BMenuField;
class BStringView;
class KXLangMenu;
class BView;

// The signature the main program's file declares; the client looks for a
// running main program under it.
inline constexpr const char* kOrvellanSignature = "application/x-vnd.KX-Orvellan";
// The file name of the main program.
inline constexpr const char* kOrvellaProgramName = "Orvella";

class ask_Window : public BWindow {
public:
  explicit ask_Window(BRect frame);
  ~ask_Window() override;

  void MessageReceived(BMessage* message) override;

  // Evaluates answers ('_KXT') and language changes ("_LangFilePath"),
  // which relabel the window.
  virtual void CheckMessage(BMessage* message);
  // Broadcasts a request for a date, or for a time only.
  virtual void AskOrvel(bool timeOnly);
  // Starts Orvella unless it runs, then waits 100 ms for it.
  virtual void RunOrvel();

  // 0 nothing asked, 1 a date asked, 2 a time asked.
  int32 AskMode() const { return askMode; }
  KXLangMenu* LangMenu() const { return fLangMenu; }

private:
  // One look at Orvella's bus name while a request waits.
  void WatchOrvella();
  void TraceTexts() const;
  void TraceLabels() const;

  int32 askMode = 0;
  BView* bView = nullptr;
  BButton* askDate = nullptr;
  BButton* askTime = nullptr;
  BStringView* rdate = nullptr;
  BStringView* rtime = nullptr;
  BStringView* bcSv = nullptr;
  KXLangMenu* fLangMenu = nullptr; // owned by its menu field
  std::unique_ptr<BMessageRunner> fWatch; // while a request waits
  BMessenger fAsked;                      // the Orvella asked
};
