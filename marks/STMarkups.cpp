#include "marks/STMarkups.h"

#include <algorithm>
#include <cstdio>

#include "calendar/Codes.h"
#include "marks/HtmlEscape.h"
#include "marks/MarkDaysFile.h"
#include "marks/YearWork.h"
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
  for (auto& [year, days] : fYears)
    days.records.clear();
}

MarkDay* STMarkups::AddMarkDay(std::unique_ptr<MarkDay> record)
{
  if (record == nullptr)
    return nullptr;
  fList.push_back(std::move(record));
  fIndexStale = true;
  return fList.back().get();
}

void STMarkups::ReplaceYearSource(SourceMarks marks)
{
  auto slot = std::find_if(fSources.begin(), fSources.end(),
                           [&marks](const SourceSlot& known) { return known.id == marks.id; });
  if (slot != fSources.end()) {
    for (auto& [year, days] : fYears)
      days.marks.erase(slot->source.get());
  }
  if (marks.source == nullptr) {
    if (slot != fSources.end())
      fSources.erase(slot);
  } else {
    if (slot == fSources.end())
      slot = fSources.insert(fSources.end(), SourceSlot{marks.id, nullptr});
    slot->source = std::move(marks.source);
    for (auto& [year, yearMarks] : marks.years) {
      if (year < 1 || year > 9999)
        continue;
      SortYearMarks(year, &yearMarks);
      fYears[year].marks[slot->source.get()] = std::move(yearMarks);
    }
    if (slot->source->Kind() == 'evnt')
      fHasEvents = true;
  }
  // The records made of the old marks go; the lookups make them anew.
  for (auto& [year, days] : fYears)
    days.records.clear();
}

std::vector<std::string> STMarkups::YearSourceIds() const
{
  std::vector<std::string> ids;
  for (const SourceSlot& slot : fSources)
    ids.push_back(slot.id);
  return ids;
}

std::vector<int32> STMarkups::LookedUpYears() const
{
  std::vector<int32> years;
  for (const auto& [year, days] : fYears)
    years.push_back(year);
  return years;
}

bool STMarkups::IsCurrentSource(const YearSource* source) const
{
  return std::any_of(fSources.begin(), fSources.end(),
                     [source](const SourceSlot& slot) { return slot.source.get() == source; });
}

void STMarkups::TakeYearMarks(int32 year, std::vector<SourceYear> worked)
{
  auto known = fYears.find(year);
  if (known == fYears.end())
    return;
  YearDays& days = known->second;
  days.asked = false;
  for (SourceYear& got : worked) {
    if (got.source != nullptr && IsCurrentSource(got.source.get())) {
      SortYearMarks(year, &got.marks);
      days.marks[got.source.get()] = std::move(got.marks);
    }
  }
  days.records.clear();
}

bool STMarkups::YearReady(int32 year)
{
  const YearDays* days = Year(year);
  return days == nullptr || days->marks.size() == fSources.size();
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

  for (const SourceSlot& slot : fSources)
    Count(CategoryOf(slot.source->Kind()), slot.source->CountEntries());
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

STMarkups::YearDays* STMarkups::Year(int32 year)
{
  // Years the date texts cannot hold are never asked of the sources.
  if (year < 1 || year > 9999)
    return nullptr;
  YearDays& days = fYears[year];
  if (days.marks.size() == fSources.size() || (fWorker != nullptr && days.asked))
    return &days;
  std::vector<std::shared_ptr<const YearSource>> missing;
  for (const SourceSlot& slot : fSources) {
    if (days.marks.count(slot.source.get()) == 0)
      missing.push_back(slot.source);
  }
  if (fWorker != nullptr) {
    days.asked = true;
    fWorker->WorkOut(year, std::move(missing));
    return &days;
  }
  for (SourceYear& got : WorkOutYear(year, missing))
    days.marks[got.source.get()] = std::move(got.marks);
  days.records.clear();
  return &days;
}

const STMarkups::Records* STMarkups::YearRecords(int32 month, int32 day, int32 year)
{
  if (month < 1 || month > 12 || day < 1 || day > 31)
    return nullptr;
  YearDays* days = Year(year);
  if (days == nullptr || days->marks.empty())
    return nullptr;
  const int32 code = year * 10000 + month * 100 + day;
  auto made = days->records.find(code);
  if (made != days->records.end())
    return &made->second;
  Records records;
  // On one day the sources and their entries keep their order.
  for (const SourceSlot& slot : fSources) {
    auto marks = days->marks.find(slot.source.get());
    if (marks == days->marks.end())
      continue;
    auto first = std::lower_bound(marks->second.begin(), marks->second.end(), code,
                                  [](const YearMark& mark, int32 wanted) { return mark.code < wanted; });
    for (auto it = first; it != marks->second.end() && it->code == code; ++it) {
      if (std::unique_ptr<MarkDay> record = slot.source->Record(*it))
        records.push_back(std::move(record));
    }
  }
  fPrefs = Prefs::getSTPrefs();
  Sort(records);
  return &(days->records[code] = std::move(records));
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
