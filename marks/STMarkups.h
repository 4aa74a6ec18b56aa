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
// marks/YearSource.h): the first lookup of a year asks them which days of
// that year they mark, and the first lookup of such a day makes its
// records; both stay for further lookups. Their records come after the
// list's, and each entry of a source counts once.
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

  // Deletes every record and every year source.
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
  // The day's shown records: the list's, then the sources'.
  std::vector<MarkDay*> Matches(int32 month, int32 day, int32 year);

  // Takes ownership of a record and appends it to the list; returns it.
  MarkDay* AddMarkDay(std::unique_ptr<MarkDay> record);
  int32 CountItems() const { return static_cast<int32>(fList.size()); }
  MarkDay* ItemAt(int32 index) const;
  // Takes ownership of a year source; its days join the lookups at once.
  void AddYearSource(std::unique_ptr<YearSource> source);
  int32 CountYearSources() const { return static_cast<int32>(fSources.size()); }

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
  // What the year sources mark in one year (source and mark, by day), and
  // the records made so far of the days looked up.
  struct YearDays {
    std::vector<std::pair<size_t, YearMark>> marks;
    std::map<int32, Records> records;
  };

  const MarkIndex& Index();
  // The sources' records of a day, made on first use; null when there are none.
  const Records* YearRecords(int32 month, int32 day, int32 year);
  int32 CategoryOf(uint32 kind) const;
  bool IsShown(int32 category) const;
  void Count(int32 category, int32 number);
  void Sort(Records& records);

  Records fList;
  MarkIndex fIndex;
  bool fIndexStale;
  std::vector<std::unique_ptr<YearSource>> fSources;
  std::map<int32, YearDays> fYears;
};
