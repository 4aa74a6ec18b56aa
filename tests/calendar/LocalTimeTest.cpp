#include "calendar/LocalTime.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

// Tests run under TZ=Europe/Berlin.
TEST(LocalTimeText, ShowsLocalTimeAndNothingItCannotShow)
{
  EXPECT_EQ(LocalTimeText(" %Y/%m/%d %H:%M", 0), " 1970/01/01 01:00");
  EXPECT_EQ(LocalTimeText("%H:%M", 1208244600), "09:30") << "summer time";
  EXPECT_EQ(LocalTimeText("%Y", time_t(INT64_MAX)), "") << "beyond the calendar";
  EXPECT_EQ(LocalTimeText(std::string(70, 'x').c_str(), 0), "") << "longer than the text buffer";
}

TEST(LocalInstant, WallClockInBerlin)
{
  EXPECT_EQ(LocalInstant(2008, 4, 15, 9, 30), 1208244600) << "summer time";
  EXPECT_EQ(LocalInstant(2008, 1, 15, 9, 30, 5), 1200385805) << "winter time, with seconds";
  EXPECT_EQ(LocalInstant(2007, 13, 15, 9, 30), 1200385800) << "month 13 rolls into the next year";
}

// Sets TZ and puts the test zone back at the end. A changed zone file is
// tested with the window (WindowToday).
class ZoneTest : public testing::Test {
protected:
  void TearDown() override
  {
    zone.reset();
    tzset();
  }
  std::unique_ptr<ScopedEnv> zone = std::make_unique<ScopedEnv>();
};

TEST_F(ZoneTest, DaysAndTheirEndsAcrossClockChanges)
{
  struct Row {
    const char* edge;
    const char* zone;
    int year, month, day, hour;
    int32 code;       // the local day of that hour
    int nextHour;     // the local hour the next day begins at
  } rows[] = {
      {"new year's eve", "Europe/Berlin", 2004, 12, 31, 23, 20041231, 0},
      {"a day of 23 hours ends at midnight", "Europe/Berlin", 2008, 3, 30, 12, 20080330, 0},
      {"leap day", "Europe/Berlin", 2004, 2, 29, 0, 20040229, 0},
      {"summer time that skips midnight: the day begins at one", "America/Sao_Paulo", 2018, 11, 3, 12, 20181103, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    zone->Set("TZ", row.zone);
    tzset();
    const time_t instant = LocalInstant(row.year, row.month, row.day, row.hour, 30);
    EXPECT_EQ(LocalDay(instant).Code(), row.code);
    const time_t next = NextLocalMidnight(instant);
    EXPECT_EQ(LocalDay(next).Code(), LocalDay(instant + 86400 - 3600 * row.hour).Code()) << "the day after";
    EXPECT_EQ(LocalTimeText("%H:%M:%S", next), row.nextHour == 0 ? "00:00:00" : "01:00:00");
    EXPECT_EQ(LocalDay(next - 1).Code(), row.code) << "the last second is still the day";
  }
}
