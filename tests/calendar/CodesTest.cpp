#include "calendar/ClockGeometry.h"
#include "calendar/Codes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Codes, CodeToText)
{
  struct Row {
    const char* edge;
    uint32 code;
    const char* text;
  } rows[] = {
      {"message code", 0x54445356, "TDSV"},
      {"raw picture code", 0x42524157, "BRAW"},
      {"region with lower case", 'deDE', "deDE"},
      {"code ends early at a zero byte", 0x41420043, "AB"},
      {"code below 0x10000000 keeps its bytes", 0x0A414243, "\nABC"},
      {"code below 0x01000000 is empty", 0x00414243, ""},
      {"zero", 0, ""},
      {"all bytes set", 0xFFFFFFFF, "\xFF\xFF\xFF\xFF"},
  };
  for (const Row& row : rows) {
    EXPECT_STREQ(long2asc(row.code), row.text) << row.edge;
    EXPECT_STREQ(LongToAsc(row.code), row.text) << row.edge;
  }
}

TEST(Codes, TwoBuffersStayApart)
{
  const char* first = long2asc('user');
  const char* second = LongToAsc('evnt');
  EXPECT_STREQ(first, "user");
  EXPECT_STREQ(second, "evnt");
}

TEST(Codes, HexPair)
{
  struct Row {
    const char* edge;
    const char* text;
    int value;
  } rows[] = {
      {"upper-case pair", "4A", 74},
      {"dollar sign is skipped", "$FF", 255},
      {"single digit is the high digit", "7", 112},
      {"zero digit", "0A", 10},
      {"lower case is not a digit", "a0", 0},
      {"empty text", "", 0},
      {"dollar sign alone", "$", 0},
      {"long text reads only its start", "4A4A4A4A4A4A4A4A4A4A4A4A4A4A", 74},
      {"dollar and long text", "$1234567890", 18},
      {"null text", nullptr, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(hex2int(row.text), row.value) << row.edge;
    EXPECT_EQ(HexToInt(row.text), row.value) << row.edge;
  }
}

TEST(Codes, TextToCode)
{
  struct Row {
    const char* edge;
    const char* text;
    uint32 code;
  } rows[] = {
      {"message code", "TDSV", 0x54445356},
      {"region", "deDE", 0x64654445},
      {"user kind", "user", 0x75736572},
      {"one character", "A", 0x41},
      {"three characters", "ABC", 0x414243},
      {"five characters keep the last four", "enUSA", 'nUSA'},
      {"byte above 0x7F is sign-extended", "\xE4", 0xFFFFFFE4},
      {"empty text", "", 0},
      {"null text", nullptr, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(txt2int(row.text), row.code) << row.edge;
}

TEST(Codes, TextAndCodeRoundTrip)
{
  for (const char* text : {"deDE", "enUS", "user", "evnt", "_KXT", "kxCL"})
    EXPECT_STREQ(long2asc(txt2int(text)), text);
}

TEST(ClockGeometry, PointsOnTheDial)
{
  struct Row {
    const char* edge;
    float angle;
    float radius;
    float x;
    float y;
  } rows[] = {
      {"3 o'clock", 0, 10, 10, 0},
      {"6 o'clock on screen", 90, 10, 0, 10},
      {"9 o'clock", 180, 10, -10, 0},
      {"12 o'clock", 270, 10, 0, -10},
      {"full turn", 360, 7, 7, 0},
      {"negative angle", -90, 4, 0, -4},
  };
  for (const Row& row : rows) {
    EXPECT_NEAR(X_AnArc(row.angle, row.radius), row.x, 1e-5) << row.edge;
    EXPECT_NEAR(Y_AnArc(row.angle, row.radius), row.y, 1e-5) << row.edge;
  }
}

} // namespace
