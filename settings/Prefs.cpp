#include "settings/Prefs.h"

#include "platform/storage/BDirectory.h"
#include "platform/messaging/BMessage.h"
#include "platform/storage/FindDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

Prefs* Prefs::aPrefsZgr = nullptr;
const BRect Prefs::kDefaultWinRect(130, 130, 450, 206);

namespace {

const char kFolderName[] = "_LP_x-vnd.KX";
const char kFileName[] = "OVA_settings";
// The file's data: a marker only, written without a terminator.
const char kDataMark[] = "ova_prefs";

const int32 kDefaultHtmlModus = 1;
const bool kDefaultAskByStart = false;

// The stored switches, in the order Save writes them and LoadPrefs reads
// them (after "ask_by_start").
struct Switch {
  const char* key;
  bool Prefs::*field;
  bool def;
};

const Switch kSwitches[] = {
    {"add_infobar", &Prefs::fAddInfobar, false},
    {"show_expand", &Prefs::fShowExpand, false},
    {"triple_preview", &Prefs::fTriplePreview, false},
    {"window_tab", &Prefs::fWindowTab, true},
    {"time_style", &Prefs::fTimeStyle, false},
    {"days_user", &Prefs::fDaysUser, true},
    {"days_local", &Prefs::fDaysLocal, true},
    {"days_global", &Prefs::fDaysGlobal, true},
    {"days_event", &Prefs::fDaysEvent, true},
};

} // namespace

Prefs* Prefs::getSTPrefs()
{
  if (aPrefsZgr == nullptr)
    aPrefsZgr = new Prefs();
  return aPrefsZgr;
}

Prefs::Prefs()
{
  for (const Switch& entry : kSwitches)
    this->*entry.field = entry.def;
  printf("NEW SINGLETON-Prefs\n");
  if (find_directory(B_USER_SETTINGS_DIRECTORY, &fPath) == B_OK) {
    fPath.Append(kFolderName);
    fPath.Append(kFileName);
  }
  InitCheck();
  OpenFile();
  LoadPrefs();
  if (!fError)
    return;
  // One rebuild: recreate the file and write every saved key, then read
  // again. No further attempt.
  printf(">> Outch-Trouble with PREFS.... \n");
  fFile.reset();
  InitCheck();
  OpenFile();
  Save();
  LoadPrefs();
}

Prefs::~Prefs()
{
  fFile.reset();
  aPrefsZgr = nullptr;
}

void Prefs::DeleteMe()
{
  delete this;
  printf("\n -Prefs\n");
}

void Prefs::OpenFile()
{
  fFile = std::make_unique<BFile>(fPath.Path(), B_READ_WRITE | B_CREATE_FILE);
}

void Prefs::InitCheck()
{
  BPath folder;
  find_directory(B_USER_SETTINGS_DIRECTORY, &folder, true);
  folder.Append(kFolderName);
  BDirectory dir(folder.Path());
  if (dir.InitCheck() != B_OK) {
    mkdir(folder.Path(), 0755);
    dir.SetTo(folder.Path());
  }
  BEntry entry;
  BFile file;
  if (dir.FindEntry(kFileName, &entry) != B_OK) {
    printf("[File not found]\n");
    if (dir.CreateFile(kFileName, &file, false) == B_OK)
      printf("[File created]\n");
  } else if (file.SetTo(BPath(folder.Path(), kFileName).Path(), B_READ_WRITE | B_CREATE_FILE)
             != B_OK) {
    printf("[init error]\n");
  }
  // A new file gets the marker too, so every settings file looks the same.
  if (file.InitCheck() == B_OK)
    file.WriteAt(0, kDataMark, sizeof kDataMark - 1);
}

bool Prefs::LoadPrefs()
{
  if (!GetRect("m_win_rect", &fWinRect, &kDefaultWinRect)) {
    fWinRect = kDefaultWinRect;
    return false;
  }
  if (!GetBool("ask_by_start", &fAskByStart, &kDefaultAskByStart))
    return false;
  for (const Switch& entry : kSwitches) {
    if (!GetBool(entry.key, &(this->*entry.field), &entry.def)) {
      this->*entry.field = entry.def;
      return false;
    }
  }
  return GetInt("html_modus", &fHtmlModus, &kDefaultHtmlModus);
}

bool Prefs::Save()
{
  if (!PutRect("m_win_rect", &fWinRect))
    return false;
  for (const Switch& entry : kSwitches) {
    if (!PutBool(entry.key, &(this->*entry.field)))
      return false;
  }
  return PutInt("html_modus", &fHtmlModus);
}

bool Prefs::SaveWin()
{
  return PutRect("m_win_rect", &fWinRect) && PutBool("show_expand", &fShowExpand)
         && PutBool("window_tab", &fWindowTab) && PutBool("time_style", &fTimeStyle);
}

ssize_t Prefs::GetAttr(const char* key, type_code type, void* field, size_t size,
                       const void* def, size_t defSize)
{
  ssize_t got = fFile->ReadAttr(key, type, 0, field, size);
  if (got == B_ENTRY_NOT_FOUND) {
    got = std::min(size, defSize);
    memcpy(field, def, got);
    if (fFile->WriteAttr(key, type, 0, def, defSize) != ssize_t(defSize)) {
      printf("WriteAttr on %s died\n", key);
      fError = true;
      return -1;
    }
    return got;
  }
  if (got < 0) {
    printf("Unknown error reading %s:\n%s\n", key, StatusText(got));
    fError = true;
    return -1;
  }
  // Fewer bytes than the field holds still count as a value.
  return got;
}

