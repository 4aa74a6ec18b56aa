#include "marks/EventScan.h"
#include "tests/marks/MarksFixture.h"

#include <cstring>
#include <map>
#include <unistd.h>

namespace {

// Seconds since 1970 of a local time in the test's zone, as the reminder
// program stores them: four bytes in host order.
std::string LocalTime(int year, int month, int day, int hour, int minute)
{
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_isdst = -1;
  int32 seconds = static_cast<int32>(mktime(&local));
  return std::string(reinterpret_cast<const char*>(&seconds), sizeof(seconds));
}

std::string Seconds(int32 seconds)
{
  return std::string(reinterpret_cast<const char*>(&seconds), sizeof(seconds));
}

class EventScanTest : public MarksTest {
protected:
  // An event file with these user.EVENT:* attributes, set the way another
  // program sets them: raw values, no type information.
  void MakeEvent(const std::string& name, const std::map<std::string, std::string>& attributes)
  {
    std::string path = WriteFile("events/" + name, "");
    for (const auto& [key, value] : attributes)
      ASSERT_EQ(setxattr(path.c_str(), ("user.EVENT:" + key).c_str(), value.data(), value.size(), 0), 0)
          << key;
  }

  int32 Scan(std::string* out)
  {
    testing::internal::CaptureStdout();
    int32 found = LookForVEvents();
    *out = testing::internal::GetCapturedStdout();
    return found;
  }
};

TEST_F(EventScanTest, OneFileEach)
{
  const std::string alarm = LocalTime(2006, 7, 14, 10, 5);
  const std::string start = LocalTime(2006, 8, 1, 9, 0);
  struct Row {
    const char* edge;
    std::map<std::string, std::string> attributes;
    const char* date;  // null: the file gives no event
    const char* name;
    const char* trace;  // a part of the scan's output
  } rows[] = {
      {"alarm time", {{"Summary", "Dentist"}, {"NextA", alarm}}, "2006/07/14", " 10:05 Dentist",
       " NextAlarm: [2006/07/14]  10:05 Dentist\n"},
      {"alarm is used even with an idle warning",
       {{"Summary", "Dentist"}, {"NextA", alarm}, {"Warn", std::string("idle", 5)}},
       "2006/07/14", " 10:05 Dentist", " NextAlarm: "},
      {"idle warning without alarm is skipped",
       {{"Summary", "Dentist"}, {"Warn", std::string("idle", 5)}, {"tStart", start}}, nullptr,
       nullptr, nullptr},
      {"idle without its NUL still reads as idle",
       {{"Summary", "Dentist"}, {"Warn", "idle"}, {"tStart", start}}, nullptr, nullptr, nullptr},
      {"other warning uses the start time",
       {{"Summary", "Meeting"}, {"Warn", std::string("5min", 5)}, {"tStart", start}},
       "2006/08/01", " 09:00 Meeting", " Warn: 5min [2006/08/01]  09:00 Meeting\n"},
      {"warning without start time is skipped", {{"Summary", "Meeting"}, {"Warn", "5min"}},
       nullptr, nullptr, nullptr},
      {"no time attributes at all", {{"Summary", "Nothing"}}, nullptr, nullptr, nullptr},
      {"no summary", {{"NextA", alarm}}, "2006/07/14", " 10:05  - no info -", nullptr},
      {"a one-byte summary counts as none", {{"Summary", "x"}, {"NextA", alarm}}, "2006/07/14",
       " 10:05  - no info -", nullptr},
      {"one-byte alarm falls back to the warning", {{"NextA", "1"}, {"Warn", "idle"}}, nullptr,
       nullptr, nullptr},
      {"time that reads as a negative number is skipped",
       {{"Summary", "Odd"}, {"NextA", std::string("-5\0\0", 4)}}, nullptr, nullptr, nullptr},
      {"negative start time text is skipped",
       {{"Summary", "Odd"}, {"Warn", "soon"}, {"tStart", std::string("-1", 2)}}, nullptr,
       nullptr, nullptr},
      {"time before 1970 is an event", {{"Summary", "Old"}, {"NextA", Seconds(-86400)}},
       "1969/12/31", " 01:00 Old", nullptr},
      {"alarm at 23:30 local time is on that local day",
       {{"Summary", "Late"}, {"NextA", LocalTime(2006, 7, 14, 23, 30)}}, "2006/07/14",
       " 23:30 Late", nullptr},
      {"alarm at 00:30 local time is on the local day, not the UTC day",
       {{"Summary", "Early"}, {"NextA", LocalTime(2006, 1, 15, 0, 30)}}, "2006/01/15",
       " 00:30 Early", nullptr},
      {"summary of 1023 bytes and more is cut",
       {{"Summary", std::string(1500, 's')}, {"NextA", alarm}}, "2006/07/14",
       nullptr, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    fMarks->ClearList();
    unlink(fHome.Path("events/one").c_str());
    MakeEvent("one", row.attributes);
    std::string out;
    int32 found = Scan(&out);
    if (row.date == nullptr) {
      EXPECT_EQ(found, 0);
      EXPECT_EQ(fMarks->CountItems(), 0);
      continue;
    }
    EXPECT_EQ(found, 1);
    ASSERT_EQ(fMarks->CountItems(), 1);
    const MarkDay* event = fMarks->ItemAt(0);
    EXPECT_STREQ(event->fDate, row.date);
    if (row.name != nullptr) {
      EXPECT_EQ(event->fName, row.name);
    } else {
      EXPECT_EQ(event->fName.size(), 1023u);
    }
    EXPECT_EQ(event->fKind, static_cast<uint32>('evnt'));
    EXPECT_FALSE(event->fShow) << "shown only once CheckHolidays has run";
    if (row.trace != nullptr) {
      EXPECT_NE(out.find(row.trace), std::string::npos) << out;
    }
    EXPECT_NE(out.find("\n - 1 vEvents gfunden (add 1)\n"), std::string::npos) << out;
  }
}

TEST_F(EventScanTest, Folder)
{
  std::string out;
  EXPECT_EQ(Scan(&out), 0);
  EXPECT_EQ(out, "") << "a missing folder is quiet";
  EXPECT_FALSE(fMarks->fHasEvents);

  mkdir(fHome.Path("events").c_str(), 0755);
  EXPECT_EQ(Scan(&out), 0);
  EXPECT_EQ(out, "\n - 0 vEvents gfunden (add 0)\n");
  EXPECT_TRUE(fMarks->fHasEvents) << "an empty folder is still an event source";

  MakeEvent("real", {{"Summary", "Dentist"}, {"NextA", LocalTime(2006, 7, 14, 10, 5)}});
  ASSERT_EQ(symlink(fHome.Path("events/real").c_str(), fHome.Path("events/link").c_str()), 0);
  EXPECT_EQ(Scan(&out), 1) << "the link is not followed";
  fMarks->CheckHolidays();
  EXPECT_TRUE(fMarks->IsEventDay(7, 14, 2006));
  EXPECT_FALSE(fMarks->IsEventDay(7, 14, 2007));
}

} // namespace
