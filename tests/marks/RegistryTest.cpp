#include "calendar/Codes.h"
#include "marks/EventScan.h"
#include "tests/marks/MarksFixture.h"

#include <random>
#include <vector>

namespace {

// One record of each category on the first four days of January 2006; the
// local one is of the build's home region.
std::string OneOfEachKind(uint32 region)
{
  return "[HD][2006/01/01][Global][frFR]\n"
         "[HD][2006/01/02][Local][" + std::string(long2asc(region)) + "]\n"
         "[HD][1970/01/03][User][user]\n"
         "[HD][2006/01/04][Event][evnt]\n";
}

class RegistryTest : public MarksTest {};

TEST_F(RegistryTest, ShownFlagsFollowTheDaysSettings)
{
  struct Row {
    const char* edge;
    bool Prefs::*setting;
    int hiddenDay;  // day of January 2006 that disappears
  } rows[] = {
      {"days_global off hides global holidays", &Prefs::fDaysGlobal, 1},
      {"days_local off hides local holidays", &Prefs::fDaysLocal, 2},
      {"days_user off hides user days", &Prefs::fDaysUser, 3},
      {"days_event off hides events", &Prefs::fDaysEvent, 4},
  };
  LoadMarkDays(OneOfEachKind(fMarks->fRegion));
  Prefs* prefs = Prefs::getSTPrefs();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    prefs->*row.setting = false;
    fMarks->CheckHolidays();
    for (int day = 1; day <= 4; day++)
      EXPECT_EQ(fMarks->IsMarkDay(1, day, 2006) == nullptr, day == row.hiddenDay) << day;
    std::string text;
    fMarks->GetMarkText(1, row.hiddenDay, 2006, &text, false);
    EXPECT_EQ(text, "");
    EXPECT_EQ(fMarks->fGlobals + fMarks->fLocals + fMarks->fUsers + fMarks->fEvents, 4)
        << "hidden records are still counted";
    prefs->*row.setting = true;
  }
  fMarks->CheckHolidays();
  EXPECT_TRUE(fMarks->IsEventDay(1, 4, 2006));
  EXPECT_EQ(fMarks->IsMarkDay(1, 2, 2006)->fCategory, kCategoryLocal);

  testing::internal::CaptureStdout();
  fMarks->ShowInfo();
  char expected[256];
  snprintf(expected, sizeof(expected),
           " MarkDays info- 4 items - \n region: '%s' %u   \n globals    1\n locals     1\n "
           " users     1\n events     1\n",
           long2asc(fMarks->fRegion), fMarks->fRegion);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}

TEST_F(RegistryTest, HomeRegionIsLocal)
{
  LoadMarkDays("[HD][ever/05/01][A][deDE]\n[HD][ever/05/02][B][enUS]\n");
#ifdef ORVELLA_ZETA
  EXPECT_EQ(fMarks->fRegion, static_cast<uint32>('deDE'));
#else
  EXPECT_EQ(fMarks->fRegion, static_cast<uint32>('enUS'));
#endif
  bool deDEisLocal = fMarks->fRegion == 'deDE';
  EXPECT_EQ(fMarks->IsMarkDay(5, 1, 2006)->fCategory, deDEisLocal ? kCategoryLocal : kCategoryGlobal);
  EXPECT_EQ(fMarks->IsMarkDay(5, 2, 2006)->fCategory, deDEisLocal ? kCategoryGlobal : kCategoryLocal);
}

