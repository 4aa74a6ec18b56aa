#include "marks/STMarkups.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <cstdio>

#include "calendar/Codes.h"
#include "marks/HtmlEscape.h"
#include "marks/MarkDaysFile.h"
#include "settings/Prefs.h"

namespace {

#ifdef ORVELLA_DESKTOP_VARIANT
constexpr uint32 kHomeRegion = 'deDE';
#else
constexpr uint32 kHomeRegion = 'enUS';
#endif

const char* FontTag(int32 category)
{
  switch (category) {
  case kCategoryGlobal:
    return "<font color='7f6161'>";
  case kCategoryLocal:
    return "<font color='6161ff'>";
  case kCategoryUser:
    return "<font color='317f31'>";
  case kCategoryEvent:
    return "<font color='12c3c3'>";
  default:
    return "<font color='222222'>";
  }
}

// A slot for each day a month may have, in the year's order.
constexpr int32 kYearSlots = 12 * 31;

// The slot of a day code of `year`; -1 for a code of another year or no day.
int32 YearSlot(int32 code, int32 year)
{
  const int32 month = code / 100 % 100, day = code % 100;
  if (code / 10000 != year || month < 1 || month > 12 || day < 1 || day > 31)
    return -1;
  return (month - 1) * 31 + day - 1;
}

} // namespace

STMarkups* STMarkups::aMarkupsZgr = nullptr;

STMarkups* STMarkups::getSTMarkups()
{
  if (aMarkupsZgr == nullptr) {
    printf(" STMarkups generate:\n");
    aMarkupsZgr = new STMarkups();
  }
  return aMarkupsZgr;
}

STMarkups::STMarkups()
    : fRegion(kHomeRegion), fGlobals(0), fLocals(0), fUsers(0), fEvents(0), fTodayCode(0),
      fPrefs(nullptr), fHasEvents(false), fIndexStale(true)
{
  printf("FILE: %s\n", DefaultMarkDaysPath().c_str());
  fPrefs = Prefs::getSTPrefs();
  ClearList();
  LoadHolidays(nullptr);
  CheckHolidays();
  ShowInfo();
  printf(" BUILD-STMarkups-DONE \n");
}

STMarkups::~STMarkups()
{
  printf("DESTROY-STMarkups done\n");
  if (aMarkupsZgr == this)
    aMarkupsZgr = nullptr;
}

void STMarkups::DeleteMe()
{
  printf("\nDESTROY-STMarkups::DeleteMe \n");
  ClearList();
  delete this;
}

void STMarkups::ClearList()
{
  fIndex.Clear();
  fIndexStale = true;
  fList.clear();
  fYears.clear();
  fSources.clear();
}

MarkDay* STMarkups::AddMarkDay(std::unique_ptr<MarkDay> record)
{
  if (record == nullptr)
    return nullptr;
  fList.push_back(std::move(record));
  fIndexStale = true;
  return fList.back().get();
}

void STMarkups::AddYearSource(std::unique_ptr<YearSource> source)
{
  if (source == nullptr)
    return;
  fSources.push_back(std::move(source));
  // The years made so far lack the new source's days.
  fYears.clear();
}

MarkDay* STMarkups::ItemAt(int32 index) const
{
  if (index < 0 || index >= CountItems())
    return nullptr;
  return fList[static_cast<size_t>(index)].get();
}

status_t STMarkups::LoadHolidays(const char* path)
{
  std::string file = path != nullptr ? path : DefaultMarkDaysPath();
  printf(" Marks load: '%s'\n", file.c_str());
  FILE* in = fopen(file.c_str(), "r");
  if (in == nullptr) {
    printf(" '%s' Missing !\n", file.c_str());
    return B_OK;
  }
  char piece[kMarkDaysPieceLength + 1];
  while (fgets(piece, sizeof(piece), in) != nullptr) {
    if (!IsMarkDaysRecord(piece))
      continue;
    // The record joins the list before its fields are read, so a line cut
    // short still leaves a record with the defaults.
    MarkDay* record = AddMarkDay(std::make_unique<MarkDay>());
    ReadMarkDaysFields(piece, record);
  }
  fclose(in);
  return B_OK;
}

int32 STMarkups::CategoryOf(uint32 kind) const
{
  if (kind == 'user')
    return kCategoryUser;
  if (kind == fRegion)
    return kCategoryLocal;
  if (kind == 'evnt')
    return kCategoryEvent;
  return kCategoryGlobal;
}

bool STMarkups::IsShown(int32 category) const
{
  switch (category) {
  case kCategoryUser:
    return fPrefs->fDaysUser;
  case kCategoryLocal:
    return fPrefs->fDaysLocal;
  case kCategoryEvent:
    return fPrefs->fDaysEvent;
  default:
    return fPrefs->fDaysGlobal;
  }
}

void STMarkups::Count(int32 category, int32 number)
{
  switch (category) {
  case kCategoryUser:
    fUsers += number;
    break;
  case kCategoryLocal:
    fLocals += number;
    break;
  case kCategoryEvent:
    fEvents += number;
    break;
  default:
    fGlobals += number;
    break;
  }
}

void STMarkups::Sort(Records& records)
{
  for (const auto& record : records) {
    record->fCategory = CategoryOf(record->fKind);
    record->fShow = IsShown(record->fCategory);
  }
}

