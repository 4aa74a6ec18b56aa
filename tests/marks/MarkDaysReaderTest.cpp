#include "calendar/Codes.h"
#include "tests/marks/MarksFixture.h"

#include <random>
#include <vector>

namespace {

// A record as the reader should leave it; an undated record has day 0.
struct Expected {
  const char* date;
  const char* name;
  const char* kind;
  int32 year, month, day;
};

class MarkDaysReaderTest : public MarksTest {};

TEST_F(MarkDaysReaderTest, RecordLines)
{
  const Expected christmas = {"ever/12/25", "Christmas Day", "enUS", 0, 12, 25};
  const Expected birthday = {"1970/05/17", "Birthday", "user", 1970, 5, 17};
  const Expected undated = {nullptr, "--no-name--", "deDE", 0, 0, 0};
  const struct {
    const char* edge;
    std::string file;
    std::vector<Expected> records;
  } rows[] = {
      {"file ending with a newline gives one record per line",
       "[HD][ever/12/25][Christmas Day][enUS]\n[MD][1970/05/17][Birthday][user]\n", {christmas, birthday}},
      {"last line without a newline", "[HD][ever/12/25][Christmas Day][enUS]", {christmas}},
      {"name before date gives the same record", "[HD][Birthday][1970/05/17][user]\n", {birthday}},
      {"comments, plain text and lines without fields are skipped",
       "; [HD][ever/01/01][New Year][enUS]\nplain\n[HD] no fields\n\n[HD][ever/12/25][Christmas Day][enUS]\n",
       {christmas}},
      {"kind of five letters is cut to four", "[HD][ever/12/25][Christmas Day][enUSA]\n", {christmas}},
      {"empty kind keeps deDE", "[HD][ever/10/03][Unity][]\n", {{"ever/10/03", "Unity", "deDE", 0, 10, 3}}},
      {"name without closing bracket keeps the default name", "[HD][2004/05/01][Labour Day\n",
       {{"2004/05/01", "--no-name--", "deDE", 2004, 5, 1}}},
      {"date without closing bracket leaves an undated record", "[HD][2004/05/01\n", {undated}},
      {"two leading blanks shift every field", "  [HD][ever/12/25][Christmas Day][enUS]\n",
       {{"ever/12/25", "", "Chri", 0, 12, 25}}},
      {"day and month without a year is a name", "[HD][ever/12/25][12/25][enUS]\n",
       {{"ever/12/25", "12/25", "enUS", 0, 12, 25}}},
      {"date longer than 11 characters is cut", "[HD][2004/02/0312345][Leap][enUS]\n",
       {{"2004/02/031", "Leap", "enUS", 2004, 2, 31}}},
      {"line over 1022 characters: the name runs past the first piece",
       "[HD][ever/03/03][" + std::string(1500, 'x') + "][enUS]\n",
       {{"ever/03/03", "--no-name--", "deDE", 0, 3, 3}}},
      {"the rest of a long comment is read as a line of its own",
       ";" + std::string(1021, ' ') + "[HD][ever/12/25][Christmas Day][enUS]\n", {christmas}},
      {"record line of exactly five characters", "[HD][", {undated}},
      {"line ending right after field 1", "[HD][ever/12/25]", {{"ever/12/25", "--no-name--", "deDE", 0, 12, 25}}},
      {"empty file", "", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    LoadMarkDays(row.file);
    ASSERT_EQ(fMarks->CountItems(), static_cast<int32>(row.records.size()));
    for (size_t i = 0; i < row.records.size(); i++) {
      const Expected& want = row.records[i];
      const MarkDay* got = fMarks->ItemAt(static_cast<int32>(i));
      EXPECT_TRUE(want.date == nullptr || std::string(got->fDate) == want.date) << got->fDate;
      EXPECT_EQ(got->fName, want.name);
      EXPECT_STREQ(long2asc(got->fKind), want.kind);
      EXPECT_EQ(std::vector<int32>({got->fYear, got->fMonth, got->fDay}),
                std::vector<int32>({want.year, want.month, want.day}));
    }
  }
}

TEST_F(MarkDaysReaderTest, MissingFileKeepsTheList)
{
  LoadMarkDays("[HD][ever/12/25][Christmas Day][enUS]\n");
  std::string missing = fHome.Path("people/NoSuchFile");
  testing::internal::CaptureStdout();
  fMarks->LoadHolidays(missing.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            " Marks load: '" + missing + "'\n '" + missing + "' Missing !\n");
  EXPECT_EQ(fMarks->CountItems(), 1);
}

TEST_F(MarkDaysReaderTest, BinaryGarbageAroundARecord)
{
  std::mt19937 random(20061224);
  std::string garbage;
  for (int i = 0; i < 64 * 1024; i++)  // brackets and NULs in plenty
    garbage.push_back(i % 7 == 0 ? "[]\0;/\n"[random() % 6] : static_cast<char>(random()));
  LoadMarkDays(garbage + "\n[HD][ever/12/25][Christmas Day][enUS]\n" + garbage);
  ASSERT_NE(fMarks->IsMarkDay(12, 25, 2030), nullptr);
  EXPECT_EQ(fMarks->IsMarkDay(12, 25, 2030)->fName, "Christmas Day");
}

} // namespace