TEST_F(RegistryTest, MatchRules)
{
  LoadMarkDays("[HD][1970/05/17][Birthday][user]\n"
               "[HD][ever/12/25][Christmas Day][enUS]\n"
               "[HD][2006/04/14][Good Friday][deDE]\n"
               "[HD][2006/06/01][Trip][evnt]\n"
               "[HD][2006/12/25][Party][frFR]\n"
               "[HD][ever/12/25][Second Christmas][deDE]\n"
               "[HD][2006/05/17][Holiday on the birthday][frFR]\n");
  struct Row {
    const char* edge;
    int32 month;
    int32 day;
    int32 year;
    const char* first;  // null: not marked
  } rows[] = {
      {"user day in its own year", 5, 17, 1970, "Birthday"},
      {"user day in a later year", 5, 17, 2030, "Birthday"},
      {"user day in an earlier year", 5, 17, 1900, "Birthday"},
      {"user day listed first wins over a holiday", 5, 17, 2006, "Birthday"},
      {"year 0 holiday every year", 12, 25, 1999, "Christmas Day"},
      {"first record wins on a shared day", 12, 25, 2006, "Christmas Day"},
      {"dated holiday in its year", 4, 14, 2006, "Good Friday"},
      {"dated holiday not in another year", 4, 14, 2007, nullptr},
      {"event in its year", 6, 1, 2006, "Trip"},
      {"event not in another year", 6, 1, 2007, nullptr},
      {"unmarked day", 3, 3, 2006, nullptr},
      {"day 0 is not marked", 0, 0, 2006, nullptr},
  };
  for (const Row& row : rows) {
    const MarkDay* got = fMarks->IsMarkDay(row.month, row.day, row.year);
    if (row.first == nullptr) {
      EXPECT_EQ(got, nullptr) << row.edge;
    } else {
      ASSERT_NE(got, nullptr) << row.edge;
      EXPECT_EQ(got->fName, row.first) << row.edge;
    }
  }
  EXPECT_TRUE(fMarks->IsEventDay(6, 1, 2006));
  EXPECT_FALSE(fMarks->IsEventDay(6, 1, 2007)) << "events never repeat";
  EXPECT_FALSE(fMarks->IsEventDay(12, 25, 2006)) << "a holiday is no event";
}

// The plain list walk the index stands in for.
std::vector<const MarkDay*> Walk(STMarkups* marks, int32 month, int32 day, int32 year)
{
  std::vector<const MarkDay*> found;
  for (int32 i = 0; i < marks->CountItems(); i++) {
    const MarkDay* r = marks->ItemAt(i);
    if (r->fShow && r->fMonth == month && r->fDay == day &&
        (r->fKind == 'user' || r->fYear == 0 || r->fYear == year))
      found.push_back(r);
  }
  return found;
}

TEST_F(RegistryTest, IndexAnswersLikeTheListInListOrder)
{
  std::mt19937 random(1970);
  const char* kinds[] = {"user", "enUS", "deDE", "evnt", "frFR"};
  std::string file;
  for (int i = 0; i < 4000; i++) {
    char line[96];
    int year = random() % 4 == 0 ? 0 : 2004 + static_cast<int>(random() % 4);
    // A few impossible dates, which only their own month and day find.
    int month = 1 + static_cast<int>(random() % 13);
    int day = 1 + static_cast<int>(random() % 32);
    snprintf(line, sizeof(line), "[HD][%4d/%02d/%02d][r%d][%s]\n", year, month, day, i,
             kinds[random() % 5]);
    file += line;
  }
  LoadMarkDays(file);
  Prefs::getSTPrefs()->fDaysLocal = false;
  fMarks->CheckHolidays();
  for (int32 year = 2003; year <= 2008; year++) {
    for (int32 month = 1; month <= 13; month++) {
      for (int32 day = 1; day <= 32; day++) {
        std::vector<const MarkDay*> want = Walk(fMarks, month, day, year);
        ASSERT_EQ(fMarks->IsMarkDay(month, day, year), want.empty() ? nullptr : want[0])
            << year << "/" << month << "/" << day;
        std::string text;
        fMarks->GetMarkText(month, day, year, &text, false);
        std::string expected;
        for (const MarkDay* r : want)
          expected += (r->fCategory == kCategoryGlobal ? std::string(long2asc(r->fKind)) + " : " : "") +
                      r->fName + " | ";
        ASSERT_EQ(text, expected) << year << "/" << month << "/" << day;
      }
    }
  }
}

TEST_F(RegistryTest, ListChangesReachTheLookups)
{
  LoadMarkDays("[HD][ever/12/25][Christmas Day][enUS]\n");
  ASSERT_NE(fMarks->IsMarkDay(12, 25, 2006), nullptr);
  fMarks->ClearList();
  EXPECT_EQ(fMarks->IsMarkDay(12, 25, 2006), nullptr) << "a cleared list marks nothing";
  std::string path = WriteFile("people/MarkDays", "[HD][ever/12/26][Boxing Day][enGB]\n");
  fMarks->LoadHolidays(path.c_str());
  ASSERT_NE(fMarks->IsMarkDay(12, 26, 2006), nullptr) << "new records are shown by default";
  EXPECT_EQ(fMarks->IsMarkDay(12, 26, 2006)->fName, "Boxing Day");
}

