#include "platform/messaging/BMessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

// A message holding every field type, several values under some names.
BMessage EveryType()
{
  BMessage message('_KXT');
  message.AddBool("_ask", true);
  message.AddBool("_ask", false);
  message.AddInt8("i8", -8);
  message.AddInt16("i16", -1600);
  message.AddInt32("i32", -320000);
  message.AddInt32("i32", 7);
  message.AddInt32("i32", INT32_MIN);
  message.AddInt64("_presetTime", INT64_C(1208244600));
  message.AddFloat("f", 1.5f);
  message.AddDouble("d", -2.25e300);
  message.AddString("_okName", "get Date");
  message.AddString("_okName", std::string("\xc3\xa4 umlaut"));
  message.AddString("empty", "");
  message.AddPointer("_itor", reinterpret_cast<void*>(uintptr_t(0x1234abcd5678)));
  message.AddRect("frame", BRect(100, 100, 420, 176));
  message.AddPoint("where", BPoint(-3, 4.5f));
  const char raw[] = {0, 1, 2, 3, 0};
  message.AddData("raw", 'ABCD', raw, sizeof raw);
  BMessage nested('nest');
  nested.AddString("inner", "x");
  message.AddMessage("child", &nested);
  return message;
}

std::string Flat(const BMessage& message)
{
  std::string flat;
  EXPECT_EQ(message.Flatten(&flat), B_OK);
  return flat;
}

} // namespace

TEST(MessageFields, FindReturnsValuesInOrderAdded)
{
  BMessage m = EveryType();
  int32 i32 = 0;
  ASSERT_EQ(m.FindInt32("i32", 2, &i32), B_OK);
  EXPECT_EQ(i32, INT32_MIN);
  ASSERT_EQ(m.FindInt32("i32", &i32), B_OK);
  EXPECT_EQ(i32, -320000);
  bool b = true;
  ASSERT_EQ(m.FindBool("_ask", 1, &b), B_OK);
  EXPECT_FALSE(b);
  const char* text = nullptr;
  ASSERT_EQ(m.FindString("_okName", 1, &text), B_OK);
  EXPECT_STREQ(text, "\xc3\xa4 umlaut");
  EXPECT_EQ(m.GetRect("frame", BRect()), BRect(100, 100, 420, 176));
  EXPECT_EQ(m.GetPoint("where", BPoint()), BPoint(-3, 4.5f));
  EXPECT_EQ(m.GetPointer("_itor"), reinterpret_cast<void*>(uintptr_t(0x1234abcd5678)));
  BMessage nested;
  ASSERT_EQ(m.FindMessage("child", &nested), B_OK);
  EXPECT_EQ(nested.what, uint32('nest'));
  EXPECT_STREQ(nested.GetString("inner", ""), "x");

  const char* firstName = nullptr;
  ASSERT_EQ(m.GetInfo(B_ANY_TYPE, 0, &firstName, nullptr), B_OK);
  EXPECT_STREQ(firstName, "_ask");
}

TEST(MessageFields, LookupErrorsTellWhatWentWrong)
{
  BMessage m = EveryType();
  int32 i32 = 0;
  int64 i64 = 0;
  EXPECT_EQ(m.FindInt32("missing", &i32), B_NAME_NOT_FOUND);
  EXPECT_EQ(m.FindInt64("i32", &i64), B_BAD_TYPE);
  EXPECT_EQ(m.FindInt32("i32", 3, &i32), B_BAD_INDEX);
  EXPECT_EQ(m.FindInt32("i32", -1, &i32), B_BAD_INDEX);
  EXPECT_EQ(m.AddInt64("i32", 1), B_BAD_TYPE) << "a name holds one type only";
  EXPECT_EQ(m.GetInt32("missing", 42), 42);
  EXPECT_EQ(m.GetInt32("_presetTime", 42), 42) << "wrong type gives the default";
  EXPECT_STREQ(m.GetString("missing", "OK"), "OK");
  EXPECT_TRUE(m.HasBool("_ask", 1));
  EXPECT_FALSE(m.HasBool("_ask", 2));
  EXPECT_FALSE(m.HasInt32("_ask"));
}

TEST(MessageFields, AddRefusesInvalidNamesAndValues)
{
  BMessage m;
  EXPECT_EQ(m.AddInt32(nullptr, 1), B_BAD_VALUE);
  EXPECT_EQ(m.AddInt32("", 1), B_BAD_VALUE);
  EXPECT_EQ(m.AddInt32(std::string(256, 'n').c_str(), 1), B_BAD_VALUE);
  EXPECT_EQ(m.AddString("s", static_cast<const char*>(nullptr)), B_BAD_VALUE);
  EXPECT_EQ(m.AddString("s", std::string("a\0b", 3)), B_BAD_VALUE);
  int16 two = 2;
  EXPECT_EQ(m.AddData("wrong size", B_INT32_TYPE, &two, sizeof two), B_BAD_VALUE);
  uint8 notBool = 7;
  EXPECT_EQ(m.AddData("bool", B_BOOL_TYPE, &notBool, 1), B_BAD_VALUE);
  EXPECT_TRUE(m.IsEmpty());
}

