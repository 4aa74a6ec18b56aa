#include "calendar/Codes.h"

#include <gtest/gtest.h>

namespace {

TEST(Codes, CodeToText)
{
  struct Row {
    const char* edge;
    uint32 code;
    const char* text;
  } rows[] = {
      {"message code", 'TDSV', "TDSV"},
      {"code ends early at a zero byte", 0x41420043, "AB"},
      {"code below 0x10000000 keeps its bytes", 0x0A414243, "\nABC"},
      {"code below 0x01000000 is empty", 0x00414243, ""},
      {"all bytes set", 0xFFFFFFFF, "\xFF\xFF\xFF\xFF"},
  };
  for (const Row& row : rows) {
    EXPECT_STREQ(long2asc(row.code), row.text) << row.edge;
    EXPECT_STREQ(LongToAsc(row.code), row.text) << row.edge;
  }
  const char* first = long2asc('user');
  LongToAsc('evnt');
  EXPECT_STREQ(first, "user") << "each function has its own buffer";
}

TEST(Codes, HexPair)
{
  struct Row {
    const char* edge;
    const char* text;
    int value;
  } rows[] = {
      {"dollar sign is skipped", "$FF", 255},
      {"single digit is the high digit", "7", 112},
      {"lower case is not a digit", "a0", 0},
      {"long text reads only its start", "4A4A4A4A4A4A4A4A4A4A4A4A4A4A", 74},
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
      {"region", "deDE", 0x64654445},
      {"five characters keep the last four", "enUSA", 'nUSA'},
      {"byte above 0x7F is sign-extended", "\xE4", 0xFFFFFFE4},
      {"empty text", "", 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(txt2int(row.text), row.code) << row.edge;
}

} // namespace