void STMarkups::CheckHolidays()
{
  // Take the settings store afresh: the window may have replaced it since
  // this registry was made.
  fPrefs = Prefs::getSTPrefs();
  fGlobals = fLocals = fUsers = fEvents = 0;
  Sort(fList);
  for (const auto& record : fList)
    Count(record->fCategory, 1);
  fIndex.Rebuild(fList);
  fIndexStale = false;

  for (const auto& source : fSources)
    Count(CategoryOf(source->Kind()), source->CountEntries());
  for (auto& [year, days] : fYears) {
    for (auto& [code, records] : days.records)
      Sort(records);
  }
}

void STMarkups::ShowInfo() const
{
  printf(" MarkDays info- %d items - \n", CountItems());
  printf(" region: '%s' %u   \n", long2asc(fRegion), fRegion);
  printf(" globals %4d\n locals  %4d\n ", fGlobals, fLocals);
  printf(" users  %4d\n events  %4d\n", fUsers, fEvents);
}

const MarkIndex& STMarkups::Index()
{
  if (fIndexStale) {
    fIndex.Rebuild(fList);
    fIndexStale = false;
  }
  return fIndex;
}

const STMarkups::Records* STMarkups::YearRecords(int32 month, int32 day, int32 year)
{
  // Years the date texts cannot hold are never asked of the sources.
  if (fSources.empty() || year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    return nullptr;
  auto known = fYears.find(year);
  if (known == fYears.end()) {
    known = fYears.emplace(year, YearDays()).first;
    // By day; on one day the sources and their entries keep their order:
    // each mark goes to its day's slot, counted out beforehand.
    std::vector<std::vector<YearMark>> bySource(fSources.size());
    std::array<size_t, kYearSlots + 1> slotStart{};
    for (size_t source = 0; source < fSources.size(); source++) {
      fSources[source]->MarksOf(year, &bySource[source]);
      for (const YearMark& mark : bySource[source]) {
        if (const int32 slot = YearSlot(mark.code, year); slot >= 0)
          slotStart[size_t(slot) + 1]++;
      }
    }
    std::partial_sum(slotStart.begin(), slotStart.end(), slotStart.begin());
    std::vector<std::pair<size_t, YearMark>>& sorted = known->second.marks;
    sorted.resize(slotStart.back());
    for (size_t source = 0; source < fSources.size(); source++) {
      for (const YearMark& mark : bySource[source]) {
        if (const int32 slot = YearSlot(mark.code, year); slot >= 0)
          sorted[slotStart[size_t(slot)]++] = {source, mark};
      }
    }
  }
  YearDays& days = known->second;
  const int32 code = year * 10000 + month * 100 + day;
  auto made = days.records.find(code);
  if (made != days.records.end())
    return &made->second;
  auto first = std::lower_bound(days.marks.begin(), days.marks.end(), code,
                                [](const auto& mark, int32 wanted) { return mark.second.code < wanted; });
  if (first == days.marks.end() || first->second.code != code)
    return nullptr;
  Records& records = days.records[code];
  for (auto it = first; it != days.marks.end() && it->second.code == code; ++it) {
    if (std::unique_ptr<MarkDay> record = fSources[it->first]->Record(it->second))
      records.push_back(std::move(record));
  }
  fPrefs = Prefs::getSTPrefs();
  Sort(records);
  return &records;
}

std::vector<MarkDay*> STMarkups::Matches(int32 month, int32 day, int32 year)
{
  std::vector<MarkDay*> matches = Index().All(month, day, year);
  if (const Records* made = YearRecords(month, day, year)) {
    for (const auto& record : *made) {
      if (record->fShow)
        matches.push_back(record.get());
    }
  }
  return matches;
}

MarkDay* STMarkups::IsMarkDay(int32 month, int32 day, int32 year)
{
  if (MarkDay* listed = Index().First(month, day, year))
    return listed;
  if (const Records* made = YearRecords(month, day, year)) {
    for (const auto& record : *made) {
      if (record->fShow)
        return record.get();
    }
  }
  return nullptr;
}

bool STMarkups::IsEventDay(int32 month, int32 day, int32 year)
{
  if (Index().HasEvent(month, day, year))
    return true;
  if (const Records* made = YearRecords(month, day, year)) {
    for (const auto& record : *made) {
      if (record->fShow && record->fKind == 'evnt')
        return true;
    }
  }
  return false;
}

void STMarkups::GetMarkText(int32 month, int32 day, int32 year, std::string* result,
                            bool withDate)
{
  if (result == nullptr) {
    printf(" >BStringPtr is NULL\n");
    return;
  }
  bool first = true;
  for (MarkDay* record : Matches(month, day, year)) {
    if (first && withDate) {
      result->assign(record->fDate);
      result->append("\n");
    }
    first = false;
    if (record->fCategory == kCategoryGlobal) {
      result->append(long2asc(record->fKind));
      result->append(" : ");
    }
    result->append(record->fName);
    result->append(withDate ? "\n" : " | ");
  }
}

void STMarkups::GetMarkUpText(int32 month, int32 day, int32 year, std::string* result,
                              bool /*unused*/)
{
  if (result == nullptr) {
    printf(" >BStringPtr is NULL\n");
    return;
  }
  bool first = true;
  for (MarkDay* record : Matches(month, day, year)) {
    if (!first)
      result->append("<br>&#160; &#160; &#160; &#160;");
    first = false;
    result->append("\t<b>");
    result->append(FontTag(record->fCategory));
    AppendHtmlEscaped(result, record->fName);
    if (record->fCategory == kCategoryGlobal) {
      result->append(" (");
      AppendHtmlEscaped(result, long2asc(record->fKind));
      result->append(")");
    }
    result->append("</font></b>\n");
  }
}
