// One marked day: a holiday of a region, a user's own day (birthday,
// anniversary) or an event. The kind is a four-character code ('enUS',
// 'deDE', 'user', 'evnt'); the date is the ten-character day text, with
// "ever" as year for a day that recurs every year.
//
//   MarkDay day;                    // today, "--no-name--", 'deDE'
//   day.NewDate("ever/12/25");      // fMonth 12, fDay 25, fYear 0
//   day.NewName("Christmas Day");
//   day.PrintToFile(file);          // [HD][ever/12/25][Christmas Day][deDE]
#pragma once

#include <cstdio>
#include <string>

#include "calendar/CalDay.h"
#include "platform/support/SupportDefs.h"

// Categories the registry sorts records into.
enum : int32 {
  kCategoryNone = 0,
  kCategoryGlobal = 1,
  kCategoryLocal = 2,
  kCategoryUser = 3,
  kCategoryEvent = 4,
};

class MarkDay {
public:
  // A blank record for the file reader and the event scan: today's date
  // text, but no day, month or year yet, so it matches no day until NewDate.
  MarkDay();
  MarkDay(const char* name, const kx_calday* day);
  virtual ~MarkDay();

  MarkDay(const MarkDay&) = delete;
  MarkDay& operator=(const MarkDay&) = delete;

  virtual void NewName(const char* text);
  // Takes at most 11 characters of the text as date text and reads it.
  virtual void NewDate(const char* text);
  // Reads year, month and day from the date text; returns the day.
  virtual int32 DateInData();

  virtual void PrintToStream() const;
  virtual void PrintToFile(FILE* file) const;
  virtual void PrintToXML(FILE* file) const;

  // Number of the last record made, less one for each destroyed; starts at -1.
  static int32 Nr;

  int32 fNr;
  uint32 fKind;
  char fDate[12];
  std::string fName;
  int32 fDay;
  int32 fMonth;
  int32 fYear;
  int32 fCategory;
  bool fShow;

private:
  void SetDateText(const char* text);
};
