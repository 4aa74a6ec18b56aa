// A modal alert: a title, a text and up to three buttons. Go() shows it,
// waits until a button is pressed and returns that button's index (0 is the
// leftmost); it deletes the alert, which must have been made with new.
//
//   auto* alert = new BAlert("err", "Clipbord is Locked.. oops\n", " Autch ");
//   alert->SetShortcut(0, B_ENTER);
//   alert->Go();
//
// Tests answer alerts without a person: after SetAutoAnswer(i), Go() returns
// i at once and records the alert's title and text.
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>
#include <vector>

enum alert_type { B_EMPTY_ALERT, B_INFO_ALERT, B_IDEA_ALERT, B_WARNING_ALERT, B_STOP_ALERT };
enum button_width { B_WIDTH_AS_USUAL, B_WIDTH_FROM_WIDEST, B_WIDTH_FROM_LABEL };

class BAlert {
public:
  BAlert(const char* title, const char* text, const char* button0, const char* button1 = nullptr,
         const char* button2 = nullptr, button_width width = B_WIDTH_AS_USUAL, alert_type type = B_INFO_ALERT);
  ~BAlert();
  BAlert(const BAlert&) = delete;
  BAlert& operator=(const BAlert&) = delete;

  // A key that presses the button: B_ENTER, B_ESCAPE or a character.
  void SetShortcut(int32 index, char key);
  char Shortcut(int32 index) const;
  int32 CountButtons() const { return int32(fButtons.size()); }

  // Shows the alert and deletes it. The pressed button's index, or -1 when
  // the alert was closed otherwise or could not be shown.
  int32 Go();

  // Test hook: answers every later Go() with `index` (-1 turns it off).
  static void SetAutoAnswer(int32 index);
  static int32 AutoAnsweredCount();
  static const std::string& LastTitle();
  static const std::string& LastText();

private:
  int32 Show();

  std::string fTitle;
  std::string fText;
  std::vector<std::string> fButtons;
  std::vector<char> fShortcuts;
  alert_type fType;
};
