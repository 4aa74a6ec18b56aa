#include "locale/LocaleSetting.h"

#include "platform/storage/BFile.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"

#include <algorithm>
#include <cstring>

namespace {

const char kFolderName[] = "_LP_x-vnd.KX";
const char kFileName[] = "kx_simpel_locale";
const char kLastLanguage[] = "_last_lg_selected";
const char kLastNumber[] = "_last_nr_selected";

// Opens the setting file, creating it when missing. Writing also creates
// the settings folder, so that a choice made before Orvella's settings
// store ever ran is not lost.
void OpenSettingFile(BFile* file, bool write)
{
  BPath folder;
  if (find_directory(B_USER_SETTINGS_DIRECTORY, &folder) != B_OK)
    return;
  folder.Append(kFolderName);
  if (write)
    create_directory(folder.Path(), 0755);
  file->SetTo(BPath(folder.Path(), kFileName).Path(), B_READ_WRITE | B_CREATE_FILE);
}

} // namespace

std::string AskStrSetting(const char* owner, const char* value, bool write)
{
  const char* given = value != nullptr ? value : "";
  std::string result(given, strnlen(given, kSettingTextMax));

  BFile file;
  OpenSettingFile(&file, write);
  if (file.InitCheck() != B_OK)
    return result;

  if (write) {
    char stored[kStoredCodeSize] = {};
    memcpy(stored, result.data(), std::min(result.size(), kStoredCodeSize));
    file.WriteAttr(kLastLanguage, B_STRING_TYPE, 0, stored, sizeof stored);
    if (owner != nullptr && *owner != '\0')
      file.WriteAttr(owner, B_STRING_TYPE, 0, stored, sizeof stored);
    return result;
  }

  char stored[kStoredCodeSize + 1] = {};
  const ssize_t got = file.ReadAttr(kLastLanguage, B_STRING_TYPE, 0, stored, kStoredCodeSize);
  // An empty value would match every dictionary; it counts as none.
  if (got > 0 && stored[0] != '\0')
    result = stored;
  return result;
}

int32 AskIntSetting(int32 value, bool write)
{
  BFile file;
  OpenSettingFile(&file, write);
  if (file.InitCheck() != B_OK)
    return value;
  if (write) {
    file.WriteAttr(kLastNumber, B_INT32_TYPE, 0, &value, sizeof value);
    return value;
  }
  int32 stored = 0;
  if (file.ReadAttr(kLastNumber, B_INT32_TYPE, 0, &stored, sizeof stored) == ssize_t(sizeof stored))
    return stored;
  return value;
}
