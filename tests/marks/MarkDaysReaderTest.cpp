#include "calendar/Codes.h"
#include "tests/marks/MarksFixture.h"

#include <random>
#include <vector>

namespace {

struct Expected {
  const char* date;  // null: the record got no date and marks no day
  const char* name;
  const char* kind;
  int32 year;
  int32 month;
  int32 day;
};

struct ReaderRow {
  const char* edge;
  std::string file;
  std::vector<Expected> records;
};

std::string LongLine(size_t length, char filler)
{
  return std::string(length, filler);
}

class MarkDaysReaderTest : public MarksTest {};

TEST_F(MarkDaysReaderTest, RecordLines)
{
  const Expected christmas = {"ever/12/25", "Christmas Day", "enUS", 0, 12, 25};
  const Expected birthday = {"1970/05/17", "Birthday", "user", 1970, 5, 17};
  const ReaderRow rows[] = {
      {"file ending with a newline gives one record per line",
       "[HD][ever/12/25][Christmas Day][enUS]\n[HD][1970/05/17][Birthday][user]\n",
       {christmas, birthday}},
      {"last line without a newline", "[HD][ever/12/25][Christmas Day][enUS]", {christmas}},
      {"name before date gives the same record", "[HD][Birthday][1970/05/17][user]\n", {birthday}},
      {"MD marker reads like HD", "[MD][ever/12/25][Christmas Day][enUS]\n", {christmas}},
      {"comments, plain text and lines without fields are skipped",
       "; [HD][ever/01/01][New Year][enUS]\nplain text\n[HD] no fields\n\n"
       "[HD][ever/12/25][Christmas Day][enUS]\n",
       {christmas}},
      {"kind of five letters is cut to four", "[HD][ever/07/04][Independence Day][enUSA]\n",
       {{"ever/07/04", "Independence Day", "enUS", 0, 7, 4}}},
      {"empty kind keeps deDE", "[HD][ever/10/03][Unity Day][]\n",
       {{"ever/10/03", "Unity Day", "deDE", 0, 10, 3}}},
      {"kind without closing bracket keeps deDE", "[HD][ever/10/03][Unity Day][enUS\n",
       {{"ever/10/03", "Unity Day", "deDE", 0, 10, 3}}},
      {"name without closing bracket keeps the default name", "[HD][2004/05/01][Labour Day\n",
       {{"2004/05/01", "--no-name--", "deDE", 2004, 5, 1}}},
      {"date without closing bracket leaves an undated record", "[HD][2004/05/01\n",
       {{nullptr, "--no-name--", "deDE", 0, 0, 0}}},
      {"two leading blanks shift every field",
       "  [HD][ever/12/25][Christmas Day][enUS]\n", {{"ever/12/25", "", "Chri", 0, 12, 25}}},
      {"day and month without a year is a name", "[HD][ever/12/25][12/25][enUS]\n",
       {{"ever/12/25", "12/25", "enUS", 0, 12, 25}}},
      {"of two dates the second stays", "[HD][2004/01/01][2005/02/02][enUS]\n",
       {{"2005/02/02", "--no-name--", "enUS", 2005, 2, 2}}},
      {"date longer than 11 characters is cut", "[HD][2004/02/0312345][Leap][enUS]\n",
       {{"2004/02/031", "Leap", "enUS", 2004, 2, 31}}},
      {"line over 1022 characters: the name runs past the first piece",
       "[HD][ever/03/03][" + LongLine(1500, 'x') + "][enUS]\n",
       {{"ever/03/03", "--no-name--", "deDE", 0, 3, 3}}},
      {"the rest of a long comment is read as a line of its own",
       ";" + LongLine(1021, ' ') + "[HD][ever/04/04][Tail][enUS]\n",
       {{"ever/04/04", "Tail", "enUS", 0, 4, 4}}},
      {"record line of exactly five characters", "[HD][", {{nullptr, "--no-name--", "deDE", 0, 0, 0}}},
      {"line ending right after field 1", "[HD][ever/12/25]", {{"ever/12/25", "--no-name--", "deDE", 0, 12, 25}}},
      {"empty file", "", {}},
  };
  for (const ReaderRow& row : rows) {
    SCOPED_TRACE(row.edge);
    LoadMarkDays(row.file);
    ASSERT_EQ(fMarks->CountItems(), static_cast<int32>(row.records.size()));
    for (size_t i = 0; i < row.records.size(); i++) {
      const Expected& want = row.records[i];
      const MarkDay* got = fMarks->ItemAt(static_cast<int32>(i));
      if (want.date != nullptr) {
        EXPECT_STREQ(got->fDate, want.date);
      }
      EXPECT_EQ(got->fName, want.name);
      EXPECT_STREQ(long2asc(got->fKind), want.kind);
      EXPECT_EQ(got->fYear, want.year);
      EXPECT_EQ(got->fMonth, want.month);
      EXPECT_EQ(got->fDay, want.day);
    }
  }
}

TEST_F(MarkDaysReaderTest, MissingAndEmptyFiles)
{
  LoadMarkDays("[HD][ever/12/25][Christmas Day][enUS]\n");
  std::string missing = fHome.Path("people/NoSuchFile");

  testing::internal::CaptureStdout();
  fMarks->LoadHolidays(missing.c_str());
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, " Marks load: '" + missing + "'\n '" + missing + "' Missing !\n");
  EXPECT_EQ(fMarks->CountItems(), 1) << "a missing file keeps the list";

  std::string empty = WriteFile("people/Empty", "; only a comment\n");
  testing::internal::CaptureStdout();
  fMarks->LoadHolidays(empty.c_str());
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("Missing"), std::string::npos) << "an empty file is not missing";
  EXPECT_EQ(fMarks->CountItems(), 1);
}

TEST_F(MarkDaysReaderTest, DefaultPathInTheHomeFolder)
{
  WriteFile("people/MarkDays", "[HD][1970/05/17][Birthday][user]\n");
  fMarks->ClearList();
  fMarks->LoadHolidays(nullptr);
  ASSERT_EQ(fMarks->CountItems(), 1);
  EXPECT_EQ(fMarks->ItemAt(0)->fName, "Birthday");
}

TEST_F(MarkDaysReaderTest, BinaryGarbageAroundARecord)
{
  std::mt19937 random(20061224);
  std::string garbage;
  for (int i = 0; i < 64 * 1024; i++) {
    char c = static_cast<char>(random() & 0xFF);
    // Brackets and NULs in plenty, so pieces look almost like records.
    if (i % 7 == 0)
      c = "[]\0;/\n"[random() % 6];
    garbage.push_back(c);
  }
  LoadMarkDays(garbage + "\n[HD][ever/12/25][Christmas Day][enUS]\n" + garbage);
  bool found = false;
  for (int32 i = 0; i < fMarks->CountItems(); i++) {
    const MarkDay* record = fMarks->ItemAt(i);
    EXPECT_LT(strlen(record->fDate), sizeof(record->fDate));
    found = found || record->fName == "Christmas Day";
  }
  EXPECT_TRUE(found);
  EXPECT_STREQ(fMarks->IsMarkDay(12, 25, 2030)->fName.c_str(), "Christmas Day");
}

} // namespace
