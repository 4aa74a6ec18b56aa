// Reading iCalendar entries and expanding them into the days of a year:
// repetitions, exceptions, all-day against timed entries across time zones,
// and the plain rules worked out without libical against libical itself.
#include "calendar/CivilDay.h"
#include "marks/IcsCalendar.h"
#include "marks/IcsTime.h"
#include "marks/YearWork.h"
#include "tests/marks/MarksFixture.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Calendar(const std::string& body)
{
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvella tests//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& properties)
{
  return "BEGIN:VEVENT\n" + properties + "END:VEVENT\n";
}

// The days of the year (of one month when month > 0) in date order as
// "MM/DD", or with withNames as "MM/DD name", separated by blanks.
std::string DaysOf(const IcsCalendar& calendar, int32 year, int32 month = 0, bool withNames = false)
{
  std::vector<YearMark> marks;
  EXPECT_TRUE(calendar.MarksOf(year, &marks, Deadline()));
  std::vector<std::string> found;
  for (const YearMark& mark : marks) {
    std::unique_ptr<MarkDay> day = calendar.Record(mark);
    if (month != 0 && day->fMonth != month)
      continue;
    EXPECT_EQ(day->fYear, year);
    char date[8];
    snprintf(date, sizeof(date), "%02d/%02d", int(day->fMonth), int(day->fDay));
    found.push_back(date + (withNames ? day->fName : ""));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const std::string& a, const std::string& b) { return a.compare(0, 5, b, 0, 5) < 0; });
  std::string text;
  for (const std::string& day : found)
    text += (text.empty() ? "" : " ") + day;
  return text;
}

std::unique_ptr<IcsCalendar> Read(const std::string& text, uint32 kind, IcsProblems* problems)
{
  return IcsCalendar::Parse(text, kind, problems);
}

// Reads a calendar of `body` and checks the file's problem line and the
// days of the year (of one month when month > 0), with their names for an
// events file.
void ExpectCalendar(const std::string& body, uint32 kind, int32 year, int32 month, const char* days,
                    const char* problems)
{
  IcsProblems found;
  std::unique_ptr<IcsCalendar> calendar = Read(Calendar(body), kind, &found);
  ASSERT_NE(calendar, nullptr);
  // A check that failed before a problem was counted may hang: libical's
  // zones repeating every second.
  ASSERT_EQ(found.Text(), problems);
  EXPECT_EQ(DaysOf(*calendar, year, month, kind == 'evnt'), days);
}

class IcsCalendarTest : public MarksTest {};

