#include "calendar/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdint>
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
