// The label dictionary: the process's one list of label texts by number.
// The list starts as a copy of a built-in table of English texts (Orvella's
// eLabel, AskOrvel's own table) and is rewritten from a dictionary file,
// whose lines pair a current text with its translation (docs/dictionaries.md).
// The language of the last dictionary loaded is remembered in the locale
// setting file (LocaleSetting.h), so the next start loads it again.
//
//   KXLabel* labels = KXLabel::getKXLabel("Orvella");
//   labels->MirrorList(eLabel);                 // the built-in texts
//   labels->LoadLangFile(".../Dictionaries/Orvella.deDE");
//   labels->getLabel(nullptr, 2);               // "Abbrechen"
//   SetLabelSource(KXLabel::LabelText);         // getLabel(2) answers the same
//
// Keys are matched against the current texts, so a dictionary applies to
// the built-in texts only right after MirrorList.
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>
#include <vector>

// The dictionary path of the built-in texts: "-default" in the menu.
inline constexpr const char* kNoDictionary = "_none";

class KXLabel {
public:
  // The singleton, created with `owner` on the first call; later owners are
  // ignored.
  static KXLabel* getKXLabel(const char* owner);
  static KXLabel* labelZgr;
  // A label source for getLabel (calendar/Labels.h): the singleton's text
  // for the number; null while there is no singleton, and for a number past
  // the numbered table that the list does not hold, so that the built-in
  // text answers.
  static const char* LabelText(int number);

  virtual ~KXLabel();
  // Frees every text.
  virtual void ClearMirrorList();
  // Destroys the singleton; the next getKXLabel makes a new one.
  virtual void DeleteMe();
  // Rewrites the texts from the dictionary at `path` and remembers its
  // language (the path's text after its last "."). kNoDictionary, the
  // language menu's "-default", keeps the texts and stores "_non" as the
  // last language. A dictionary that cannot be opened (deleted since the
  // menu listed it, say) or read changes nothing, not even the language
  // remembered: the user's choice is kept.
  virtual void LoadLangFile(const char* path);
  // Replaces the list by copies of the null-terminated `texts`.
  virtual void MirrorList(const char* const* texts);
  // Appends copies of the null-terminated `texts`.
  virtual void AddToMirrorList(const char* const* texts);

  // The text of a label number; the "-nf-" text for a number the list does
  // not hold. Valid until the next MirrorList, ClearMirrorList or load.
  const char* getLabel(const void* unused, int32 number) const;
  // The language of the last dictionary loaded, "_non" after a failed
  // load, or the stored last language ("LAST" when none is stored).
  std::string GetLastLanguage() const { return fLast; }

  const std::string& Owner() const { return fOwner; }
  // Highest number the list answers (the number of texts less one).
  int32 TopIndex() const { return fTopIndex; }
  // Replacements made by the last load.
  int32 Replaced() const { return fReplaced; }
  // The path of the last dictionary asked for ("notset" before).
  const std::string& DictPath() const { return fDictPath; }

private:
  explicit KXLabel(const char* owner);

  // Applies one line of a dictionary to every label it matches.
  void ApplyLine(const std::string& line, size_t count);

  std::string fLast = "LAST";
  std::string fOwner;
  int32 fTopIndex = 0;
  int32 fReplaced = 0;
  std::vector<std::string> fLabels;
  std::string fDictPath = "notset";
};
