#include "locale/KXLabel.h"

#include "calendar/Labels.h"

#include "locale/DictionaryFile.h"
#include "locale/LocaleSetting.h"

#include <cstdio>

KXLabel* KXLabel::labelZgr = nullptr;

namespace {

const char kNotFound[] = "-nf-";

size_t CountTexts(const char* const* texts)
{
  size_t count = 0;
  while (texts != nullptr && texts[count] != nullptr)
    count++;
  return count;
}

// A line is an entry for the label text `text` when a quote follows the
// text's length after the opening quote and the text occurs in the line.
// A text that only occurs inside the translation also matches: with the
// labels "AM" and "PM", the entry line of "PM" replaces "AM" as well when
// its new text holds "AM".
bool Matches(const std::string& line, const std::string& text)
{
  const size_t quote = text.size() + 1;
  return quote < line.size() && line[quote] == '"' && line.find(text) != std::string::npos;
}

// The new text of an entry line: after its third quote, up to the next
// quote or the end of the line. False for a line with fewer than three.
bool NewText(const std::string& line, std::string* text)
{
  size_t at = std::string::npos;
  for (int quotes = 0; quotes < 3; quotes++) {
    at = line.find('"', at + 1);
    if (at == std::string::npos)
      return false;
  }
  const size_t end = line.find('"', at + 1);
  *text = line.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
  return true;
}

} // namespace

KXLabel* KXLabel::getKXLabel(const char* owner)
{
  if (labelZgr == nullptr)
    labelZgr = new KXLabel(owner);
  return labelZgr;
}

const char* KXLabel::LabelText(int number)
{
  if (labelZgr == nullptr || (number > kLabelCount && number > labelZgr->fTopIndex))
    return nullptr;
  return labelZgr->getLabel(nullptr, number);
}

KXLabel::KXLabel(const char* owner)
    : fOwner(owner != nullptr ? owner : "")
{
  fLast = AskStrSetting(fOwner.c_str(), "LAST", false);
  printf("\nBUILD-KXLabel-DONE\n");
}

KXLabel::~KXLabel()
{
  ClearMirrorList();
  printf("DESTROY-KXLabel done\n");
  if (labelZgr == this)
    labelZgr = nullptr;
}

void KXLabel::DeleteMe()
{
  delete this;
  printf("DESTROY-KXLabel::DeleteMe done\n");
}

void KXLabel::ClearMirrorList()
{
  fLabels.clear();
}

void KXLabel::MirrorList(const char* const* texts)
{
  printf("KXLabel::MirrorList\n");
  const size_t count = CountTexts(texts);
  fTopIndex = int32(count) - 1;
  printf("MirrorList has %ld items\n", long(fTopIndex));
  ClearMirrorList();
  fLabels.assign(texts, texts + count);
  fReplaced = 0;
}

void KXLabel::AddToMirrorList(const char* const* texts)
{
  printf("KXLabel::AddToMirrorList\n");
  const size_t count = CountTexts(texts);
  printf("Add %ld items to mirrorList\n", long(count));
  fLabels.insert(fLabels.end(), texts, texts + count);
  fTopIndex = int32(fLabels.size()) - 1;
  printf("KXLabel::mirrorList items: %ld\n", long(fLabels.size()));
}

const char* KXLabel::getLabel(const void*, int32 number) const
{
  if (number < 0 || number > fTopIndex || size_t(number) >= fLabels.size())
    return kNotFound;
  return fLabels[number].c_str();
}

void KXLabel::ApplyLine(const std::string& line, size_t count)
{
  std::string text;
  for (size_t j = 0; j < count && j < fLabels.size(); j++) {
    if (!Matches(line, fLabels[j]) || !NewText(line, &text))
      continue;
    fLabels[j] = text;
    fReplaced++;
  }
}

void KXLabel::LoadLangFile(const char* path)
{
  const std::string given = path != nullptr ? path : "";
  printf("KXLabel::LoadLangFile\n -'%s'-\n", given.c_str());
  fDictPath = given;
  fReplaced = 0;

  if (given == kNoDictionary) {
    printf("..oops cant open - reset\n");
    fLast = "_non";
    AskStrSetting(fOwner.c_str(), fLast.c_str(), true);
    return;
  }
  DictionaryFile file(given.c_str());
  if (file.InitCheck() != B_OK) {
    printf("KXLabel: the dictionary '%s' cannot be opened (%s); the language stays '%s'\n", given.c_str(),
           StatusText(file.InitCheck()), fLast.c_str());
    return;
  }
  printf(" %ld Bytes | ", long(file.Size()));
  if (!file.HasData()) {
    printf(" read error %d ", 0);
    return;
  }

  const size_t count = fLabels.size();
  std::string line;
  while (file.NextLine(&line)) {
    if (!line.empty() && line[0] == '"')
      ApplyLine(line, count);
  }
  printf(" ..(replaced: %ld )..done\n\n", long(fReplaced));

  const size_t dot = given.rfind('.');
  fLast = dot == std::string::npos ? given : given.substr(dot + 1);
  AskStrSetting(fOwner.c_str(), fLast.c_str(), true);
}
