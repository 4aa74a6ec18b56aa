#include "marks/MarkDay.h"

#include <cstdlib>
#include <cstring>

#include "calendar/Codes.h"

int32 MarkDay::Nr = -1;

MarkDay::MarkDay()
    : fNr(++Nr), fKind('deDE'), fName("--no-name--"), fDay(0), fMonth(0), fYear(0),
      fCategory(kCategoryNone), fShow(true)
{
  SetDateText(CDay2str(str2CDay(nullptr).get()));
}

MarkDay::MarkDay(const char* name, const kx_calday* day)
    : fNr(++Nr), fKind('deDE'), fName(name != nullptr ? name : ""), fDay(0), fMonth(0),
      fYear(0), fCategory(kCategoryNone), fShow(true)
{
  SetDateText(CDay2str(day));
  DateInData();
}

MarkDay::~MarkDay()
{
  Nr--;
}

void MarkDay::NewName(const char* text)
{
  fName = text != nullptr ? text : "";
}

void MarkDay::NewDate(const char* text)
{
  SetDateText(text);
  DateInData();
}

int32 MarkDay::DateInData()
{
  fYear = static_cast<int32>(strtol(fDate, nullptr, 10));
  fMonth = static_cast<int32>(strtol(fDate + 5, nullptr, 10));
  fDay = static_cast<int32>(strtol(fDate + 8, nullptr, 10));
  return fDay;
}

void MarkDay::PrintToStream() const
{
  printf("[%3d][%10s][%s][%s]\n", fNr, fDate, fName.c_str(), long2asc(fKind));
}

void MarkDay::PrintToFile(FILE* file) const
{
  fprintf(file, "[HD][%10s][%s][%s]\n", fDate, fName.c_str(), long2asc(fKind));
}

void MarkDay::PrintToXML(FILE* file) const
{
  fprintf(file, "<MarkDay><hd_r>%s</hd_r><hd_d>%10s</hd_d><hd_c>%s</hd_c></MarkDay>\n",
          long2asc(fKind), fDate, fName.c_str());
}

// Copies at most 11 characters and pads with NULs, so the month and day
// positions read by DateInData are always inside the buffer.
void MarkDay::SetDateText(const char* text)
{
  memset(fDate, 0, sizeof(fDate));
  if (text != nullptr)
    strncpy(fDate, text, sizeof(fDate) - 1);
}