TEST_F(IcsCalendarTest, RepetitionsAndExceptions)
{
  const struct {
    const char* edge;
    std::string entries;
    int32 year;
    int32 month;  // 0: the whole year
    const char* days;
  } rows[] = {
      {"yearly birthday in a far year", Event("DTSTART;VALUE=DATE:19700517\nRRULE:FREQ=YEARLY\n"), 2035, 0, "05/17"},
      {"yearly not before its start", Event("DTSTART;VALUE=DATE:19700517\nRRULE:FREQ=YEARLY\n"), 1969, 0, ""},
      {"29 February not in other years", Event("DTSTART;VALUE=DATE:20000229\nRRULE:FREQ=YEARLY\n"), 2023, 0, ""},
      {"29 February in leap years", Event("DTSTART;VALUE=DATE:20000229\nRRULE:FREQ=YEARLY\n"), 2024, 0, "02/29"},
      {"every other year, off year", Event("DTSTART;VALUE=DATE:20200601\nRRULE:FREQ=YEARLY;INTERVAL=2\n"), 2023, 0, ""},
      {"every other year, on year", Event("DTSTART;VALUE=DATE:20200601\nRRULE:FREQ=YEARLY;INTERVAL=2\n"), 2024, 0, "06/01"},
      {"monthly on the second Monday", Event("DTSTART;VALUE=DATE:20240108\nRRULE:FREQ=MONTHLY;BYDAY=2MO\n"), 2024, 0,
       "01/08 02/12 03/11 04/08 05/13 06/10 07/08 08/12 09/09 10/14 11/11 12/09"},
      {"monthly on the last Friday", Event("DTSTART;VALUE=DATE:20240126\nRRULE:FREQ=MONTHLY;BYDAY=-1FR\n"), 2024, 0,
       "01/26 02/23 03/29 04/26 05/31 06/28 07/26 08/30 09/27 10/25 11/29 12/27"},
      {"fourth Thursday of November, years later",
       Event("DTSTART;VALUE=DATE:19701126\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH\n"), 2035, 0, "11/22"},
      {"a start off the rule is still the first",
       Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=MONTHLY;BYDAY=2MO\n"), 2024, 1, "01/01 01/08"},
      {"EXDATE drops that year", Event("DTSTART;VALUE=DATE:20200517\nRRULE:FREQ=YEARLY\nEXDATE;VALUE=DATE:20240517\n"),
       2024, 0, ""},
      {"EXDATE leaves the other years",
       Event("DTSTART;VALUE=DATE:20200517\nRRULE:FREQ=YEARLY\nEXDATE;VALUE=DATE:20240517\n"), 2025, 0, "05/17"},
      {"EXDATE list of zoned times",
       Event("DTSTART;TZID=Europe/Berlin:20240101T100000\nRRULE:FREQ=WEEKLY\n"
             "EXDATE;TZID=Europe/Berlin:20240108T100000,20240122T100000\n"),
       2024, 1, "01/01 01/15 01/29"},
      {"EXDATE in UTC drops the same instant",
       Event("DTSTART;TZID=Europe/Berlin:20240101T100000\nRRULE:FREQ=WEEKLY\nEXDATE:20240115T090000Z\n"), 2024, 1,
       "01/01 01/08 01/22 01/29"},
      {"COUNT counts only existing days", Event("DTSTART;VALUE=DATE:20240131\nRRULE:FREQ=MONTHLY;COUNT=3\n"), 2024, 0,
       "01/31 03/31 05/31"},
      {"COUNT ends a yearly rule", Event("DTSTART;VALUE=DATE:20200301\nRRULE:FREQ=YEARLY;COUNT=3\n"), 2023, 0, ""},
      {"COUNT still holds in its last year", Event("DTSTART;VALUE=DATE:20200301\nRRULE:FREQ=YEARLY;COUNT=3\n"), 2022,
       0, "03/01"},
      {"COUNT of a libical rule", Event("DTSTART;VALUE=DATE:20240108\nRRULE:FREQ=MONTHLY;BYDAY=2MO;COUNT=2\n"), 2024, 0,
       "01/08 02/12"},
      {"UNTIL is the last day", Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=DAILY;UNTIL=20240105\n"), 2024, 0,
       "01/01 01/02 01/03 01/04 01/05"},
      {"UNTIL in UTC for a zoned start",
       Event("DTSTART;TZID=Europe/Berlin:20240101T090000\nRRULE:FREQ=WEEKLY;UNTIL=20240115T080000Z\n"), 2024, 0,
       "01/01 01/08 01/15"},
      {"UNTIL of a libical rule", Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=MONTHLY;BYDAY=1MO;UNTIL=20240401\n"),
       2024, 0, "01/01 02/05 03/04 04/01"},
      {"RDATE adds days", Event("DTSTART;VALUE=DATE:20240101\nRDATE;VALUE=DATE:20240301,20240401\n"), 2024, 0,
       "01/01 03/01 04/01"},
      {"RDATE period counts by its start",
       Event("DTSTART:20240101T090000Z\nRDATE;VALUE=PERIOD:20240301T090000Z/PT1H\n"), 2024, 0, "01/01 03/01"},
      {"moved repetition",
       Event("UID:weekly-1\nDTSTART;TZID=Europe/Berlin:20240101T100000\nRRULE:FREQ=WEEKLY\n")
           + Event("UID:weekly-1\nRECURRENCE-ID;TZID=Europe/Berlin:20240108T100000\n"
                   "DTSTART;TZID=Europe/Berlin:20240110T100000\n"),
       2024, 1, "01/01 01/10 01/15 01/22 01/29"},
      {"cancelled repetition",
       Event("UID:weekly-2\nDTSTART;TZID=Europe/Berlin:20240101T100000\nRRULE:FREQ=WEEKLY\n")
           + Event("UID:weekly-2\nRECURRENCE-ID;TZID=Europe/Berlin:20240108T100000\nSTATUS:CANCELLED\n"
                   "DTSTART;TZID=Europe/Berlin:20240108T100000\n"),
       2024, 1, "01/01 01/15 01/22 01/29"},
      {"all-day span into the new year", Event("DTSTART;VALUE=DATE:20231230\nDTEND;VALUE=DATE:20240103\n"), 2024, 0,
       "01/01 01/02"},
      {"all-day span from the old year", Event("DTSTART;VALUE=DATE:20231230\nDTEND;VALUE=DATE:20240103\n"), 2023, 0,
       "12/30 12/31"},
      {"DURATION gives the span", Event("DTSTART;VALUE=DATE:20240301\nDURATION:P3D\n"), 2024, 0, "03/01 03/02 03/03"},
      // libical gives no day at all for days counted from a month's end.
      {"daily on the last days of months", Event("DTSTART;VALUE=DATE:20240131\nRRULE:FREQ=DAILY;BYMONTHDAY=-1;BYMONTH=1,2,12\n"),
       2024, 0, "01/31 02/29 12/31"},
      {"daily rule naming no day that exists",
       Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\n"), 2025, 0, ""},
      {"repeating span", Event("DTSTART;VALUE=DATE:20241231\nDTEND;VALUE=DATE:20250102\nRRULE:FREQ=YEARLY\n"), 2030,
       0, "01/01 12/31"},
      {"hourly marks each day once", Event("DTSTART:20240101T120000Z\nRRULE:FREQ=HOURLY;COUNT=30\n"), 2024, 0,
       "01/01 01/02"},
      {"every 36 hours until an instant",
       Event("DTSTART:20240101T000000Z\nRRULE:FREQ=HOURLY;INTERVAL=36;UNTIL=20240110T000000Z\n"), 2024, 0,
       "01/01 01/02 01/04 01/05 01/07 01/08 01/10"},
      {"minutes into a new local year", Event("DTSTART:20241231T225800Z\nRRULE:FREQ=MINUTELY;COUNT=5\n"), 2025, 0,
       "01/01"},
      {"minutes at the end of the old one", Event("DTSTART:20241231T225800Z\nRRULE:FREQ=MINUTELY;COUNT=5\n"), 2024,
       12, "12/31"},
      {"timed entry marks only its start day", Event("DTSTART:20240301T100000Z\nDTEND:20240305T100000Z\n"), 2024, 0,
       "03/01"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    IcsProblems problems;
    std::unique_ptr<IcsCalendar> calendar = Read(Calendar(row.entries), 'user', &problems);
    ASSERT_NE(calendar, nullptr);
    EXPECT_FALSE(problems.Any()) << problems.Text();
    EXPECT_EQ(DaysOf(*calendar, row.year, row.month), row.days);
  }
}

TEST_F(IcsCalendarTest, WhatServersAndProgramsWrite)
{
  const std::string kSeries = "UID:s\nDTSTART;TZID=Europe/Berlin:20260105T100000\nRRULE:FREQ=WEEKLY\n";
  const struct {
    const char* edge;
    std::string body;  // inside VCALENDAR
    int32 month;       // of 2026
    const char* days;
    const char* problems;
  } rows[] = {
      // A moved day of an all-day series named by a date-time, as Exchange writes it.
      {"date-time RECURRENCE-ID of an all-day series",
       Event("UID:a\nDTSTART;VALUE=DATE:20260219\nRRULE:FREQ=WEEKLY;COUNT=3\n")
           + Event("UID:a\nRECURRENCE-ID;TZID=Europe/Berlin:20260226T000000\nDTSTART;VALUE=DATE:20260227\n"),
       2, "02/19 02/27", ""},
      {"date-time EXDATE of an all-day series",
       Event("DTSTART;VALUE=DATE:20260219\nRRULE:FREQ=WEEKLY;COUNT=3\nEXDATE:20260226T000000\n"), 2, "02/19", ""},
      // Server exports of edited entries hold every version.
      {"the highest SEQUENCE wins",
       Event("UID:b\nSEQUENCE:1\nDTSTART;VALUE=DATE:20260310\n") + Event("UID:b\nSEQUENCE:3\nDTSTART;VALUE=DATE:20260312\n")
           + Event("UID:b\nSEQUENCE:2\nDTSTART;VALUE=DATE:20260311\n"),
       3, "03/12", ""},
      {"on a tie the latest DTSTAMP",
       Event("UID:b\nDTSTAMP:20260102T100000Z\nDTSTART;VALUE=DATE:20260311\n")
           + Event("UID:b\nDTSTAMP:20260101T100000Z\nDTSTART;VALUE=DATE:20260310\n"),
       3, "03/11", ""},
      {"a newer version cancels",
       Event("UID:b\nDTSTART;VALUE=DATE:20260310\n") + Event("UID:b\nSEQUENCE:1\nSTATUS:CANCELLED\nDTSTART;VALUE=DATE:20260310\n"),
       3, "", ""},
      {"versions of a moved day",
       Event(kSeries) + Event("UID:s\nSEQUENCE:2\nRECURRENCE-ID;TZID=Europe/Berlin:20260112T100000\nDTSTART;TZID=Europe/Berlin:20260114T100000\n")
           + Event("UID:s\nSEQUENCE:1\nRECURRENCE-ID;TZID=Europe/Berlin:20260112T100000\nDTSTART;TZID=Europe/Berlin:20260113T100000\n"),
       1, "01/05 01/14 01/19 01/26", ""},
      // A moved day with a rule of its own repeated it for ever.
      {"a rule inside a moved day",
       Event(kSeries) + Event("UID:s\nRECURRENCE-ID;TZID=Europe/Berlin:20260112T100000\n"
                              "DTSTART;TZID=Europe/Berlin:20260114T100000\nRRULE:FREQ=DAILY\n"),
       1, "01/05 01/14 01/19 01/26", "1 repetition rule inside a moved repetition ignored"},
      {"THISANDFUTURE moves the later days too",
       Event(kSeries) + Event("UID:s\nRECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20260119T100000\n"
                              "DTSTART;TZID=Europe/Berlin:20260121T100000\nRRULE:FREQ=DAILY\n"),
       1, "01/05 01/12 01/21 01/28", "1 repetition rule inside a moved repetition ignored"},
      {"a later THISANDFUTURE ends the earlier one",
       Event(kSeries) + Event("UID:s\nRECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20260119T100000\n"
                              "DTSTART;TZID=Europe/Berlin:20260121T100000\n")
           + Event("UID:s\nRECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20260202T100000\n"
                   "DTSTART;TZID=Europe/Berlin:20260203T100000\n"),
       2, "02/03 02/10 02/17 02/24", ""},
      {"a cancelled THISANDFUTURE ends the series",
       Event(kSeries) + Event("UID:s\nRECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20260119T100000\n"
                              "STATUS:CANCELLED\nDTSTART;TZID=Europe/Berlin:20260119T100000\n"),
       1, "01/05 01/12", ""},
      // An all-day start with an end at a time of day.
      {"a date-time end late in a day", Event("DTSTART;VALUE=DATE:20260301\nDTEND:20260303T230000\n"), 3,
       "03/01 03/02 03/03", ""},
      {"a date-time end at midnight", Event("DTSTART;VALUE=DATE:20260301\nDTEND:20260303T000000\n"), 3, "03/01 03/02",
       ""},
      {"a duration into a day", Event("DTSTART;VALUE=DATE:20260301\nDURATION:P1DT12H\n"), 3, "03/01 03/02", ""},
      // A misspelt END swallowed every later entry.
      {"a misspelt END of another component",
       "BEGIN:VTODO\nSUMMARY:Call\nEND:VTOOD\n" + Event("DTSTART;VALUE=DATE:20260305\n"), 3, "03/05",
       "line 6: END:VTOOD taken as the end of VTODO"},
      {"a misspelt END of an entry",
       "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260305\nEND:VEVNT\n" + Event("DTSTART;VALUE=DATE:20260306\n")
           + "BEGIN:VTODO\nEND:VTDO\n",
       3, "03/05 03/06", "line 6: END:VEVNT taken as the end of VEVENT (and 1 more such line)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ExpectCalendar(row.body, 'user', 2026, row.month, row.days, row.problems);
  }
}

TEST_F(IcsCalendarTest, AllDayAgainstTimedAcrossZones)
{
  const std::string kPlus14 = "BEGIN:VTIMEZONE\nTZID:Custom/Plus14\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
                              "TZOFFSETFROM:+1400\nTZOFFSETTO:+1400\nTZNAME:P14\nEND:STANDARD\nEND:VTIMEZONE\n";
  const struct {
    const char* edge;
    const char* zone;  // this program's TZ
    std::string entries;
    int32 year;
    int32 month;
    const char* days;  // "MM/DD name" of an events file
  } rows[] = {
      {"all day in Berlin", "Europe/Berlin", Event("DTSTART;VALUE=DATE:20240310\nSUMMARY:Call\n"), 2024, 3,
       "03/10 Call"},
      {"all day in Auckland", "Pacific/Auckland", Event("DTSTART;VALUE=DATE:20240310\nSUMMARY:Call\n"), 2024, 3,
       "03/10 Call"},
      {"all day in Los Angeles", "America/Los_Angeles", Event("DTSTART;VALUE=DATE:20240310\nSUMMARY:Call\n"), 2024,
       3, "03/10 Call"},
      {"UTC late evening is the next day in Berlin", "Europe/Berlin",
       Event("DTSTART:20240310T233000Z\nSUMMARY:Call\n"), 2024, 3, "03/11 00:30 Call"},
      {"the same instant in Los Angeles", "America/Los_Angeles", Event("DTSTART:20240310T233000Z\nSUMMARY:Call\n"),
       2024, 3, "03/10 16:30 Call"},
      {"New York evening in Berlin", "Europe/Berlin",
       Event("DTSTART;TZID=America/New_York:20240310T200000\nSUMMARY:Call\n"), 2024, 3, "03/11 01:00 Call"},
      {"zone name behind a path", "Europe/Berlin",
       Event("DTSTART;TZID=/example.org/2005_1/America/New_York:20240310T200000\nSUMMARY:Call\n"), 2024, 3,
       "03/11 01:00 Call"},
      {"floating time stays local", "Pacific/Auckland", Event("DTSTART:20240310T233000\nSUMMARY:Call\n"), 2024, 3,
       "03/10 23:30 Call"},
      {"the file's own zone", "Europe/Berlin",
       kPlus14 + Event("DTSTART;TZID=Custom/Plus14:20240311T050000\nSUMMARY:Call\n"), 2024, 3, "03/10 16:00 Call"},
      {"New Year's Eve in New York is next year in Berlin", "Europe/Berlin",
       Event("DTSTART;TZID=America/New_York:20241231T200000\nSUMMARY:Call\n"), 2025, 1, "01/01 02:00 Call"},
      {"and not in the old year", "Europe/Berlin",
       Event("DTSTART;TZID=America/New_York:20241231T200000\nSUMMARY:Call\n"), 2024, 12, ""},
      {"weekly in New York while the summer times differ", "Europe/Berlin",
       Event("DTSTART;TZID=America/New_York:20240303T183000\nRRULE:FREQ=WEEKLY\nSUMMARY:Call\n"), 2024, 3,
       "03/04 00:30 Call 03/10 23:30 Call 03/17 23:30 Call 03/24 23:30 Call"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ScopedEnv zone;
    zone.Set("TZ", row.zone);
    tzset();
    IcsProblems problems;
    std::unique_ptr<IcsCalendar> calendar = Read(Calendar(row.entries), 'evnt', &problems);
    ASSERT_NE(calendar, nullptr);
    EXPECT_FALSE(problems.Any()) << problems.Text();
    EXPECT_EQ(DaysOf(*calendar, row.year, row.month, true), row.days);
  }
  tzset();
}

// A zone of its own, with a rule of each observance.
std::string ZoneBlock(const char* tzid, const char* standard, const char* daylight)
{
  return std::string("BEGIN:VTIMEZONE\nTZID:") + tzid + "\nBEGIN:STANDARD\n" + standard + "END:STANDARD\n"
         + (*daylight ? std::string("BEGIN:DAYLIGHT\n") + daylight + "END:DAYLIGHT\n" : "") + "END:VTIMEZONE\n";
}

TEST_F(IcsCalendarTest, TimeZoneBlocksAreBoundedAndCoverEveryDate)
{
  // Sydney's rules since 2008, as a program writes them for a zone it
  // knows only from then on.
  const char* kStandard = "DTSTART:20080406T030000\nTZOFFSETFROM:+1100\nTZOFFSETTO:+1000\n"
                          "RRULE:FREQ=YEARLY;BYMONTH=4;BYDAY=1SU\n";
  const char* kDaylight = "DTSTART:20081005T020000\nTZOFFSETFROM:+1000\nTZOFFSETTO:+1100\n"
                          "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=1SU\n";
  auto repeating = [](const char* frequency) {
    return ZoneBlock("Odd/Zone",
                     (std::string("DTSTART:19700101T000000\nTZOFFSETFROM:+0500\nTZOFFSETTO:+0500\nRRULE:") + frequency
                      + "\n")
                         .c_str(),
                     "");
  };
  const struct {
    const char* edge;
    std::string body;
    int32 year;
    int32 month;
    const char* days;  // in Berlin
    const char* problems;
  } rows[] = {
      // Before, libical took such days as UTC: 11:00 in Berlin.
      {"before the block: the system's zone of the name",
       ZoneBlock("Australia/Sydney", kStandard, kDaylight)
           + Event("DTSTART;TZID=Australia/Sydney:20050710T090000\nSUMMARY:Call\n"),
       2005, 7, "07/10 01:00 Call", ""},
      {"before the block: the first offset without a system zone",
       ZoneBlock("Custom/Sydney", kStandard, kDaylight)
           + Event("DTSTART;TZID=Custom/Sydney:20050710T090000\nSUMMARY:Call\n"),
       2005, 7, "07/10 00:00 Call", ""},
      {"inside the block", ZoneBlock("Custom/Sydney", kStandard, kDaylight)
           + Event("DTSTART;TZID=Custom/Sydney:20100110T090000\nSUMMARY:Call\n"),
       2010, 1, "01/09 23:00 Call", ""},
      {"a weekly series across the block's start",
       ZoneBlock("Custom/Sydney", kStandard, kDaylight)
           + Event("DTSTART;TZID=Custom/Sydney:20080323T090000\nRRULE:FREQ=WEEKLY;COUNT=3\nSUMMARY:Call\n"),
       2008, 0, "03/22 23:00 Call 03/29 23:00 Call 04/06 01:00 Call", ""},
      // Far years are converted whole 400-year cycles nearer, where libical
      // does not work out the zone anew for each time.
      {"Sydney's winter in 2800", Event("DTSTART;TZID=Australia/Sydney:28000710T090000\nSUMMARY:Call\n"), 2800, 7,
       "07/10 01:00 Call", ""},
      {"Sydney's summer in 2800", Event("DTSTART;TZID=Australia/Sydney:28000110T090000\nSUMMARY:Call\n"), 2800, 1,
       "01/09 23:00 Call", ""},
      // Before, libical repeated such a rule up to each year asked for,
      // without end: memory and time ran out.
      {"an observance every second", repeating("FREQ=SECONDLY") + Event("DTSTART;TZID=Odd/Zone:20240310T120000\nSUMMARY:Call\n"),
       2024, 3, "03/10 08:00 Call", "1 time-zone rule repeating more often than daily ignored"},
      {"an observance every minute", repeating("FREQ=MINUTELY;INTERVAL=5") + Event("DTSTART;TZID=Odd/Zone:20240310T120000\nSUMMARY:Call\n"),
       2024, 3, "03/10 08:00 Call", "1 time-zone rule repeating more often than daily ignored"},
      {"an observance at several hours a day", repeating("FREQ=DAILY;BYHOUR=1,13") + Event("DTSTART;TZID=Odd/Zone:20240310T120000\nSUMMARY:Call\n"),
       2024, 3, "03/10 08:00 Call", "1 time-zone rule repeating more often than daily ignored"},
      {"an observance every day", repeating("FREQ=DAILY") + Event("DTSTART;TZID=Odd/Zone:20240310T120000\nSUMMARY:Call\n"),
       2024, 3, "03/10 08:00 Call", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    ExpectCalendar(row.body, 'evnt', row.year, row.month, row.days, row.problems);
    if (HasFatalFailure())
      return;
  }
}

TEST_F(IcsCalendarTest, PlainRulesGiveWhatLibicalGives)
{
  const struct {
    const char* rule;
    const char* start;
  } rows[] = {
      {"FREQ=YEARLY", "19700517"},
      {"FREQ=YEARLY;INTERVAL=3", "20010615"},
      {"FREQ=YEARLY", "19960229"},
      {"FREQ=YEARLY;COUNT=5", "19960229"},
      {"FREQ=YEARLY;BYMONTH=5", "19700517"},
      {"FREQ=YEARLY;BYMONTH=5;BYMONTHDAY=17;UNTIL=20200101", "19700517"},
      {"FREQ=MONTHLY", "20000131"},
      {"FREQ=MONTHLY;INTERVAL=5;COUNT=20", "20000130"},
      {"FREQ=MONTHLY;BYMONTHDAY=31", "20000131"},
      {"FREQ=WEEKLY;INTERVAL=3", "20000105T101500"},
      {"FREQ=WEEKLY;BYDAY=WE;UNTIL=20200101T000000", "20000105T101500"},
      {"FREQ=DAILY;INTERVAL=10;UNTIL=20251231", "20000101"},
      {"FREQ=DAILY;COUNT=4000", "20000101"},
      {"FREQ=MONTHLY;BYDAY=2MO", "20000110"},
      {"FREQ=MONTHLY;BYDAY=-1FR;COUNT=30", "20000128"},
      {"FREQ=MONTHLY;BYDAY=5FR", "20000128"},
      {"FREQ=MONTHLY;INTERVAL=2;BYDAY=-2SU;UNTIL=20250101T000000", "20000123T180000"},
      {"FREQ=MONTHLY;BYMONTHDAY=-1", "20000131"},
      {"FREQ=MONTHLY;BYMONTHDAY=30;COUNT=40", "20000130"},
      {"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", "19701126"},
      {"FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO;COUNT=12", "19700525"},
      {"FREQ=YEARLY;BYMONTH=6", "19700517"},
      {"FREQ=YEARLY;INTERVAL=4;BYMONTH=2;BYMONTHDAY=29", "19960229"},
      {"FREQ=WEEKLY;BYDAY=MO,WE,FR", "20000105T101500"},
      {"FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,SU;WKST=SU;COUNT=100", "20000104"},
      {"FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,SU;WKST=MO;COUNT=100", "20000104"},
      {"FREQ=DAILY;BYMONTH=2;BYMONTHDAY=29", "20000229"},
      {"FREQ=DAILY;BYDAY=MO,FR;BYMONTH=1,7", "20000103T083000"},
      {"FREQ=DAILY;INTERVAL=3;BYMONTHDAY=1,15;COUNT=40", "20000101"},
      {"FREQ=DAILY;BYDAY=SA,SU;BYMONTHDAY=13", "20000513"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.rule);
    icaltimetype start;
    ASSERT_TRUE(ParseIcsTime(row.start, nullptr, &start));
    IcsRule rule;
    ASSERT_TRUE(rule.Parse(row.rule, start));
    EXPECT_TRUE(rule.IsPlain());

    std::vector<std::string> libical;
    icalrecur_iterator* iterator = icalrecur_iterator_new(icalrecurrencetype_from_string(row.rule), start);
    ASSERT_NE(iterator, nullptr);
    for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next) && next.year <= 2030;
         next = icalrecur_iterator_next(iterator))
      libical.push_back(icaltime_as_ical_string(next));
    icalrecur_iterator_free(iterator);

    // Asked year by year, as the registry asks.
    std::vector<std::string> plain;
    for (int32 year = 1970; year <= 2030; year++) {
      std::vector<icaltimetype> starts;
      rule.StartsIn(start, DayNumber(year, 1, 1), DayNumber(year, 12, 31), &starts);
      for (const icaltimetype& time : starts)
        plain.push_back(icaltime_as_ical_string(time));
    }
    EXPECT_EQ(plain, libical);
  }
}

TEST_F(IcsCalendarTest, TextOfEntries)
{
  const struct {
    const char* edge;
    std::string text;
    const char* names;  // "MM/DD name" in 2024 of a holiday file
    int32 badLines;
  } rows[] = {
      {"folded summary", Calendar(Event("DTSTART;VALUE=DATE:20241003\nSUMMARY:Tag der Deutschen\n  Einheit\n")),
       "10/03Tag der Deutschen Einheit", 0},
      {"escapes", Calendar(Event("DTSTART;VALUE=DATE:20241003\nSUMMARY:a\\, b\\; c\\\\d\n")), "10/03a, b; c\\d", 0},
      {"lower-case names and a byte order mark",
       "\xEF\xBB\xBF" + Calendar("begin:vevent\ndtstart;value=date:20241003\nsummary:Feast\nend:vevent\n"),
       "10/03Feast", 0},
      {"quoted parameter with a colon",
       Calendar(Event("DTSTART;X-NOTE=\"a:b;c\";TZID=\"Europe/Berlin\":20241003T120000\nSUMMARY:Noon\n")),
       "10/03Noon", 0},
      {"an alarm's summary is not the entry's",
       Calendar(Event("DTSTART;VALUE=DATE:20241003\nSUMMARY:Feast\nBEGIN:VALARM\nSUMMARY:Ring\nEND:VALARM\n")),
       "10/03Feast", 0},
      {"no summary", Calendar(Event("DTSTART;VALUE=DATE:20241003\n")), "10/03--no-name--", 0},
      {"lines that are no content lines",
       Calendar("no colon here\n;x:y\nDTSTART;TZID=\"open:20240101\n" + Event("DTSTART;VALUE=DATE:20241003\n")),
       "10/03--no-name--", 3},
      {"rule and date not understood",
       Calendar(Event("DTSTART;VALUE=DATE:20241003\nRRULE:FREQ=SOMETIMES\nEXDATE:20241345\n")), "10/03--no-name--", 2},
      {"hourly rule on some days is not read",
       Calendar(Event("DTSTART;VALUE=DATE:20241003\nRRULE:FREQ=HOURLY;BYMONTH=9;BYDAY=2SU\n")), "10/03--no-name--", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    IcsProblems problems;
    std::unique_ptr<IcsCalendar> calendar = Read(row.text, 'deDE', &problems);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(problems.badLines, row.badLines);
    EXPECT_EQ(DaysOf(*calendar, 2024, 0, true), row.names);
  }
}

TEST_F(IcsCalendarTest, ProblemsAreCountedInOneText)
{
  const struct {
    const char* edge;
    std::string text;
    bool read;
    const char* problems;
    int32 entries;
  } rows[] = {
      {"not a calendar", "hello\n", false, "no calendar in it (no BEGIN:VCALENDAR line)", 0},
      {"empty file", "", false, "no calendar in it (no BEGIN:VCALENDAR line)", 0},
      {"entry without a start", Calendar(Event("SUMMARY:Lost\n") + Event("DTSTART;VALUE=DATE:20240101\n")), true,
       "1 entry skipped", 1},
      {"start that is no date", Calendar(Event("DTSTART:tomorrow\n") + Event("DTSTART:20240230\n")), true,
       "2 entries skipped", 0},
      {"entry not closed", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20240101T100000Z\n", true, "1 entry skipped", 0},
      {"END without BEGIN", Calendar("END:VEVENT\n" + Event("DTSTART;VALUE=DATE:20240101\n")), true,
       "1 line not understood", 1},
      {"unknown zone", Calendar(Event("DTSTART;TZID=Mars/Olympus:20240101T100000\n")), true,
       "1 entry in an unknown time zone taken as local time", 1},
      {"zone name that would leave the zone folder", Calendar(Event("DTSTART;TZID=../../etc/passwd:20240101T100000\n")),
       true, "1 entry in an unknown time zone taken as local time", 1},
      {"cancelled entry is no problem",
       Calendar(Event("DTSTART;VALUE=DATE:20240101\nSTATUS:CANCELLED\n") + Event("DTSTART;VALUE=DATE:20240102\n")),
       true, "", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    IcsProblems problems;
    std::unique_ptr<IcsCalendar> calendar = Read(row.text, 'evnt', &problems);
    EXPECT_EQ(calendar != nullptr, row.read);
    EXPECT_EQ(problems.Text(), row.problems);
    if (calendar) {
      EXPECT_EQ(calendar->CountEntries(), row.entries);
    }
  }
}

} // namespace

TEST_F(IcsCalendarTest, RulesLibicalSearchesLongForAreCutShort)
{
  // libical searches long for each start of a rule that never repeats; a
  // year of such a file is learnt in about a quarter of a second all the same.
  std::string entries;
  for (int i = 0; i < 5; i++)
    entries += Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30\n");
  IcsProblems problems;
  std::unique_ptr<IcsCalendar> calendar = Read(Calendar(entries), 'user', &problems);
  ASSERT_NE(calendar, nullptr);
  const auto start = std::chrono::steady_clock::now();
  std::vector<YearMark> marks;
  EXPECT_FALSE(calendar->MarksOf(2024, &marks, Deadline(kYearBudget))) << "cut short";
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5)) << "five rules of up to a second each, cut after the first";
  EXPECT_EQ(marks.size(), 5u) << "each entry still marks its start";
}
