// The registry of marked days: holidays and user days from the MarkDays
// file, events from the event scan. It sorts the records into global
// holidays, local holidays (the home region), user days and events, decides
// from the settings which are shown, and answers for one day whether it is
// marked and what text describes it.
//
//   STMarkups* marks = STMarkups::getSTMarkups();   // loads the MarkDays file
//   LookForVEvents();
//   marks->CheckHolidays();                         // after every change
//   if (MarkDay* mark = marks->IsMarkDay(12, 25, 2006)) ...
//   std::string text;
//   marks->GetMarkText(12, 25, 2006, &text, false);  // "enUS : Christmas Day | "
//
// Lookups see only shown records and use an index by month and day; both
// are brought up to date by CheckHolidays. The index also follows additions
// and ClearList on its own, but a record changed in place (its date or
// shown flag) is seen correctly only after the next CheckHolidays.
//
// Besides the list, the registry holds year sources (iCalendar files,
// marks/YearSource.h), each under an id of its own: the first lookup of a
// year asks them which days of that year they mark, and the first lookup
// of such a day makes its records; both stay for further lookups. Their
// records come after the list's, and each entry of a source counts once.
//
// A source's marks are replaced as a whole, on the GUI thread: a file read
// again, later a remote calendar whose sync has completed. What the new
// source marks is worked out before it is handed over, so no lookup ever
// sees half of the old and half of the new:
//
//   std::vector<int32> years = marks->LookedUpYears();  // GUI thread, as the sync starts
//   ...
//   SourceMarks update{"https://example.org/cal/work", calendar, {}};
//   for (int32 year : years)                             // the worker, once it has synced
//     calendar->MarksOf(year, &update.years[year], Deadline(kYearBudget));
//   ...
//   marks->ReplaceYearSource(std::move(update));         // GUI thread
//   marks->CheckHolidays();                              // the counts
//   ...                                                  // and the views drawn again
//
// With a year worker (marks/CalendarWorker.h), a lookup of a year not yet
// worked out finds only the list's records and asks the worker; the
// year's marks arrive with TakeYearMarks, after which the views are drawn
// again. The registry and its lookups belong to the GUI thread.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "marks/MarkDay.h"
#include "marks/MarkIndex.h"
#include "marks/YearSource.h"
#include "platform/support/SupportDefs.h"

class Prefs;

class STMarkups {
public:
  // The registry, made (and the MarkDays file read) on the first call.
  static STMarkups* getSTMarkups();
  // Deletes every record and then the registry.
  virtual void DeleteMe();

  // Deletes every record of the list and the records made of the year
  // sources' marks; the sources stay until they are replaced.
  void ClearList();
  // Appends the records of the MarkDays file at path (the default path for
  // null); a missing file leaves the list as it is. Returns B_OK.
  status_t LoadHolidays(const char* path);
  // Sorts every record (and the year sources' records made so far) into its
  // category, sets its shown flag from the settings, counts the records and
  // the sources' entries and rebuilds the lookup indexes.
  void CheckHolidays();
  void ShowInfo() const;

  // The first shown record marking the day (month 1..12, full year), or null.
  MarkDay* IsMarkDay(int32 month, int32 day, int32 year);
  // True when a shown event lies on the day in exactly that year.
  bool IsEventDay(int32 month, int32 day, int32 year);
  // Appends the plain text of the day's shown records: with withDate the
  // result is replaced by the date line and each record gets its own line,
  // else records are appended separated by " | ".
  void GetMarkText(int32 month, int32 day, int32 year, std::string* result, bool withDate);
  // Appends the day's shown records as HTML, names and kinds escaped.
  void GetMarkUpText(int32 month, int32 day, int32 year, std::string* result, bool unused);

  // Takes ownership of a record and appends it to the list; returns it.
  MarkDay* AddMarkDay(std::unique_ptr<MarkDay> record);
  int32 CountItems() const { return static_cast<int32>(fList.size()); }
  MarkDay* ItemAt(int32 index) const;
  // Replaces the year source of the marks' id, with its marks in the years
  // they hold, as a whole: the old source's marks and records go, the new
  // ones join the lookups at once, in the old source's place among the
  // sources (a new id comes last). A null source removes the id. Years the
  // new source was not worked out for are worked out when looked up. An
  // events source sets fHasEvents. Run CheckHolidays afterwards.
  void ReplaceYearSource(SourceMarks marks);
  int32 CountYearSources() const { return static_cast<int32>(fSources.size()); }
  // The ids of the year sources, in their order.
  std::vector<std::string> YearSourceIds() const;
  // The years looked up so far, in order: those a new source should bring
  // its marks for.
  std::vector<int32> LookedUpYears() const;

  // With a worker, years are worked out on its thread (null: at the first
  // lookup, on this thread). The worker must outlive the registry or be
  // unset first.
  void SetYearWorker(YearWorker* worker) { fWorker = worker; }
  // The worked-out marks of a year; those of sources replaced meanwhile are
  // dropped. The views are then to be drawn again.
  void TakeYearMarks(int32 year, std::vector<SourceYear> worked);
  // Whether every source's marks of the year are there; asks the worker
  // for those that are not.
  bool YearReady(int32 year);

  static STMarkups* aMarkupsZgr;

  const uint32 fRegion;  // records of this kind are local holidays
  int32 fGlobals;
  int32 fLocals;
  int32 fUsers;
  int32 fEvents;
  int32 fTodayCode;      // year * 10000 + month * 100 + day of "today"
  Prefs* fPrefs;
  bool fHasEvents;       // the events folder could be opened

protected:
  STMarkups();
  virtual ~STMarkups();

private:
  using Records = std::vector<std::unique_ptr<MarkDay>>;
  struct SourceSlot {
    std::string id;
    std::shared_ptr<const YearSource> source;
  };
  // What the year sources mark in one year, and the records made so far of
  // the days looked up.
  struct YearDays {
    // Each source's marks, sorted by day; a source missing here has not
    // been worked out for the year yet.
    std::map<const YearSource*, std::vector<YearMark>> marks;
    std::map<int32, Records> records;  // by day code
    bool asked = false;                // the worker has the year
  };

  const MarkIndex& Index();
  // The year's entry, with the marks of every source worked out (or asked
  // of the worker); null for years the date texts cannot hold.
  YearDays* Year(int32 year);
  // The sources' records of a day, made on first use; null when there are none.
  const Records* YearRecords(int32 month, int32 day, int32 year);
  // The list's records on the day, then the sources'.
  std::vector<MarkDay*> Matches(int32 month, int32 day, int32 year);
  bool IsCurrentSource(const YearSource* source) const;
  int32 CategoryOf(uint32 kind) const;
  bool IsShown(int32 category) const;
  void Count(int32 category, int32 number);
  void Sort(Records& records);

  Records fList;
  MarkIndex fIndex;
  bool fIndexStale;
  std::vector<SourceSlot> fSources;
  std::map<int32, YearDays> fYears;
  YearWorker* fWorker = nullptr;
};