TEST(MessageFields, ReplaceAndRemoveKeepTheOtherValues)
{
  BMessage m = EveryType();
  ASSERT_EQ(m.ReplaceInt32("i32", 1, 99), B_OK);
  EXPECT_EQ(m.ReplaceInt32("i32", 5, 99), B_BAD_INDEX);
  EXPECT_EQ(m.ReplaceString("i32", "x"), B_BAD_TYPE);
  EXPECT_EQ(m.ReplaceString(">state", "cancel"), B_NAME_NOT_FOUND);
  ASSERT_EQ(m.RemoveData("i32", 0), B_OK);
  int32 count = 0;
  type_code type = 0;
  ASSERT_EQ(m.GetInfo("i32", &type, &count), B_OK);
  EXPECT_EQ(type, uint32(B_INT32_TYPE));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(m.GetInt32("i32", 0), 99);
  ASSERT_EQ(m.RemoveName("_okName"), B_OK);
  EXPECT_FALSE(m.HasString("_okName"));
  EXPECT_EQ(m.CountNames(B_STRING_TYPE), 1);
  m.RemoveData("empty");
  EXPECT_EQ(m.CountNames(B_STRING_TYPE), 0) << "removing the last value removes the name";
}

TEST(MessageFlatten, RoundTripKeepsEveryTypeAndOrder)
{
  BMessage original = EveryType();
  std::string flat = Flat(original);
  EXPECT_EQ(flat.size(), size_t(original.FlattenedSize()));
  BMessage copy;
  ASSERT_EQ(copy.Unflatten(flat.data(), flat.size()), B_OK);
  EXPECT_EQ(copy.what, original.what);
  EXPECT_EQ(Flat(copy), flat) << "same fields, same order, same bytes";
  EXPECT_EQ(copy.GetDouble("d", 0), -2.25e300);
  EXPECT_EQ(copy.GetInt64("_presetTime", 0), INT64_C(1208244600));
  const void* raw = nullptr;
  ssize_t size = 0;
  ASSERT_EQ(copy.FindData("raw", 'ABCD', &raw, &size), B_OK);
  EXPECT_EQ(size, 5);
  EXPECT_EQ(memcmp(raw, "\0\1\2\3\0", 5), 0);
}

TEST(MessageFlatten, LayoutIsLittleEndianWithHeader)
{
  BMessage m('_KXT');
  m.AddInt32("a", 0x01020304);
  std::string flat = Flat(m);
  const std::string expected("OVMF\x01\x00\x00\x00"
                             "TXK_"
                             "\x01\x00\x00\x00"
                             "\x26\x00\x00\x00"
                             "GNOL"
                             "\x01"
                             "a"
                             "\x01\x00\x00\x00"
                             "\x04\x00\x00\x00"
                             "\x04\x03\x02\x01",
                             38);
  EXPECT_EQ(flat, expected);
}

TEST(MessageFlatten, FlattenIntoBufferChecksItsSize)
{
  BMessage m = EveryType();
  std::vector<char> buffer(size_t(m.FlattenedSize()));
  EXPECT_EQ(m.Flatten(buffer.data(), ssize_t(buffer.size()) - 1), B_BAD_VALUE);
  ASSERT_EQ(m.Flatten(buffer.data(), ssize_t(buffer.size())), B_OK);
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), Flat(m));
}

// Every way a flattened message can be damaged; each must be refused and
// leave the message empty.
struct DamageCase {
  const char* edge;
  std::function<void(std::string*)> damage;
};

class MessageUnflattenRefuses : public testing::TestWithParam<DamageCase> {};

TEST_P(MessageUnflattenRefuses, AndLeavesMessageEmpty)
{
  BMessage m('_KXT');
  m.AddInt32("a", 5);
  m.AddBool("b", true);
  m.AddString("s", "text");
  std::string flat = Flat(m);
  GetParam().damage(&flat);
  BMessage target('keep');
  target.AddInt32("old", 1);
  EXPECT_EQ(target.Unflatten(flat.data(), flat.size()), B_BAD_DATA);
  EXPECT_TRUE(target.IsEmpty());
  EXPECT_EQ(target.what, 0u);
}

