#include "app/PickedTime.h"
#include "calendar/LocalTime.h"

#include <gtest/gtest.h>

namespace {

struct HourRow {
  const char* edge;
  int32 hour;
  bool amMode;
  int32 halfDay;
  int32 expected;
};

const HourRow kHours[] = {
    {"24-hour entry keeps the hour", 15, false, 1, 15},
    {"24-hour entry ignores the half of the day", 9, false, 2, 9},
    {"3 in the afternoon is 15", 3, true, 2, 15},
    {"3 in the morning is 3", 3, true, 1, 3},
    {"12 AM is midnight", 12, true, 1, 0},
    {"12 PM is noon", 12, true, 2, 12},
    {"11 PM is 23", 11, true, 2, 23},
};

TEST(PickedTime, HourOfTheDay)
{
  for (const HourRow& row : kHours) {
    PickedDate pick{2008, 4, 15, row.hour, 30};
    EXPECT_EQ(PickedHour(pick, row.amMode, row.halfDay), row.expected) << row.edge;
  }
}

// Tests run under TZ=Europe/Berlin: 15 April is in summer time.
TEST(PickedTime, LocalSummerTimeIsNotAnHourOff)
{
  PickedDate pick{2008, 4, 15, 9, 30};
  const time_t t = PickedTime(pick, false, 1);
  EXPECT_EQ(LocalTimeText(" %Y/%m/%d %H:%M", t), " 2008/04/15 09:30");
  EXPECT_EQ(t, 1208244600);
  // A local time that the change to summer time skips is an hour later.
  PickedDate skipped{2008, 3, 30, 2, 30};
  EXPECT_EQ(LocalTimeText(" %Y/%m/%d %H:%M", PickedTime(skipped, false, 1)), " 2008/03/30 03:30");
}

}  // namespace
