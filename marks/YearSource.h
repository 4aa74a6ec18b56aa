// Marked days that the registry makes year by year when a lookup first
// needs that year: the entries of an iCalendar file, which may repeat for
// ever. The registry owns its sources; it asks each one for the days of a
// year once and keeps the records until the list is cleared.
//
//   class Birthdays : public YearSource { ... };
//   marks->AddYearSource(std::make_unique<Birthdays>());
//   marks->IsMarkDay(5, 17, 2035);   // asks every source for 2035
#pragma once

#include <memory>
#include <vector>

#include "marks/MarkDay.h"

class YearSource {
public:
  virtual ~YearSource() = default;

  // The kind of all its days: a region code, 'user' or 'evnt'.
  virtual uint32 Kind() const = 0;
  // How many entries it holds; the registry counts each entry once, however
  // many days it marks.
  virtual int32 CountEntries() const = 0;
  // Appends a record (kind, name, date of that year) for every day of the
  // year that an entry marks.
  virtual void AddDaysOf(int32 year, std::vector<std::unique_ptr<MarkDay>>* days) const = 0;
};
