// Lookup index of the marked-day registry: the shown records grouped by
// month and day, so asking for one day looks only at the records of that
// day. Within a day, records that recur (user days, year 0) are kept apart
// from the dated ones, which are sorted by year; answers merge the two in
// list order, so the record added first still wins.
#pragma once

#include <memory>
#include <vector>

#include "marks/MarkDay.h"

class MarkIndex {
public:
  // Indexes the shown records of the list. The index holds plain pointers:
  // rebuild or clear it whenever the list or a record's date or shown flag
  // changes.
  void Rebuild(const std::vector<std::unique_ptr<MarkDay>>& list);
  void Clear();

  // The first shown record that marks the day, or null.
  MarkDay* First(int32 month, int32 day, int32 year) const;
  // Every shown record that marks the day, in list order.
  std::vector<MarkDay*> All(int32 month, int32 day, int32 year) const;
  // True when a shown event lies on exactly that day and year.
  bool HasEvent(int32 month, int32 day, int32 year) const;

private:
  struct Entry {
    size_t position;
    MarkDay* record;
    int32 year;
  };
  struct Bucket {
    std::vector<Entry> everyYear;  // user days and year 0, in list order
    std::vector<Entry> dated;      // by year, then list order
  };

  static size_t Key(int32 month, int32 day);
  const Bucket* Find(int32 month, int32 day) const;
  template <typename Visit>
  void ForEachMatch(int32 month, int32 day, int32 year, Visit visit) const;

  std::vector<Bucket> fBuckets;
};
