// Marked days that the registry learns year by year when a lookup first
// needs that year: the entries of an iCalendar file, which may repeat for
// ever. A source first tells the days of a year it marks, cheaply, as
// marks; the registry makes a record of a mark only when a lookup asks for
// its day. The registry holds its sources by an id of their own and keeps
// what they gave until a source is replaced (STMarkups::ReplaceYearSource).
//
//   class Birthdays : public YearSource { ... };
//   marks->ReplaceYearSource({"birthdays", std::make_shared<Birthdays>(), {}});
//   marks->IsMarkDay(5, 17, 2035);   // asks every source for 2035
//
// Working out a year may be slow (libical's repetitions). Without a year
// worker the registry does it at the first lookup of the year; with one
// (STMarkups::SetYearWorker), a lookup only asks the worker, which works
// the year out on its own thread and hands the marks back on the GUI thread
// (STMarkups::TakeYearMarks). So MarksOf may run on another thread than
// the rest, but never on two at once for one source, and a source does not
// change once it is made.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "marks/Deadline.h"
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
  // What the lines about it call it: a file's path.
  virtual const std::string& Name() const = 0;
  // Appends a mark for every day of the year that an entry marks, each
  // entry's days in order. Gives up at `giveUp`: false when not every day
  // is there.
  virtual bool MarksOf(int32 year, std::vector<YearMark>* marks, const Deadline& giveUp) const = 0;
  // The record of one of its marks: kind, name and date.
  virtual std::unique_ptr<MarkDay> Record(const YearMark& mark) const = 0;
};

// Everything one source marks, made off the GUI thread and handed to the
// registry whole: the source and its marks in the years worked out with it.
struct SourceMarks {
  std::string id;                                // a file's path; a remote calendar's own id
  std::shared_ptr<const YearSource> source;      // null: the source is gone
  std::map<int32, std::vector<YearMark>> years;  // by year, each sorted by day
};

// The marks of one source in one year, worked out.
struct SourceYear {
  std::shared_ptr<const YearSource> source;
  std::vector<YearMark> marks;  // sorted by day
};

// Works out years of sources away from the GUI thread, for the registry.
class YearWorker {
public:
  virtual ~YearWorker() = default;
  // Works out the year of the sources and hands the marks back with
  // STMarkups::TakeYearMarks on the GUI thread. Returns at once.
  virtual void WorkOut(int32 year, std::vector<std::shared_ptr<const YearSource>> sources) = 0;
};
