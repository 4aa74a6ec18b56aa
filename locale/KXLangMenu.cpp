#include "locale/KXLangMenu.h"

#include "calendar/Utf8Text.h"
#include "locale/DictionaryFile.h"
#include "locale/KXLabel.h"
#include "locale/LocaleSetting.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BRoster.h"
#include "platform/storage/BDirectory.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {

struct Language {
  const char* code;
  const char* name;
};

// Tested in this order; the first code found in a file name names it.
const Language kLanguages[] = {
    {".arAR", "Argentina"}, {".nlBE", "Belgisch"},     {".bgBG", "Bulgaria"},
    {".deDE", "Deutsch"},   {".enUK", "English (UK)"}, {".enUS", "English (US)"},
    {".esES", "Español"},   {".etEE", "Estonia"},      {".fiFI", "Finnish"},
    {".frFR", "Français"},  {".itIT", "Italian"},      {".jaJP", "日本語"},
    {".huHU", "Magyar"},    {".nlNL", "Nederlands"},   {".noNO", "Norsk"},
    {".plPL", "Polish"},    {".ptPT", "Português"},    {".ruRU", "Russian"},
    {".svSE", "Svenska"},   {".trTR", "Tuerkç"},
};

// The language code of a dictionary path: its text after the last ".".
std::string CodeOf(const std::string& path)
{
  const size_t dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(dot + 1);
}

// Whether a dictionary's code is the remembered language, which the locale
// setting keeps to its first five bytes.
bool IsLastLanguage(const std::string& code, const std::string& last)
{
  return !last.empty() && code.substr(0, kStoredCodeSize) == last.substr(0, kStoredCodeSize);
}

// Longest item name in characters; a longer one (a file name that names
// no known language) is cut in the middle, keeping the owner's name at its
// start and the code at its end, so that the menu stays narrow.
constexpr size_t kItemNameCharacters = 40;

std::string Elided(const std::string& name)
{
  const size_t count = CharacterCount(name);
  if (count <= kItemNameCharacters)
    return name;
  const size_t head = kItemNameCharacters / 2;
  const size_t tail = kItemNameCharacters - head - 1;
  return FirstCharacters(name, head) + "\u2026" + name.substr(FirstCharacters(name, count - tail).size());
}

