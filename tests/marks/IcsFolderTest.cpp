// The calendar folder as the window reads it: the kind from the file name,
// a broken file among good ones, and the registry's lookups, counts,
// switches and reload with iCalendar days.
#include "calendar/Codes.h"
#include "marks/IcsFolder.h"
#include "platform/storage/FindDirectory.h"
#include "tests/marks/MarksFixture.h"

#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <unistd.h>

namespace {

std::string Holidays(const std::string& entries)
{
  return "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Orvella tests//EN\n" + entries + "END:VCALENDAR\n";
}

std::string Day(const char* date, const char* summary, const char* more = "")
{
  return std::string("BEGIN:VEVENT\nDTSTART;VALUE=DATE:") + date + "\nSUMMARY:" + summary + "\n" + more
         + "END:VEVENT\n";
}

class IcsFolderTest : public MarksTest {
protected:
  std::string Folder() const { return fHome.Path(".local/share/orvella/calendars"); }

  void WriteCalendar(const std::string& name, const std::string& content)
  {
    ASSERT_EQ(create_directory(Folder().c_str(), 0755), B_OK);
    WriteFile(".local/share/orvella/calendars/" + name, content);
  }

  // What the window does at start-up and on reload.
  std::string Reload()
  {
    testing::internal::CaptureStdout();
    fMarks->ClearList();
    fMarks->LoadHolidays(nullptr);
    LookForCalendars(nullptr);
    fMarks->CheckHolidays();
    return testing::internal::GetCapturedStdout();
  }

