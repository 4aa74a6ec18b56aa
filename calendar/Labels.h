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
// 91..97 the weekdays from Sunday ("Su"), 88/89 "AM"/"PM", 44..70 and 74
// the Calendars window and the states of calendar sources.
extern const char* const eLabel[kLabelCount + 2];

// Labels that screen readers read: the words that describe a day and the
// name of the half-day field in the numbered table; whole month and weekday
// names and the names of the panel's fields, the clock and the settings
// menu beyond it (getMoreLabel).
enum : int {
  kLabelToday = 22,
  kLabelHoliday = 23,
  kLabelUserDay = 24,
  kLabelEvent = 25,
  kLabelAmPmField = 26,
  kLabelJanuary = 101,  // to December, 112
  kLabelSunday = 113,   // to Saturday, 119
  kLabelYear = 120,
  kLabelMonth = 121,
  kLabelDay = 122,
  kLabelHour = 123,
  kLabelMinute = 124,
  kLabelClock = 125,
  kLabelSettings = 126,
};

// The numbered table is full, so later labels are numbered from
// kMoreLabelFirst on, in a table of their own. A dictionary's list holds
// them after eLabel's closing "100".
constexpr int kMoreLabelFirst = kLabelCount + 1;
constexpr int kMoreLabelCount = 26;
extern const char* const eMoreLabel[kMoreLabelCount + 1];

// eLabel's texts up to "100", then eMoreLabel's, null-terminated: the list
// the dictionary mirrors.
const char* const* AllLabels();

// A label source answers a number 1..99, or one from kMoreLabelFirst on,
// with its text, or null to fall back on the built-in text. The text must stay valid until the source changes it.
typedef const char* (*LabelSource)(int number);

// Installs the source getLabel asks (null removes it).
void SetLabelSource(LabelSource source);

// The label text of a number; 0, negative numbers and numbers above 99
// give the program's name.
const char* getLabel(int number);

// getLabel's text for numbers below kMoreLabelFirst; from there on the
// source's text or eMoreLabel's, and the program's name past the table.
const char* getMoreLabel(int number);