void SetByte(std::string* s, size_t at, uint8 value)
{
  (*s)[at] = char(value);
}

// Offsets in the sample: header 0..19, field "a" from 20 (type 20, name
// length 24, name 25, count 26, value length 30, value 34), field "b" from
// 38 (name 43, value 52).
INSTANTIATE_TEST_SUITE_P(
    Damage, MessageUnflattenRefuses,
    testing::Values(
        DamageCase{"empty input", [](std::string* s) { s->clear(); }},
        DamageCase{"header cut short", [](std::string* s) { s->resize(12); }},
        DamageCase{"last byte missing", [](std::string* s) { s->pop_back(); }},
        DamageCase{"trailing garbage", [](std::string* s) { s->push_back('x'); }},
        DamageCase{"wrong magic", [](std::string* s) { SetByte(s, 0, 'X'); }},
        DamageCase{"unknown version", [](std::string* s) { SetByte(s, 4, 2); }},
        DamageCase{"flags set", [](std::string* s) { SetByte(s, 6, 1); }},
        DamageCase{"field count too high", [](std::string* s) { SetByte(s, 12, 4); }},
        DamageCase{"field count too low", [](std::string* s) { SetByte(s, 12, 2); }},
        DamageCase{"field count beyond limit", [](std::string* s) { SetByte(s, 15, 0x7f); }},
        DamageCase{"total size differs", [](std::string* s) { SetByte(s, 16, uint8((*s)[16] + 1)); }},
        DamageCase{"name length zero", [](std::string* s) { SetByte(s, 24, 0); }},
        DamageCase{"name length past end", [](std::string* s) { SetByte(s, 24, 255); }},
        DamageCase{"name with zero byte", [](std::string* s) { SetByte(s, 25, 0); }},
        DamageCase{"value count zero", [](std::string* s) { SetByte(s, 26, 0); }},
        DamageCase{"value count beyond limit", [](std::string* s) { SetByte(s, 29, 0x7f); }},
        DamageCase{"value length huge", [](std::string* s) { SetByte(s, 33, 0xff); }},
        DamageCase{"int32 of wrong size", [](std::string* s) { SetByte(s, 30, 3); }},
        DamageCase{"type becomes any-type", [](std::string* s) { s->replace(20, 4, "TYNA"); }},
        DamageCase{"bool neither 0 nor 1", [](std::string* s) { SetByte(s, 52, 2); }},
        DamageCase{"duplicate name", [](std::string* s) { SetByte(s, 43, 'a'); }},
        DamageCase{"random garbage", [](std::string* s) { *s = std::string(64, '\xa5'); }}),
    [](const testing::TestParamInfo<DamageCase>& info) {
      std::string name = info.param.edge;
      for (char& c : name)
        if (!isalnum(uint8(c)))
          c = '_';
      return name;
    });

TEST(MessageFlatten, StringWithZeroByteIsRefused)
{
  BMessage m;
  m.AddString("s", "abc");
  std::string flat = Flat(m);
  flat[flat.size() - 2] = '\0';
  BMessage target;
  EXPECT_EQ(target.Unflatten(flat.data(), flat.size()), B_BAD_DATA);
}

TEST(MessageFlatten, OversizedMessagesAreRefused)
{
  BMessage big;
  std::string chunk(BMessage::kMaxFlattenedSize / 2, 'x');
  ASSERT_EQ(big.AddString("a", chunk), B_OK);
  ASSERT_EQ(big.AddString("b", chunk), B_OK);
  std::string flat;
  EXPECT_EQ(big.Flatten(&flat), B_BAD_VALUE) << "past the limit nothing is flattened";

  std::string header("OVMF\x01\x00\x00\x00xxxx\x00\x00\x00\x00", 16);
  std::string oversized = header + std::string(BMessage::kMaxFlattenedSize, '\0');
  uint32 size = uint32(oversized.size() + 4);
  for (int i = 0; i < 4; i++)
    oversized.insert(oversized.begin() + 16 + i, char((size >> (8 * i)) & 0xff));
  BMessage target;
  EXPECT_EQ(target.Unflatten(oversized.data(), oversized.size()), B_BAD_DATA);
}

TEST(MessageFlatten, NestingDeeperThanLimitIsRefused)
{
  BMessage inner('deep');
  for (int depth = 1; depth <= BMessage::kMaxNestingDepth; depth++) {
    BMessage outer('deep');
    ASSERT_EQ(outer.AddMessage("m", &inner), B_OK) << "depth " << depth;
    inner = outer;
  }
  BMessage tooDeep('deep');
  EXPECT_EQ(tooDeep.AddMessage("m", &inner), B_BAD_VALUE);
}