  std::string Text(int32 month, int32 day, int32 year)
  {
    std::string text;
    fMarks->GetMarkText(month, day, year, &text, false);
    return text;
  }
};

TEST_F(IcsFolderTest, KindFromTheFileName)
{
  const struct {
    const char* name;
    uint32 kind;  // 0: not read
  } rows[] = {
      {"deDE.ics", 'deDE'},   {"enUS.ics", 'enUS'},    {"user.ics", 'user'},     {"birthdays.ics", 'evnt'},
      {"DEDE.ics", 'evnt'},   {"dede.ics", 'evnt'},    {"deDEx.ics", 'evnt'},    {"de.ics", 'evnt'},
      {"USER.ics", 'evnt'},   {"evnt.ics", 'evnt'},    {"deDE.ICS", 0},          {"deDE.ics~", 0},
      {".deDE.ics", 0},       {".ics", 0},             {"user.ics.bak", 0},      {"MarkDays", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CalendarKind(row.name), row.kind) << row.name;

  // The home region's file holds local holidays, any other region's global ones.
  const char* home = long2asc(fMarks->fRegion);
  const std::string other = fMarks->fRegion == 'deDE' ? "frFR" : "deDE";
  WriteCalendar(std::string(home) + ".ics", Holidays(Day("20241003", "Home")));
  WriteCalendar(other + ".ics", Holidays(Day("20241004", "Away")));
  WriteCalendar("user.ics", Holidays(Day("20241005", "Mine")));
  WriteCalendar("trips.ics", Holidays("BEGIN:VEVENT\nDTSTART:20241006T073000Z\nSUMMARY:Train\nEND:VEVENT\n"));
  Reload();
  const struct {
    int32 day;
    int32 category;
    const char* text;
  } days[] = {
      {3, kCategoryLocal, "Home | "},
      {4, kCategoryGlobal, ""},  // filled in below: the region comes first
      {5, kCategoryUser, "Mine | "},
      {6, kCategoryEvent, " 09:30 Train | "},
  };
  for (const auto& day : days) {
    SCOPED_TRACE(day.day);
    const MarkDay* mark = fMarks->IsMarkDay(10, day.day, 2024);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->fCategory, day.category);
    EXPECT_EQ(Text(10, day.day, 2024), day.day == 4 ? other + " : Away | " : day.text);
  }
  EXPECT_TRUE(fMarks->IsEventDay(10, 6, 2024));
  EXPECT_FALSE(fMarks->IsEventDay(10, 6, 2025));
  EXPECT_TRUE(fMarks->fHasEvents) << "an events file enables the events switch";
}

TEST_F(IcsFolderTest, BrokenFileNextToGoodOnes)
{
  WriteFile("people/MarkDays", "[HD][ever/12/25][Christmas Day][frFR]\n");
  WriteCalendar("deDE.ics", Holidays(Day("20241003", "Tag der Deutschen Einheit", "RRULE:FREQ=YEARLY\n")));
  WriteCalendar("broken.ics", "<html>not a calendar</html>\n");
  WriteCalendar("partly.ics", Holidays("oops\n" + Day("20240101", "Kept") + "BEGIN:VEVENT\nSUMMARY:Lost\nEND:VEVENT\n"));
  WriteCalendar("user.ics", Holidays(Day("19700517", "Birthday", "RRULE:FREQ=YEARLY\n")));

  const std::string out = Reload();
  EXPECT_NE(out.find("Calendar file '" + Folder() + "/broken.ics' not read: no calendar in it (no BEGIN:VCALENDAR line)\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Calendar file '" + Folder() + "/partly.ics': 1 line not understood, 1 entry skipped\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("Calendar file '" + Folder() + "/deDE.ics'"), std::string::npos) << "good files get no problem line";
  EXPECT_NE(out.find(" - 3 calendar files read\n"), std::string::npos) << out;

  EXPECT_EQ(Text(12, 25, 2024), "frFR : Christmas Day | ") << "the MarkDays file still loads";
  const std::string prefix = fMarks->fRegion == 'deDE' ? "" : "deDE : ";
  EXPECT_EQ(Text(10, 3, 2035), prefix + "Tag der Deutschen Einheit | ") << "years ahead";
  EXPECT_EQ(Text(5, 17, 2035), "Birthday | ");
  EXPECT_EQ(Text(1, 1, 2024), " Kept | ");
  EXPECT_EQ(Text(10, 3, 2023), "") << "not before its start";

  // Each entry counts once however often it repeats: the MarkDays holiday
  // and the deDE one (local in the desktop variant), 1 user day, 1 event.
  EXPECT_EQ(fMarks->fGlobals + fMarks->fLocals, 2);
  EXPECT_EQ(fMarks->fUsers, 1);
  EXPECT_EQ(fMarks->fEvents, 1);
}

TEST_F(IcsFolderTest, ReloadAndSwitchesReachMadeYears)
{
  WriteCalendar("user.ics", Holidays(Day("19700517", "Birthday", "RRULE:FREQ=YEARLY\n")));
  Reload();
  ASSERT_NE(fMarks->IsMarkDay(5, 17, 2035), nullptr);

  // A switch turned off hides the days of years already made.
  Prefs* prefs = Prefs::getSTPrefs();
  prefs->fDaysUser = false;
  fMarks->CheckHolidays();
  EXPECT_EQ(fMarks->IsMarkDay(5, 17, 2035), nullptr);
  EXPECT_EQ(fMarks->fUsers, 1) << "hidden entries are still counted";
  prefs->fDaysUser = true;
  fMarks->CheckHolidays();
  EXPECT_NE(fMarks->IsMarkDay(5, 17, 2035), nullptr);

  // Reload reads the folder again: the old day goes, the new one comes,
  // nothing is doubled.
  WriteCalendar("user.ics", Holidays(Day("19800601", "Anniversary", "RRULE:FREQ=YEARLY\n")));
  Reload();
  Reload();
  EXPECT_EQ(fMarks->IsMarkDay(5, 17, 2035), nullptr);
  EXPECT_EQ(Text(6, 1, 2035), "Anniversary | ");
  EXPECT_EQ(fMarks->fUsers, 1);
  EXPECT_EQ(fMarks->CountYearSources(), 1);

  // A folder that is gone leaves only the MarkDays file.
  remove((Folder() + "/user.ics").c_str());
  rmdir(Folder().c_str());
  const std::string out = Reload();
  EXPECT_EQ(out.find("alendar"), std::string::npos) << "a folder that is gone prints nothing: " << out;
  EXPECT_EQ(fMarks->fUsers, 0);
}

TEST_F(IcsFolderTest, OnlyRegularFilesAreRead)
{
  WriteCalendar("user.ics", Holidays(Day("19700517", "Birthday", "RRULE:FREQ=YEARLY\n")));
  ASSERT_EQ(mkfifo((Folder() + "/pipe.ics").c_str(), 0644), 0);
  ASSERT_EQ(mkdir((Folder() + "/folder.ics").c_str(), 0755), 0);
  ASSERT_EQ(symlink("/dev/zero", (Folder() + "/zero.ics").c_str()), 0);
  ASSERT_EQ(symlink("user.ics", (Folder() + "/link.ics").c_str()), 0);

  // Before, opening the pipe waited for a writer for ever; should it hang,
  // a writer lets the test end with its failure.
  auto reload = std::async(std::launch::async, [this] { return Reload(); });
  if (reload.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "the reader waits on the pipe";
    close(open((Folder() + "/pipe.ics").c_str(), O_WRONLY | O_NONBLOCK));
  }
  const std::string out = reload.get();
  for (const char* name : {"pipe.ics", "folder.ics", "zero.ics"})
    EXPECT_NE(out.find("Calendar file '" + Folder() + "/" + name + "' not read: not a regular file\n"),
              std::string::npos)
        << name << "\n" << out;
  EXPECT_EQ(Text(5, 17, 2035), " Birthday | Birthday | ") << "a link to a calendar file is read";
}

TEST_F(IcsFolderTest, TheFolderIsReadUpToItsLimit)
{
  // Four files of the largest size fill the folder's 64 MiB; they hold
  // nothing but zeros, sparse on the disk.
  ASSERT_EQ(create_directory(Folder().c_str(), 0755), B_OK);
  for (const char* name : {"a1.ics", "a2.ics", "a3.ics", "a4.ics"}) {
    const int fd = open((Folder() + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 16 * 1024 * 1024), 0);
    close(fd);
  }
  WriteCalendar("b.ics", Holidays(Day("20240101", "Late")));
  const std::string out = Reload();
  EXPECT_NE(out.find("Calendar file '" + Folder() + "/a4.ics' not read: no calendar in it"), std::string::npos) << out;
  EXPECT_NE(out.find("Calendar file '" + Folder() + "/b.ics' not read: the calendar folder's 64 MiB are used up\n"),
            std::string::npos)
      << out;
}

TEST_F(IcsFolderTest, AYearOfManyFilesHasOneBudget)
{
  // Before, each file had a quarter of a second of libical's search for a
  // year, and each got a line of its own: forty files of rules that never
  // meet their BY parts took half a minute a year (libical's search for one
  // start of such a rule cannot be cut short).
  for (int i = 0; i < 40; i++)
    WriteCalendar("never" + std::to_string(100 + i) + ".ics",
                  Holidays(Day("20240101", "Never", "RRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30\n")));
  Reload();
  testing::internal::CaptureStdout();
  const std::string text = Text(1, 1, 2024);
  const std::string out = testing::internal::GetCapturedStdout();
  size_t starts = 0;
  for (size_t at = text.find("Never"); at != std::string::npos; at = text.find("Never", at + 1))
    starts++;
  EXPECT_EQ(starts, 40u) << "every file still marks its start";
  const std::string line = "Calendar files cut short in 2024 (their repetitions take too long to work out; not all "
                           "their days are shown): '";
  ASSERT_NE(out.find(line), std::string::npos) << out;
  EXPECT_EQ(out.find("Calendar file", out.find(line) + 1), std::string::npos) << "one line: " << out;
  EXPECT_NE(out.find("never139.ics'\n"), std::string::npos) << "the last file is named: " << out;
}

} // namespace
