// Marked days that the registry learns year by year when a lookup first
// needs that year: the entries of an iCalendar file, which may repeat for
// ever. A source first tells the days of a year it marks, cheaply, as
// marks; the registry makes a record of a mark only when a lookup asks for
// its day. The registry owns its sources and keeps what they gave until
// the list is cleared.
//
//   class Birthdays : public YearSource { ... };
//   marks->AddYearSource(std::make_unique<Birthdays>());
//   marks->IsMarkDay(5, 17, 2035);   // asks every source for 2035
#pragma once

#include <memory>
#include <vector>

#include "marks/MarkDay.h"

// One day a source marks.
struct YearMark {
  int32 code;     // year * 10000 + month * 100 + day
  int32 entry;    // which of the source's entries marks it
  int32 minutes;  // local start time in minutes after midnight; -1 all day
};

class YearSource {
public:
  virtual ~YearSource() = default;

  // The kind of all its days: a region code, 'user' or 'evnt'.
  virtual uint32 Kind() const = 0;
  // How many entries it holds; the registry counts each entry once, however
  // many days it marks.
  virtual int32 CountEntries() const = 0;
  // Appends a mark for every day of the year that an entry marks, each
  // entry's days in order.
  virtual void MarksOf(int32 year, std::vector<YearMark>* marks) const = 0;
  // The record of one of its marks: kind, name and date.
  virtual std::unique_ptr<MarkDay> Record(const YearMark& mark) const = 0;
};
