// The desktop clipboard. While locked, Data() is a message holding the
// clipboard's contents by MIME type; Commit() writes its "text/plain" data
// to the desktop clipboard.
//
//   if (be_clipboard->Lock()) {
//     be_clipboard->Clear();
//     be_clipboard->Data()->AddData("text/plain", B_MIME_TYPE, text, strlen(text));
//     be_clipboard->Commit();
//     be_clipboard->Unlock();
//   }
#pragma once

#include "platform/support/SupportDefs.h"

#include <memory>
#include <string>

class BMessage;

class BClipboard {
public:
  explicit BClipboard(const char* name);
  ~BClipboard();
  BClipboard(const BClipboard&) = delete;
  BClipboard& operator=(const BClipboard&) = delete;

  const char* Name() const { return fName.c_str(); }

  // Recursive; the first lock reads the desktop clipboard into Data().
  bool Lock();
  void Unlock();
  bool IsLocked() const { return fLockCount > 0; }

  // The clipboard's data while locked, else null.
  BMessage* Data() const;
  // These need the lock: B_NOT_ALLOWED without it.
  status_t Clear();
  status_t Commit();
  status_t Revert(); // reads the desktop clipboard again

private:
  std::string fName;
  std::unique_ptr<BMessage> fData;
  int32 fLockCount = 0;
};

extern BClipboard* be_clipboard;