bool Prefs::GetInt(const char* key, int32* field, const int32* def)
{
  return GetAttr(key, B_INT32_TYPE, field, sizeof *field, def, sizeof *def) >= 0;
}

bool Prefs::GetBool(const char* key, bool* field, const bool* def)
{
  // Read as a byte: only its first byte counts, and any non-zero byte is
  // true (a byte other than 0 or 1 is no valid bool).
  uint8 byte = *field;
  const uint8 defByte = *def;
  bool ok = GetAttr(key, B_BOOL_TYPE, &byte, 1, &defByte, 1) >= 0;
  *field = byte != 0;
  return ok;
}

bool Prefs::GetRect(const char* key, BRect* field, const BRect* def)
{
  float sides[4] = {field->left, field->top, field->right, field->bottom};
  const float defSides[4] = {def->left, def->top, def->right, def->bottom};
  bool ok = GetAttr(key, B_RECT_TYPE, sides, sizeof sides, defSides, sizeof defSides) >= 0;
  field->Set(sides[0], sides[1], sides[2], sides[3]);
  return ok;
}

bool Prefs::GetStr(const char* key, char* buffer, const char* def)
{
  // 255 bytes at most, so that the terminator always fits in 256.
  const size_t kTextMax = 255;
  if (def == nullptr)
    def = "";
  ssize_t got = GetAttr(key, B_STRING_TYPE, buffer, kTextMax, def, strlen(def) + 1);
  buffer[got >= 0 ? got : kTextMax] = '\0';
  return got >= 0;
}

status_t Prefs::WriteKey(const char* key, type_code type, const void* value, size_t size)
{
  ssize_t wrote = fFile->WriteAttr(key, type, 0, value, size);
  if (wrote == ssize_t(size))
    return B_OK;
  fError = true;
  return wrote < 0 ? status_t(wrote) : B_IO_ERROR;
}

bool Prefs::PutFixed(const char* key, type_code type, const void* value, size_t size)
{
  status_t status = WriteKey(key, type, value, size);
  if (status != B_OK)
    printf("Unknown error writing %s:\n%s\n", key, StatusText(status));
  return status == B_OK;
}

bool Prefs::PutInt(const char* key, const int32* value)
{
  return PutFixed(key, B_INT32_TYPE, value, sizeof *value);
}

bool Prefs::PutBool(const char* key, const bool* value)
{
  const uint8 byte = *value ? 1 : 0;
  return PutFixed(key, B_BOOL_TYPE, &byte, 1);
}

bool Prefs::PutRect(const char* key, const BRect* value)
{
  const float sides[4] = {value->left, value->top, value->right, value->bottom};
  return PutFixed(key, B_RECT_TYPE, sides, sizeof sides);
}

bool Prefs::PutStr(const char* key, const char* value)
{
  status_t status = value != nullptr ? WriteKey(key, B_STRING_TYPE, value, strlen(value) + 1)
                                      : B_BAD_VALUE;
  if (status != B_OK) {
    printf("Unknown error writing %s '%s' \n%s\n", key, value ? value : "", StatusText(status));
    fError = true;
  }
  return status == B_OK;
}

bool Prefs::PutMsg(const char* key, const BMessage* msg)
{
  if (msg == nullptr) {
    fError = true;
    return false;
  }
  ssize_t size = msg->FlattenedSize();
  printf("Message.Size= %ld \n", long(size));
  std::unique_ptr<char[]> buffer(size > 0 ? new (std::nothrow) char[size] : nullptr);
  if (!buffer) {
    printf("! malloc \n");
    fError = true;
    return false;
  }
  status_t status = msg->Flatten(buffer.get(), size);
  if (status == B_OK)
    status = WriteKey(key, B_MESSAGE_TYPE, buffer.get(), size);
  if (status != B_OK) {
    printf("Unknown MSG error writing %s \n%s\n", key, StatusText(status));
    fError = true;
    return false;
  }
  return true;
}

bool Prefs::GetMsg(const char* key, BMessage* msg)
{
  printf("Message=BEFORE \n");
  if (msg != nullptr)
    msg->PrintToStream();
  attr_info info;
  status_t status = fFile->GetAttrInfo(key, &info);
  printf("Message.err= %ld \n", long(status));
  std::unique_ptr<char[]> buffer;
  if (status == B_OK) {
    buffer.reset(new (std::nothrow) char[std::max<off_t>(info.size, 1)]);
    printf("Message.Size= %ld \n", long(info.size));
  }
  if (!buffer) {
    printf("! err msg \n");
    fError = true;
    return false;
  }
  // Unflattened aside, so that a bad value leaves the caller's message alone.
  ssize_t got = fFile->ReadAttr(key, B_MESSAGE_TYPE, 0, buffer.get(), info.size);
  BMessage stored;
  bool ok = got >= 0 && stored.Unflatten(buffer.get(), got) == B_OK;
  if (ok && msg != nullptr)
    *msg = stored;
  fError = fError || !ok;
  printf("Message=AFTER \n");
  if (msg != nullptr)
    msg->PrintToStream();
  return ok;
}