TEST_F(RegistryTest, PlainAndHtmlTexts)
{
  const std::string oneGlobal = "[HD][2006/07/14][Bastille Day][frFR]\n";
  const std::string twoOnADay =
      "[HD][ever/12/25][Christmas Day][frFR]\n[HD][1970/12/25][Grandma][user]\n";
  struct Row {
    const char* edge;
    std::string file;
    int32 month;
    int32 day;
    std::string plain;
    std::string dated;
    std::string html;
  } rows[] = {
      {"one global holiday", oneGlobal, 7, 14, "frFR : Bastille Day | ",
       "2006/07/14\nfrFR : Bastille Day\n",
       "\t<b><font color='7f6161'>Bastille Day (frFR)</font></b>\n"},
      {"two records on one day", twoOnADay, 12, 25, "frFR : Christmas Day | Grandma | ",
       "ever/12/25\nfrFR : Christmas Day\nGrandma\n",
       "\t<b><font color='7f6161'>Christmas Day (frFR)</font></b>\n"
       "<br>&#160; &#160; &#160; &#160;\t<b><font color='317f31'>Grandma</font></b>\n"},
      {"an event", "[HD][2006/03/03][ 10:00 Dentist][evnt]\n", 3, 3, " 10:00 Dentist | ",
       "2006/03/03\n 10:00 Dentist\n",
       "\t<b><font color='12c3c3'> 10:00 Dentist</font></b>\n"},
      {"markup in names and kinds is escaped",
       "[HD][2006/02/02][Tom & Jerry <script>'x'\"][<i>x]\n", 2, 2,
       "<i>x : Tom & Jerry <script>'x'\" | ", "2006/02/02\n<i>x : Tom & Jerry <script>'x'\"\n",
       "\t<b><font color='7f6161'>Tom &amp; Jerry &lt;script&gt;&#39;x&#39;&quot; "
       "(&lt;i&gt;x)</font></b>\n"},
      {"unmarked day", oneGlobal, 7, 15, "", "old", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    LoadMarkDays(row.file);
    std::string plain = "old";
    fMarks->GetMarkText(row.month, row.day, 2006, &plain, false);
    EXPECT_EQ(plain, "old" + row.plain) << "appended to what is there";
    std::string dated = "old";
    fMarks->GetMarkText(row.month, row.day, 2006, &dated, true);
    EXPECT_EQ(dated, row.dated) << "replaced by the date line";
    std::string html;
    fMarks->GetMarkUpText(row.month, row.day, 2006, &html, true);
    EXPECT_EQ(html, row.html);
  }

  testing::internal::CaptureStdout();
  fMarks->GetMarkText(7, 14, 2006, nullptr, true);
  fMarks->GetMarkUpText(7, 14, 2006, nullptr, true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            " >BStringPtr is NULL\n >BStringPtr is NULL\n");
}

TEST_F(RegistryTest, ReloadDoesNotDuplicate)
{
  WriteFile("people/MarkDays", OneOfEachKind(fMarks->fRegion));
  std::string event = WriteFile("events/dentist", "");
  int32 when = static_cast<int32>(1151740800);  // 2006-07-01 10:00 CEST
  ASSERT_EQ(setxattr(event.c_str(), "user.EVENT:NextA", &when, sizeof(when), 0), 0);
  ASSERT_EQ(setxattr(event.c_str(), "user.EVENT:Summary", "Dentist", 7, 0), 0);
  for (int reload = 0; reload < 3; reload++) {
    fMarks->ClearList();
    fMarks->LoadHolidays(nullptr);
    EXPECT_EQ(LookForVEvents(), 1);
    fMarks->CheckHolidays();
  }
  EXPECT_EQ(fMarks->CountItems(), 5);
  EXPECT_EQ(fMarks->fEvents, 2);
  EXPECT_EQ(fMarks->fGlobals + fMarks->fLocals + fMarks->fUsers, 3);
  std::string text;
  fMarks->GetMarkText(7, 1, 2006, &text, false);
  EXPECT_EQ(text, " 10:00 Dentist | ");
}

} // namespace
