#include "marks/MarkDaysFile.h"

#include <algorithm>
#include <cstring>

#include "calendar/Codes.h"
#include "marks/MarkDay.h"
#include "platform/storage/FindDirectory.h"

namespace {

constexpr size_t kFieldStart = 5;
constexpr size_t kKindLength = 4;

// A field whose first "/" is its fifth character is a date; others are names.
void ReadDateOrName(const std::string& field, MarkDay* record)
{
  if (field.find('/') == 4)
    record->NewDate(field.c_str());
  else
    record->NewName(field.c_str());
}

void ReadKind(std::string field, MarkDay* record)
{
  field.resize(std::min(field.size(), kKindLength));
  if (!field.empty())
    record->fKind = txt2int(field.c_str());
}

} // namespace

bool IsMarkDaysRecord(const char* piece)
{
  if (piece == nullptr || piece[0] == ';')
    return false;
  return (strstr(piece, "[MD]") != nullptr || strstr(piece, "[HD]") != nullptr) &&
         strstr(piece, "][") != nullptr;
}

void ReadMarkDaysFields(const char* piece, MarkDay* record)
{
  const std::string line(piece);
  size_t start = kFieldStart;
  for (int field = 1; field <= 3; field++) {
    // Each field runs to the next "]"; the next one starts after the "][".
    size_t close = start <= line.size() ? line.find(']', start) : std::string::npos;
    if (close == std::string::npos)
      return;
    std::string text = line.substr(start, close - start);
    if (field < 3)
      ReadDateOrName(text, record);
    else
      ReadKind(std::move(text), record);
    start = close + 2;
  }
}

std::string DefaultMarkDaysPath()
{
  BPath path;
  find_directory(B_USER_DIRECTORY, &path, true);
  path.Append("people/MarkDays");
  return path.Path();
}
