// Label texts by number. Every text the program shows is asked for by its
// number; the built-in English table eLabel answers until a dictionary
// installs itself as the label source.
//
//   button->SetLabel(getLabel(2));   // "Cancel", or its translation
//   SetLabelSource(DictionaryText);   // const char* DictionaryText(int)
#pragma once

// Numbers 0..99 are labels; eLabel also holds "100" and a closing null.
constexpr int kLabelCount = 100;

// Built-in texts: 0 is the program's name, 75..86 the months ("Jan."),
// 91..97 the weekdays from Sunday ("Su"), 88/89 "AM"/"PM".
extern const char* const eLabel[kLabelCount + 2];

// Labels that screen readers read: whole month and weekday names, the
// names of the panel's fields and of the clock, and the words that
// describe a day.
enum : int {
  kLabelToday = 22,
  kLabelHoliday = 23,
  kLabelUserDay = 24,
  kLabelEvent = 25,
  kLabelAmPmField = 26,
  kLabelJanuary = 44,  // to December, 55
  kLabelSunday = 56,   // to Saturday, 62
  kLabelYear = 63,
  kLabelMonth = 64,
  kLabelDay = 65,
  kLabelHour = 66,
  kLabelMinute = 67,
  kLabelClock = 68,
  kLabelSettings = 69,
};

// A label source answers a number 1..99 with its text, or null to fall
// back on eLabel. The text must stay valid until the source changes it.
typedef const char* (*LabelSource)(int number);

// Installs the source getLabel asks (null removes it).
void SetLabelSource(LabelSource source);

// The label text of a number; 0, negative numbers and numbers above 99
// give the program's name.
const char* getLabel(int number);
