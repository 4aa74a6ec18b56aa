// The language menu: one item per dictionary file beside the program, shown
// by its language name ("Deutsch" for a file ending in ".deDE"), the item of
// the language chosen last marked, then a separator and "-default" for the
// built-in English texts. Choosing an item loads its dictionary into the
// label dictionary (KXLabel) and broadcasts the choice as 'kxCL' to every
// program, so that the whole family switches together.
//
// Dictionaries are the files in "Dictionaries" beside the program's
// executable (else in "Language/Dictionaries" there) whose names begin with
// the owner's name, in any case: "Orvella.deDE" for Orvella, "AskOrvel.frFR"
// for AskOrvel.
//
//   auto* languages = new KXLangMenu("Language", "Orvella");
//   languages->StartWith(eLabel);         // built-in texts, then the last language
//   settingsMenu->AddItem(languages);     // items send 'kxCL' to the window
//   ...
//   case 'kxCL':                          // in the window's MessageReceived
//     if (languages->TakeLanguage(message, eLabel))
//       RelabelEverything();
//
// Every item's message: 'kxCL' with "_MenuItem" (int32, the item's index)
// and "_LangFilePath" (the dictionary's path, "_none" for "-default").
#pragma once

#include "platform/interface/BMenu.h"

#include <cstddef>
#include <string>

class BMessage;

// Longest "_LangFilePath" taken from another program, in bytes: the
// longest path the system opens (PATH_MAX).
inline constexpr size_t kMaxLangPathLength = 4096;

class KXLangMenu : public BMenu {
public:
  // Whether a 'kxCL' message from another program is a language change as
  // the wire contract has it: "_LangFilePath" a string of 1 to
  // kMaxLangPathLength bytes. Otherwise it says why on standard output;
  // the programs refuse such a message, so it changes nothing.
  static bool IsLanguageChange(const BMessage& message, const char* program);

  // Scans the dictionaries of `owner` beside the program, or in
  // `programFolder` when given.
  KXLangMenu(const char* name, const char* owner, const char* programFolder = nullptr);
  ~KXLangMenu() override;

  // The language name of a dictionary's file name: the name of the first
  // known code (".deDE" ...) found after its first character, else the file
  // name itself.
  virtual std::string GetNameFor(const char* fileName) const;
  // Builds the items from the dictionaries in `programFolder`; the
  // constructor calls it once.
  virtual void ScanFolder(const std::string& programFolder);
  // Hand on to the label dictionary (the one there is now: it may have been
  // made anew since the menu was built).
  virtual void MirrorThisList(const char* const* texts);
  virtual void MirrorAddThisList(const char* const* texts);
  virtual void LoadLangFile(const char* path);
  // Applies the choice of one of the items: broadcasts the message to every
  // program, loads the dictionary and marks the item.
  virtual void SetLangFile(BMessage* message);

  // Applies the same language as a choice made in another program: loads
  // this owner's own dictionary with the same code (the built-in texts stay
  // for "_none" or a language without one) and marks its item, without
  // broadcasting.
  void FollowLangFile(BMessage* message);
  // What an owner does at start-up: mirrors its built-in `texts`, then
  // loads the dictionary of the language chosen last, if there is one.
  void StartWith(const char* const* texts);
  // What an owner does with a 'kxCL' message: for a choice in this menu or
  // in another program, mirrors `texts` and applies it (SetLangFile,
  // FollowLangFile); this program's own broadcast coming back changes
  // nothing. When the dictionary to load has gone since the menu was made,
  // it says which, keeps the language (and the choice remembered), tells
  // no other program and reads the folder again. True when the labels may
  // have changed.
  bool TakeLanguage(BMessage* message, const char* const* texts);

  int32 ItemCountAfterScan() const { return fItemCount; }
  int32 MarkedIndex() const { return fMarkedIndex; }
  const std::string& LastLang() const { return fLastLang; }
  // The dictionary of the language chosen last, or empty.
  const std::string& CurrentPath() const { return fCurrentPath; }

private:
  // Unmarks the dictionary items and marks the one at `index`.
  void MarkItem(int32 index);
  // The dictionary item of a language code, or -1.
  int32 ItemForCode(const std::string& code) const;
  // The dictionary this program loads for a 'kxCL' message: the chosen
  // one, or for another program's choice its own of the same language
  // (kNoDictionary when it has none).
  std::string DictionaryFor(const BMessage& message) const;
  // Builds the items anew from the folder.
  void Rescan();
  // Adds the dictionary file at `path` as the item numbered `index`;
  // false when it is skipped.
  bool AddFileItem(const std::string& path, const char* fileName, int32 index);

  std::string fAppName;
  std::string fProgramFolder;
  int32 fItemCount = 0;
  int32 fMarkedIndex = -1;
  std::string fLastLang;
  std::string fCurrentPath;
};
