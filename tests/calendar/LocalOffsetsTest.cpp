#include "calendar/LocalOffsets.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Runs the test body under another zone and gives Berlin back.
class Zone {
public:
  explicit Zone(const char* name)
  {
    setenv("TZ", name, 1);
    tzset();
  }
  ~Zone()
  {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
};

// Every instant compared with the C library: the changes of the year and
// the seconds around them, and a walk through the year in steps of a
// little over an hour.
void ExpectLikeLocaltime(int32 year)
{
  const int64 first = DayNumber(year, 1, 1) - 3, last = DayNumber(year, 12, 31) + 3;
  const LocalOffsets offsets(first, last);
  std::vector<time_t> instants;
  for (time_t at = time_t(first) * 86400; at < time_t(last + 1) * 86400; at += 3607) {
    instants.push_back(at);
    struct tm before, after;
    const time_t next = at + 3607;
    if (localtime_r(&at, &before) && localtime_r(&next, &after) && before.tm_gmtoff != after.tm_gmtoff) {
      for (time_t near = at; near <= next; near += 60)
        for (time_t second : {near - 1, near, near + 1})
          instants.push_back(second);
    }
  }
  for (time_t instant : instants) {
    struct tm local;
    ASSERT_NE(localtime_r(&instant, &local), nullptr);
    CivilDay day;
    int32 minutes;
    ASSERT_TRUE(offsets.LocalTime(instant, &day, &minutes)) << instant;
    ASSERT_EQ(day.Code(), (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday) << instant;
    ASSERT_EQ(minutes, local.tm_hour * 60 + local.tm_min) << instant;
  }
}

} // namespace

TEST(LocalOffsets, AgreeWithTheCLibrary)
{
  const struct {
    const char* zone;
    int32 year;
  } rows[] = {
      {"Europe/Berlin", 2024},       {"Europe/Berlin", 2045},         // past the zone file's table
      {"America/St_Johns", 2030},    {"Australia/Lord_Howe", 2026},   // half-hour offsets and changes
      {"Pacific/Apia", 2011},        {"America/New_York", 1969},      // a skipped day; before 1970
      {"UTC", 2000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.zone) + " " + std::to_string(row.year));
    Zone zone(row.zone);
    ExpectLikeLocaltime(row.year);
  }
}

TEST(LocalOffsets, OnlyTheirSpanIsAnswered)
{
  const LocalOffsets offsets(DayNumber(2024, 3, 1), DayNumber(2024, 3, 31));
  CivilDay day;
  int32 minutes;
  const time_t first = time_t(DayNumber(2024, 3, 1)) * 86400, last = time_t(DayNumber(2024, 4, 1)) * 86400 - 1;
  EXPECT_TRUE(offsets.LocalTime(first, &day, &minutes));
  EXPECT_TRUE(offsets.LocalTime(last, &day, &minutes));
  EXPECT_EQ(day.Code(), 20240401) << "01:59 on 1 April in Berlin";
  EXPECT_FALSE(offsets.LocalTime(first - 1, &day, &minutes));
  EXPECT_FALSE(offsets.LocalTime(last + 1, &day, &minutes));
  EXPECT_FALSE(LocalOffsets(5, 4).LocalTime(5 * 86400, &day, &minutes)) << "an empty span";
}
