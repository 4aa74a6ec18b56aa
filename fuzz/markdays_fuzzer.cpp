// Feeds arbitrary bytes to the MarkDays reader as a file, then asks the
// registry about every day a record names. Whatever the file holds, the
// reader must stay inside its buffers, every date text must be terminated,
// and every shown record must be found on its own day.
#include "fuzz/FuzzHome.h"
#include "marks/STMarkups.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
std::string gPath;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  gPath = MakeFuzzHome("markdays") + "/MarkDays";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FILE* file = fopen(gPath.c_str(), "wb");
  if (file == nullptr)
    abort();
  if (size > 0 && fwrite(data, 1, size, file) != size)
    abort();
  fclose(file);

  STMarkups* marks = STMarkups::getSTMarkups();
  marks->ClearList();
  marks->LoadHolidays(gPath.c_str());
  marks->CheckHolidays();
  std::string text;
  for (int32 i = 0; i < marks->CountItems(); i++) {
    const MarkDay* record = marks->ItemAt(i);
    if (memchr(record->fDate, '\0', sizeof(record->fDate)) == nullptr)
      abort();
    const int32 year = record->fYear;
    if (record->fShow && marks->IsMarkDay(record->fMonth, record->fDay, year) == nullptr)
      abort();
    marks->IsEventDay(record->fMonth, record->fDay, year);
    marks->GetMarkText(record->fMonth, record->fDay, year, &text, true);
    marks->GetMarkUpText(record->fMonth, record->fDay, year, &text, true);
    text.clear();
  }
  return 0;
}
