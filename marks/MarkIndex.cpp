#include "marks/MarkIndex.h"

#include <algorithm>

namespace {

constexpr size_t kDaySlots = 32;
constexpr size_t kBucketCount = 13 * kDaySlots;

bool RecursEveryYear(const MarkDay& record)
{
  return record.fKind == 'user' || record.fYear == 0;
}

bool OnDay(const MarkDay& record, int32 month, int32 day)
{
  return record.fMonth == month && record.fDay == day;
}

} // namespace

// Real days get a bucket of their own; records with a month or day outside
// the calendar share bucket 0 and are told apart by comparing both fields.
size_t MarkIndex::Key(int32 month, int32 day)
{
  if (month < 1 || month > 12 || day < 1 || day > 31)
    return 0;
  return static_cast<size_t>(month) * kDaySlots + static_cast<size_t>(day);
}

void MarkIndex::Rebuild(const std::vector<std::unique_ptr<MarkDay>>& list)
{
  Clear();
  fBuckets.resize(kBucketCount);
  for (size_t position = 0; position < list.size(); position++) {
    MarkDay* record = list[position].get();
    if (!record->fShow)
      continue;
    Bucket& bucket = fBuckets[Key(record->fMonth, record->fDay)];
    (RecursEveryYear(*record) ? bucket.everyYear : bucket.dated).push_back({position, record, record->fYear});
  }
  for (Bucket& bucket : fBuckets) {
    std::stable_sort(bucket.dated.begin(), bucket.dated.end(),
                     [](const Entry& a, const Entry& b) { return a.year < b.year; });
  }
}

void MarkIndex::Clear()
{
  fBuckets.clear();
}

const MarkIndex::Bucket* MarkIndex::Find(int32 month, int32 day) const
{
  if (fBuckets.empty())
    return nullptr;
  return &fBuckets[Key(month, day)];
}

// Visits the matching records in list order until visit returns false.
template <typename Visit>
void MarkIndex::ForEachMatch(int32 month, int32 day, int32 year, Visit visit) const
{
  const Bucket* bucket = Find(month, day);
  if (bucket == nullptr)
    return;
  const std::vector<Entry>& byYear = bucket->dated;
  auto datedIt = std::lower_bound(byYear.begin(), byYear.end(), year,
                                  [](const Entry& e, int32 y) { return e.year < y; });
  auto datedEnd = std::upper_bound(datedIt, byYear.end(), year,
                                   [](int32 y, const Entry& e) { return y < e.year; });
  auto every = bucket->everyYear.begin();
  while (every != bucket->everyYear.end() || datedIt != datedEnd) {
    bool takeEvery = datedIt == datedEnd ||
                     (every != bucket->everyYear.end() && every->position < datedIt->position);
    const Entry& entry = takeEvery ? *every++ : *datedIt++;
    if (OnDay(*entry.record, month, day) && !visit(entry.record))
      return;
  }
}

MarkDay* MarkIndex::First(int32 month, int32 day, int32 year) const
{
  MarkDay* first = nullptr;
  ForEachMatch(month, day, year, [&first](MarkDay* record) {
    first = record;
    return false;
  });
  return first;
}

std::vector<MarkDay*> MarkIndex::All(int32 month, int32 day, int32 year) const
{
  std::vector<MarkDay*> matches;
  ForEachMatch(month, day, year, [&matches](MarkDay* record) {
    matches.push_back(record);
    return true;
  });
  return matches;
}

bool MarkIndex::HasEvent(int32 month, int32 day, int32 year) const
{
  bool found = false;
  ForEachMatch(month, day, year, [&found, year](MarkDay* record) {
    found = record->fKind == 'evnt' && record->fYear == year;
    return !found;
  });
  return found;
}