// The file names in `folder`, sorted, as the platform the family comes
// from lists a folder.
std::vector<std::string> SortedNames(BDirectory& folder)
{
  std::vector<std::string> names;
  BEntry entry;
  char name[B_FILE_NAME_LENGTH];
  while (folder.GetNextEntry(&entry) == B_OK) {
    if (entry.GetName(name) == B_OK)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace

bool KXLangMenu::IsLanguageChange(const BMessage& message, const char* program)
{
  const char* path = nullptr;
  std::string wrong;
  if (message.FindString("_LangFilePath", &path) != B_OK)
    wrong = "no string \"_LangFilePath\"";
  else if (*path == '\0')
    wrong = "an empty \"_LangFilePath\"";
  else if (strlen(path) > kMaxLangPathLength)
    wrong = "a \"_LangFilePath\" longer than " + std::to_string(kMaxLangPathLength) + " bytes";
  if (!wrong.empty())
    printf("%s: language change from another program dropped: it has %s\n", program, wrong.c_str());
  return wrong.empty();
}

KXLangMenu::KXLangMenu(const char* name, const char* owner, const char* programFolder)
    : BMenu(name),
      fAppName(owner != nullptr ? owner : "")
{
  fLastLang = KXLabel::getKXLabel(fAppName.c_str())->GetLastLanguage();
  std::string folder;
  if (programFolder != nullptr) {
    folder = programFolder;
  } else {
    BPath program;
    if (find_directory(B_PROGRAM_DIRECTORY, &program) == B_OK)
      folder = program.Path();
  }
  fProgramFolder = folder;
  ScanFolder(folder);
  fItemCount = CountItems();
}

KXLangMenu::~KXLangMenu() = default;

std::string KXLangMenu::GetNameFor(const char* fileName) const
{
  if (fileName == nullptr || *fileName == '\0')
    return std::string();
  for (const Language& language : kLanguages) {
    if (strstr(fileName + 1, language.code) != nullptr)
      return language.name;
  }
  return fileName;
}

void KXLangMenu::ScanFolder(const std::string& programFolder)
{
  printf("KXLangMenu::ScanFolder()\n");
  fItemCount = 0;
  fMarkedIndex = -1;

  BPath path(programFolder.c_str(), "Dictionaries");
  printf("KXLangMenu: '%s'\n", path.Path());
  BDirectory folder(path.Path());
  if (folder.InitCheck() != B_OK) {
    printf("oops: %ld \n", long(folder.InitCheck()));
    path.SetTo(programFolder.c_str(), "Language/Dictionaries");
    printf("KXLangMenu: '%s'\n", path.Path());
    folder.SetTo(path.Path());
    if (folder.InitCheck() != B_OK)
      printf("oops: %ld \n", long(folder.InitCheck()));
  }

  int32 index = 0;
  if (folder.InitCheck() == B_OK) {
    for (const std::string& name : SortedNames(folder)) {
      if (AddFileItem(BPath(path.Path(), name.c_str()).Path(), name.c_str(), index))
        index++;
    }
  }
  printf(" back %ld \n", long(index));
  if (index == 0)
    return;

  AddSeparatorItem();
  auto* message = new BMessage('kxCL');
  message->AddInt32("_MenuItem", index + 1);
  message->AddString("_LangFilePath", kNoDictionary);
  auto* item = new BMenuItem("-default", message);
  AddItem(item);
  if (fMarkedIndex == -1)
    item->SetMarked(true);
}

bool KXLangMenu::AddFileItem(const std::string& path, const char* fileName, int32 index)
{
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  if (strncasecmp(fileName, fAppName.c_str(), fAppName.size()) != 0)
    return false;
  DictionaryFile file(path.c_str());
  if (file.InitCheck() != B_OK) {
    printf("..ooops cant open\n");
    return false;
  }
  printf(": '%s'  %ld Bytes\n", fileName, long(file.Size()));
  if (!file.HasData()) {
    printf(" can't read %d ", 0);
    return false;
  }

  auto* message = new BMessage('kxCL');
  message->AddInt32("_MenuItem", index);
  message->AddString("_LangFilePath", path.c_str());
  auto* item = new BMenuItem(Elided(GetNameFor(fileName)).c_str(), message);
  AddItem(item);
  if (IsLastLanguage(CodeOf(path), fLastLang)) {
    printf("  = last selected !\n");
    item->SetMarked(true);
    fMarkedIndex = index;
    fCurrentPath = path;
  }
  return true;
}

void KXLangMenu::MirrorThisList(const char* const* texts)
{
  if (KXLabel::labelZgr == nullptr) {
    printf(" KXLabel-Class not installed \n");
    return;
  }
  KXLabel::labelZgr->MirrorList(texts);
}

void KXLangMenu::MirrorAddThisList(const char* const* texts)
{
  if (KXLabel::labelZgr == nullptr) {
    printf(" KXLabel-Class not installed \n");
    return;
  }
  KXLabel::labelZgr->AddToMirrorList(texts);
}

void KXLangMenu::LoadLangFile(const char* path)
{
  if (KXLabel::labelZgr == nullptr) {
    printf(" KXLabel-Class not installed \n");
    return;
  }
  KXLabel::labelZgr->LoadLangFile(path);
}

void KXLangMenu::SetLangFile(BMessage* message)
{
  if (message == nullptr)
    return;
  be_roster->Broadcast(message);

  const char* path = nullptr;
  if (message->FindString("_LangFilePath", &path) == B_OK)
    LoadLangFile(path);
  else
    printf("KXLangMenu::SetLangFile: _LangFilePath nf.\n");

  int32 index = 0;
  if (message->FindInt32("_MenuItem", &index) == B_OK)
    MarkItem(index);
  else
    printf("KXLangMenu::SetLangFile: _MenuItem nf.\n");
}

void KXLangMenu::FollowLangFile(BMessage* message)
{
  const char* path = nullptr;
  if (message == nullptr || message->FindString("_LangFilePath", &path) != B_OK) {
    printf("KXLangMenu::FollowLangFile: _LangFilePath nf.\n");
    return;
  }
  if (strcmp(path, kNoDictionary) == 0) {
    LoadLangFile(kNoDictionary);
  } else {
    const int32 index = ItemForCode(CodeOf(path));
    if (index >= 0) {
      LoadLangFile(ItemAt(index)->Message()->GetString("_LangFilePath", ""));
      MarkItem(index);
      return;
    }
    printf("KXLangMenu: no dictionary for '%s'\n", CodeOf(path).c_str());
  }
  MarkItem(fItemCount - 1);
}

int32 KXLangMenu::ItemForCode(const std::string& code) const
{
  // The dictionary items come first, then the separator and "-default".
  for (int32 index = 0; index < fItemCount - 2; index++) {
    if (CodeOf(ItemAt(index)->Message()->GetString("_LangFilePath", "")) == code)
      return index;
  }
  return -1;
}

std::string KXLangMenu::DictionaryFor(const BMessage& message) const
{
  const char* path = message.GetString("_LangFilePath", kNoDictionary);
  if (!message.IsSourceRemote() || strcmp(path, kNoDictionary) == 0)
    return path;
  const int32 index = ItemForCode(CodeOf(path));
  return index >= 0 ? ItemAt(index)->Message()->GetString("_LangFilePath", "") : kNoDictionary;
}

void KXLangMenu::Rescan()
{
  while (CountItems() > 0)
    delete RemoveItem(CountItems() - 1);
  if (KXLabel::labelZgr != nullptr)
    fLastLang = KXLabel::labelZgr->GetLastLanguage();
  fCurrentPath.clear();
  ScanFolder(fProgramFolder);
  fItemCount = CountItems();
}

void KXLangMenu::MarkItem(int32 index)
{
  for (int32 i = 0; i < fItemCount; i++) {
    if (BMenuItem* item = ItemAt(i))
      item->SetMarked(i == index);
  }
  fMarkedIndex = index;
  printf(" Mark Item nr: %ld\n", long(index));
}

void KXLangMenu::StartWith(const char* const* texts)
{
  MirrorThisList(texts);
  if (fCurrentPath.size() > 6)
    LoadLangFile(fCurrentPath.c_str());
}

bool KXLangMenu::TakeLanguage(BMessage* message, const char* const* texts)
{
  if (message == nullptr)
    return false;
  // A broadcast carries its sender as return address; this program's own
  // comes back after the choice was applied.
  if (!message->IsSourceRemote() && message->ReturnAddress().IsValid())
    return false;
  // A dictionary deleted since the menu was made: the language, the choice
  // remembered and the other programs stay as they are, and the menu shows
  // what is there now.
  const std::string dictionary = DictionaryFor(*message);
  if (dictionary != kNoDictionary && DictionaryFile(dictionary.c_str()).InitCheck() != B_OK) {
    printf("KXLangMenu: the dictionary '%s' is missing; the language stays and the menu is read again\n",
           dictionary.c_str());
    Rescan();
    return false;
  }
  MirrorThisList(texts);
  if (message->IsSourceRemote())
    FollowLangFile(message);
  else
    SetLangFile(message);
  return true;
}
