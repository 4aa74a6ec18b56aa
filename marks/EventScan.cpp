#include "marks/EventScan.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "marks/STMarkups.h"
#include "platform/storage/BDirectory.h"
#include "platform/storage/FindDirectory.h"

namespace {

constexpr size_t kAttrLength = 1024;

// One attribute as text: at most 1023 bytes, always NUL-terminated.
// Returns the bytes read, or a negative status.
ssize_t ReadText(const BNode& node, const char* name, char (&buffer)[kAttrLength])
{
  memset(buffer, 0, sizeof(buffer));
  return node.ReadAttr(name, B_STRING_TYPE, 0, buffer, sizeof(buffer) - 1);
}

// The time itself: the attribute's first four bytes are seconds since
// 1970, in the host's byte order.
int32 BinaryTime(const char (&timeAttr)[kAttrLength])
{
  int32 seconds;
  memcpy(&seconds, timeAttr, sizeof(seconds));
  return seconds;
}

// The attribute is also read as decimal text from its start; a time that is
// negative either way is no usable time.
bool NegativeTime(const char (&timeAttr)[kAttrLength])
{
  return strtol(timeAttr, nullptr, 10) < 0 || BinaryTime(timeAttr) < 0;
}

// The event's time attribute, or false when the file gives no usable time.
bool ReadEventTime(const BNode& node, char (&timeAttr)[kAttrLength])
{
  if (ReadText(node, "EVENT:NextA", timeAttr) >= 2) {
    if (NegativeTime(timeAttr))
      return false;
    printf(" NextAlarm: ");
    return true;
  }
  char warn[kAttrLength];
  if (ReadText(node, "EVENT:Warn", warn) < 2)
    return false;
  if (memcmp(warn, "idle", 5) == 0)
    return false;
  printf(" Warn: %s ", warn);
  if (ReadText(node, "EVENT:tStart", timeAttr) < 2)
    return false;
  return !NegativeTime(timeAttr);
}

// Turns one event file into a record; false when it has no usable time.
bool ReadEvent(const BNode& node, STMarkups* marks)
{
  char summary[kAttrLength];
  if (ReadText(node, "EVENT:Summary", summary) < 2)
    snprintf(summary, sizeof(summary), " - no info -");

  char timeAttr[kAttrLength];
  if (!ReadEventTime(node, timeAttr))
    return false;
  time_t when = BinaryTime(timeAttr);
  struct tm local;
  if (localtime_r(&when, &local) == nullptr)
    return false;

  char timeText[20];
  char dateText[20];
  strftime(timeText, sizeof(timeText), "%H:%M ", &local);
  strftime(dateText, sizeof(dateText), "%Y/%m/%d", &local);
  std::string eventText = std::string(" ") + timeText + summary;
  if (eventText.size() > kAttrLength - 1)
    eventText.resize(kAttrLength - 1);
  printf("[%s]", dateText);
  printf(" %s\n", eventText.c_str());

  auto record = std::make_unique<MarkDay>();
  record->NewName(eventText.c_str());
  record->NewDate(dateText);
  record->fKind = 'evnt';
  record->fShow = false;
  marks->AddMarkDay(std::move(record));
  return true;
}

} // namespace

int32 LookForVEvents()
{
  STMarkups* marks = STMarkups::getSTMarkups();
  BPath folder;
  find_directory(B_USER_DIRECTORY, &folder);
  folder.Append("events");
  BDirectory dir(folder.Path());
  if (dir.InitCheck() != B_OK)
    return 0;
  marks->fHasEvents = true;
  dir.Rewind();

  int32 found = 0;
  int32 added = 0;
  BEntry entry;
  while (dir.GetNextEntry(&entry, false) == B_OK) {
    // A link carries no attributes of its own and is not followed.
    if (entry.IsSymLink())
      continue;
    BPath path;
    entry.GetPath(&path);
    BNode node(path.Path());
    if (node.InitCheck() != B_OK || !ReadEvent(node, marks))
      continue;
    added++;
    found++;
  }
  printf("\n - %d vEvents gfunden (add %d)\n", found, added);
  return found;
}
