// The settings store: what outlives a run of the main program (the main
// window's frame and display switches, which kinds of marked days are shown,
// the HTML export mode). Each setting is a typed attribute of the file
// "OVA_settings" in the folder "_LP_x-vnd.KX" of the user settings directory;
// the file's data carries no settings. One store per process, created on
// first use; the window reads and changes the fields directly and asks the
// store to save.
//
//   Prefs* prefs = Prefs::getSTPrefs();
//   prefs->fShowExpand = true;
//   prefs->Save();
//   ...
//   prefs->DeleteMe();
#pragma once

#include "platform/storage/BFile.h"
#include "platform/storage/BPath.h"
#include "platform/support/BRect.h"

#include <memory>

class BMessage;

class Prefs {
public:
  static Prefs* getSTPrefs();
  static Prefs* aPrefsZgr;

  virtual ~Prefs();
  // Destroys the store; the next getSTPrefs makes a new one.
  virtual void DeleteMe();

  // Reads every stored key, creating missing ones with their defaults; false
  // at the first key that fails (the rest keep their values).
  bool LoadPrefs();
  // Writes every key but "ask_by_start"; stops at the first failure.
  bool Save();
  // Writes the window's keys: frame, expansion, tab look, time style.
  bool SaveWin();
  // Makes sure the settings folder and file exist.
  void InitCheck();

  // Each reads one attribute into the field; a missing one takes the default
  // and stores it. GetStr fills a buffer of at least 256 bytes and always
  // ends it with a NUL.
  bool GetInt(const char* key, int32* field, const int32* def);
  bool GetBool(const char* key, bool* field, const bool* def);
  bool GetRect(const char* key, BRect* field, const BRect* def);
  bool GetStr(const char* key, char* buffer, const char* def);

  bool PutInt(const char* key, const int32* value);
  bool PutBool(const char* key, const bool* value);
  bool PutRect(const char* key, const BRect* value);
  bool PutStr(const char* key, const char* value);

  // A whole message as one attribute.
  bool PutMsg(const char* key, const BMessage* msg);
  // Replaces `msg` by the stored message; false (and `msg` unchanged) when
  // it is missing, unreadable or malformed.
  bool GetMsg(const char* key, BMessage* msg);

  // The window frame of a first run, and of a stored frame that is no
  // usable window frame.
  static const BRect kDefaultWinRect;

  BRect fWinRect = kDefaultWinRect;
  int32 fHalfDay = 1; // 1 morning, 2 afternoon
  int32 fCurCode = 0; // year * 10000 + month * 100 + day
  int32 fCurDay = 0;
  int32 fCurMonth = 0;
  int32 fCurYear = 0;
  int32 fHtmlModus = 1;
  // The switches get their initial values from the store's key table.
  bool fShowExpand;
  bool fTriplePreview;
  bool fWindowTab;
  bool fAddInfobar;
  bool fTimeStyle;
  bool fDaysUser;
  bool fDaysLocal;
  bool fDaysGlobal;
  bool fDaysEvent;
  bool fError = false; // set by any failed read or write, never cleared
  bool fAskByStart = false;
  std::unique_ptr<BFile> fFile;

private:
  Prefs();

  void OpenFile();
  // Reads at most `size` bytes of `key` into `field`; a missing key takes
  // `def` and stores it. Returns the bytes now in the field, or -1.
  ssize_t GetAttr(const char* key, type_code type, void* field, size_t size, const void* def,
                  size_t defSize);
  status_t WriteKey(const char* key, type_code type, const void* value, size_t size);
  bool PutFixed(const char* key, type_code type, const void* value, size_t size);

  BPath fPath;
};
