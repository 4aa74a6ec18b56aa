#include "marks/EventScan.h"
#include "tests/marks/MarksFixture.h"
#include "calendar/LocalTime.h"

#include <map>
#include <unistd.h>

namespace {

// Four bytes in host order: seconds since 1970, as the reminder program
// stores its times.
std::string LocalTime(int year, int month, int day, int hour, int minute)
{
  const int32 seconds = static_cast<int32>(LocalInstant(year, month, day, hour, minute));
  return std::string(reinterpret_cast<const char*>(&seconds), sizeof(seconds));
}

class EventScanTest : public MarksTest {
protected:
  // An event file whose user.EVENT:* attributes are set the way another
  // program sets them: raw values, no type information.
  void MakeEvent(const std::string& name, const std::map<std::string, std::string>& attributes)
  {
    std::string path = WriteFile("events/" + name, "");
    for (const auto& [key, value] : attributes)
      ASSERT_EQ(setxattr(path.c_str(), ("user.EVENT:" + key).c_str(), value.data(), value.size(), 0), 0);
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
  const std::string idle("idle", 5);
  const struct {
    const char* edge;
    std::map<std::string, std::string> attributes;
    std::string trace;  // the record's lines of the output; empty: no event
  } rows[] = {
      {"alarm time", {{"Summary", "Dentist"}, {"NextA", alarm}}, " NextAlarm: [2006/07/14]  10:05 Dentist\n"},
      {"alarm is used even with an idle warning", {{"Summary", "Dentist"}, {"NextA", alarm}, {"Warn", idle}},
       " NextAlarm: [2006/07/14]  10:05 Dentist\n"},
      {"idle warning without alarm", {{"Summary", "Dentist"}, {"Warn", idle}, {"tStart", alarm}}, ""},
      {"other warning uses the start time",
       {{"Summary", "Meeting"}, {"Warn", "5min"}, {"tStart", LocalTime(2006, 8, 1, 9, 0)}},
       " Warn: 5min [2006/08/01]  09:00 Meeting\n"},
      {"warning without start time", {{"Summary", "Meeting"}, {"Warn", "5min"}}, ""},
      {"no summary", {{"NextA", alarm}}, " NextAlarm: [2006/07/14]  10:05  - no info -\n"},
      {"time that reads as a negative number", {{"Summary", "Odd"}, {"NextA", std::string("-5\0\0", 4)}}, ""},
      {"alarm time whose four bytes are negative", {{"Summary", "Odd"}, {"NextA", "\xff\xff\xff\xff"}}, ""},
      {"start time whose four bytes are negative",
       {{"Summary", "Odd"}, {"Warn", "5min"}, {"tStart", std::string("\0\0\0\x80", 4)}}, ""},
      {"alarm at 23:30 local time is on that local day",
       {{"Summary", "Late"}, {"NextA", LocalTime(2006, 7, 14, 23, 30)}}, " NextAlarm: [2006/07/14]  23:30 Late\n"},
      {"alarm at 00:30 local time is on the local day, not the UTC one",
       {{"Summary", "Early"}, {"NextA", LocalTime(2006, 1, 15, 0, 30)}}, " NextAlarm: [2006/01/15]  00:30 Early\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    fMarks->ClearList();
    unlink(fHome.Path("events/one").c_str());
    MakeEvent("one", row.attributes);
    std::string out;
    int32 found = Scan(&out);
    if (row.trace.empty()) {
      EXPECT_EQ(found, 0);
      EXPECT_EQ(fMarks->CountItems(), 0);
      continue;
    }
    EXPECT_EQ(out, row.trace + "\n - 1 vEvents gfunden (add 1)\n");
    ASSERT_EQ(fMarks->CountItems(), 1);
    const MarkDay* event = fMarks->ItemAt(0);
    // The name and date are what the trace line shows: "[date] name".
    size_t close = row.trace.find(']');
    EXPECT_EQ(event->fDate, row.trace.substr(close - 10, 10));
    EXPECT_EQ(event->fName, row.trace.substr(close + 2, row.trace.size() - close - 3));
    EXPECT_EQ(event->fKind, static_cast<uint32>('evnt'));
    EXPECT_FALSE(event->fShow) << "shown only once CheckHolidays has run";
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
}

} // namespace
