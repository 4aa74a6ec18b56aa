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

// A label source answers a number 1..99 with its text, or null to fall
// back on eLabel. The text must stay valid until the source changes it.
typedef const char* (*LabelSource)(int number);

// Installs the source getLabel asks (null removes it).
void SetLabelSource(LabelSource source);

// The label text of a number; 0, negative numbers and numbers above 99
// give the program's name.
const char* getLabel(int number);
