#include "calendar/Codes.h"
#include "marks/EventScan.h"
#include "tests/marks/MarksFixture.h"

#include <random>
#include <vector>

namespace {

class RegistryTest : public MarksTest {};

TEST_F(RegistryTest, ShownFlagsFollowTheDaysSettings)
{
#ifdef ORVELLA_DESKTOP_VARIANT
  ASSERT_EQ(fMarks->fRegion, static_cast<uint32>('deDE'));
#else
  ASSERT_EQ(fMarks->fRegion, static_cast<uint32>('enUS'));
#endif
  // One record of each category on the first four days of January 2006.
  LoadMarkDays("[HD][2006/01/01][Global][frFR]\n[HD][2006/01/02][Local][" +
               std::string(long2asc(fMarks->fRegion)) +
               "]\n[HD][1970/01/03][User][user]\n[HD][2006/01/04][Event][evnt]\n");
  const struct {
    const char* edge;
    bool Prefs::*setting;
    int hiddenDay;
  } rows[] = {
      {"days_global off hides global holidays", &Prefs::fDaysGlobal, 1},
      {"days_local off hides local holidays", &Prefs::fDaysLocal, 2},
      {"days_user off hides user days", &Prefs::fDaysUser, 3},
      {"days_event off hides events", &Prefs::fDaysEvent, 4},
  };
  Prefs* prefs = Prefs::getSTPrefs();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    prefs->*row.setting = false;
    fMarks->CheckHolidays();
    for (int day = 1; day <= 4; day++)
      EXPECT_EQ(fMarks->IsMarkDay(1, day, 2006) == nullptr, day == row.hiddenDay) << day;
    std::string text;
    fMarks->GetMarkText(1, row.hiddenDay, 2006, &text, false);
    EXPECT_EQ(text, "");
    prefs->*row.setting = true;
  }
  testing::internal::CaptureStdout();
  fMarks->ShowInfo();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            " MarkDays info- 4 items - \n region: '" + std::string(long2asc(fMarks->fRegion)) + "' " +
                std::to_string(fMarks->fRegion) +
                "   \n globals    1\n locals     1\n  users     1\n events     1\n")
      << "hidden records are still counted";
}

TEST_F(RegistryTest, MatchRules)
{
  LoadMarkDays("[HD][1970/05/17][Birthday][user]\n[HD][ever/12/25][Christmas Day][enUS]\n"
               "[HD][2006/04/14][Good Friday][deDE]\n[HD][2006/06/01][Trip][evnt]\n"
               "[HD][2006/12/25][Party][frFR]\n[HD][2006/05/17][Holiday][frFR]\n");
  const struct {
    const char* edge;
    int32 month, day, year;
    const char* first;  // null: not marked
  } rows[] = {
      {"user day in another year", 5, 17, 1900, "Birthday"},
      {"user day listed first wins over a dated holiday", 5, 17, 2006, "Birthday"},
      {"year 0 holiday every year", 12, 25, 1999, "Christmas Day"},
      {"year 0 holiday listed first wins", 12, 25, 2006, "Christmas Day"},
      {"dated holiday not in another year", 4, 14, 2007, nullptr},
      {"event in its year", 6, 1, 2006, "Trip"},
      {"event not in another year", 6, 1, 2007, nullptr},
  };
  for (const auto& row : rows) {
    const MarkDay* got = fMarks->IsMarkDay(row.month, row.day, row.year);
    EXPECT_EQ(got ? got->fName : "(none)", row.first ? row.first : "(none)") << row.edge;
  }
  EXPECT_TRUE(fMarks->IsEventDay(6, 1, 2006));
  EXPECT_FALSE(fMarks->IsEventDay(6, 1, 2007)) << "events never repeat";
  EXPECT_FALSE(fMarks->IsEventDay(12, 25, 2006)) << "a holiday is no event";
}

TEST_F(RegistryTest, IndexAnswersLikeTheListInListOrder)
{
  std::mt19937 random(1970);
  const char* kinds[] = {"user", "enUS", "deDE", "evnt", "frFR"};
  std::string file;
  for (int i = 0; i < 4000; i++) {  // month 13 and day 32: dates only their own lookups find
    char line[96];
    snprintf(line, sizeof(line), "[HD][%4d/%02d/%02d][r%d][%s]\n",
             random() % 4 == 0 ? 0 : 2004 + static_cast<int>(random() % 4),
             1 + static_cast<int>(random() % 13), 1 + static_cast<int>(random() % 32), i,
             kinds[random() % 5]);
    file += line;
  }
  LoadMarkDays(file);
  Prefs::getSTPrefs()->fDaysLocal = false;
  fMarks->CheckHolidays();
  for (int32 year = 2003; year <= 2008; year++) {
    for (int32 month = 1; month <= 13; month++) {
      for (int32 day = 1; day <= 32; day++) {
        std::string want;  // the plain walk of the list the index stands in for
        const MarkDay* wantFirst = nullptr;
        for (int32 i = 0; i < fMarks->CountItems(); i++) {
          const MarkDay* r = fMarks->ItemAt(i);
          if (r->fShow && r->fMonth == month && r->fDay == day &&
              (r->fKind == 'user' || r->fYear == 0 || r->fYear == year)) {
            wantFirst = wantFirst ? wantFirst : r;
            want += (r->fCategory == kCategoryGlobal ? std::string(long2asc(r->fKind)) + " : " : "") +
                    r->fName + " | ";
          }
        }
        std::string got;
        fMarks->GetMarkText(month, day, year, &got, false);
        ASSERT_EQ(got, want) << year << "/" << month << "/" << day;
        ASSERT_EQ(fMarks->IsMarkDay(month, day, year), wantFirst);
      }
    }
  }
}

TEST_F(RegistryTest, PlainAndHtmlTexts)
{
  const struct {
    const char* edge;
    std::string file;
    std::string plain, dated, html;
  } rows[] = {
      {"one global holiday", "[HD][2006/07/14][Bastille Day][frFR]\n", "frFR : Bastille Day | ",
       "2006/07/14\nfrFR : Bastille Day\n", "\t<b><font color='7f6161'>Bastille Day (frFR)</font></b>\n"},
      {"two records on one day", "[HD][ever/07/14][Party][frFR]\n[HD][1970/07/14][Grandma][user]\n",
       "frFR : Party | Grandma | ", "ever/07/14\nfrFR : Party\nGrandma\n",
       "\t<b><font color='7f6161'>Party (frFR)</font></b>\n"
       "<br>&#160; &#160; &#160; &#160;\t<b><font color='317f31'>Grandma</font></b>\n"},
      {"an event", "[HD][2006/07/14][ 10:00 Dentist][evnt]\n", " 10:00 Dentist | ",
       "2006/07/14\n 10:00 Dentist\n", "\t<b><font color='12c3c3'> 10:00 Dentist</font></b>\n"},
      {"markup in names and kinds is escaped", "[HD][2006/07/14][Tom & <script>'x'\"][<i>x]\n",
       "<i>x : Tom & <script>'x'\" | ", "2006/07/14\n<i>x : Tom & <script>'x'\"\n",
       "\t<b><font color='7f6161'>Tom &amp; &lt;script&gt;&#39;x&#39;&quot; (&lt;i&gt;x)</font></b>\n"},
      {"well-formed character references are kept, other ampersands escaped",
       "[HD][2006/07/14][M&auml;rz&#160;&#xA0;&amp; a&b &#; &#x; &abc &#1114112; &#xD800; &1a; &#12a;][user]\n",
       "M&auml;rz&#160;&#xA0;&amp; a&b &#; &#x; &abc &#1114112; &#xD800; &1a; &#12a; | ",
       "2006/07/14\nM&auml;rz&#160;&#xA0;&amp; a&b &#; &#x; &abc &#1114112; &#xD800; &1a; &#12a;\n",
       "\t<b><font color='317f31'>M&auml;rz&#160;&#xA0;&amp; a&amp;b &amp;#; &amp;#x; &amp;abc &amp;#1114112; "
       "&amp;#xD800; &amp;1a; &amp;#12a;</font></b>\n"},
      {"unmarked day", "[HD][2006/07/15][Other][frFR]\n", "", "old", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    LoadMarkDays(row.file);
    std::string plain = "old", dated = "old", html;
    fMarks->GetMarkText(7, 14, 2006, &plain, false);
    fMarks->GetMarkText(7, 14, 2006, &dated, true);
    fMarks->GetMarkUpText(7, 14, 2006, &html, true);
    EXPECT_EQ(plain, "old" + row.plain) << "appended to what is there";
    EXPECT_EQ(dated, row.dated) << "replaced by the date line";
    EXPECT_EQ(html, row.html);
  }
  testing::internal::CaptureStdout();
  fMarks->GetMarkText(7, 14, 2006, nullptr, true);
  fMarks->GetMarkUpText(7, 14, 2006, nullptr, true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " >BStringPtr is NULL\n >BStringPtr is NULL\n");
}

TEST_F(RegistryTest, ReloadDoesNotDuplicate)
{
  WriteFile("people/MarkDays", "[HD][ever/12/25][Christmas Day][enUS]\n[HD][2006/07/01][Trip][evnt]\n");
  std::string event = WriteFile("events/dentist", "");
  int32 when = 1151740800;  // 2006-07-01 10:00 in Berlin
  ASSERT_EQ(setxattr(event.c_str(), "user.EVENT:NextA", &when, sizeof(when), 0), 0);
  ASSERT_EQ(setxattr(event.c_str(), "user.EVENT:Summary", "Dentist", 7, 0), 0);
  for (int reload = 0; reload < 3; reload++) {
    fMarks->ClearList();
    EXPECT_EQ(fMarks->IsMarkDay(12, 25, 2006), nullptr) << "a cleared list marks nothing";
    fMarks->LoadHolidays(nullptr);
    EXPECT_NE(fMarks->IsMarkDay(12, 25, 2006), nullptr) << "new records are shown at once";
    EXPECT_EQ(LookForVEvents(), 1);
    fMarks->CheckHolidays();
  }
  EXPECT_EQ(fMarks->CountItems(), 3);
  EXPECT_EQ(fMarks->fEvents, 2);
  std::string text;
  fMarks->GetMarkText(7, 1, 2006, &text, false);
  EXPECT_EQ(text, "Trip |  10:00 Dentist | ");
}

} // namespace

namespace {

// Marks a day of every year, one entry, and counts the years asked of it.
class EveryYear : public YearSource {
public:
  EveryYear(uint32 kind, const char* name, int32 month, int32 day)
      : fKind(kind), fName(name), fMonth(month), fDay(day)
  {
  }
  uint32 Kind() const override { return fKind; }
  int32 CountEntries() const override { return 1; }
  const std::string& Name() const override { return fName; }
  bool MarksOf(int32 year, std::vector<YearMark>* marks, const Deadline&) const override
  {
    fAsked++;
    marks->push_back({year * 10000 + fMonth * 100 + fDay, 0, -1});
    return true;
  }
  std::unique_ptr<MarkDay> Record(const YearMark& mark) const override
  {
    kx_calday date = {mark.code / 10000, uint8(mark.code / 100 % 100), uint8(mark.code % 100), 0};
    auto record = std::make_unique<MarkDay>(fName.c_str(), &date);
    record->fKind = fKind;
    return record;
  }

  mutable int fAsked = 0;

private:
  uint32 fKind;
  std::string fName;
  int32 fMonth;
  int32 fDay;
};

// Keeps what it is asked to work out, for the test to answer.
class HeldWorker : public YearWorker {
public:
  void WorkOut(int32 year, std::vector<std::shared_ptr<const YearSource>> sources) override
  {
    asked.emplace_back(year, std::move(sources));
  }
  std::vector<std::pair<int32, std::vector<std::shared_ptr<const YearSource>>>> asked;
};

class YearSourceTest : public MarksTest {
protected:
  std::string Text(int32 month, int32 day, int32 year)
  {
    std::string text;
    fMarks->GetMarkText(month, day, year, &text, false);
    return text;
  }
};

TEST_F(YearSourceTest, ReplacedWholeInTheirPlace)
{
  auto a = std::make_shared<EveryYear>('user', "A", 3, 1);
  auto b = std::make_shared<EveryYear>('evnt', "B", 3, 1);
  fMarks->ReplaceYearSource({"a", a, {}});
  fMarks->ReplaceYearSource({"b", b, {}});
  fMarks->CheckHolidays();
  EXPECT_EQ(Text(3, 1, 2030), "A | B | ");
  EXPECT_TRUE(fMarks->fHasEvents) << "an events source enables the events switch";
  EXPECT_EQ(fMarks->fUsers + fMarks->fEvents, 2);

  // A new "a" brings its marks of 2030: the old ones go at once, the new
  // ones keep "a"'s place before "b", and 2030 is not asked of it again.
  auto a2 = std::make_shared<EveryYear>('user', "A2", 3, 1);
  fMarks->ReplaceYearSource({"a", a2, {{2030, {{20300301, 0, -1}, {20300302, 0, -1}}}}});
  fMarks->CheckHolidays();
  EXPECT_EQ(Text(3, 1, 2030), "A2 | B | ");
  EXPECT_EQ(Text(3, 2, 2030), "A2 | ");
  EXPECT_EQ(a2->fAsked, 0);
  EXPECT_EQ(Text(3, 1, 2031), "A2 | B | ") << "other years are worked out when looked up";
  EXPECT_EQ(a2->fAsked, 1);

  // The list is reloaded without the sources going; a null source removes one.
  fMarks->ClearList();
  EXPECT_EQ(Text(3, 1, 2030), "A2 | B | ");
  fMarks->ReplaceYearSource({"a", nullptr, {}});
  fMarks->CheckHolidays();
  EXPECT_EQ(Text(3, 1, 2030), "B | ");
  EXPECT_EQ(fMarks->YearSourceIds(), std::vector<std::string>{"b"});
  EXPECT_EQ(fMarks->fUsers, 0);
}

TEST_F(YearSourceTest, AWorkerGetsEachYearOnceAndStaleAnswersAreDropped)
{
  HeldWorker worker;
  fMarks->SetYearWorker(&worker);
  auto a = std::make_shared<EveryYear>('user', "A", 3, 1);
  auto b = std::make_shared<EveryYear>('user', "B", 3, 1);
  fMarks->ReplaceYearSource({"a", a, {}});
  fMarks->ReplaceYearSource({"b", b, {}});
  fMarks->CheckHolidays();

  EXPECT_EQ(Text(3, 1, 2040), "") << "nothing until the worker answers";
  EXPECT_EQ(fMarks->IsMarkDay(3, 1, 2040), nullptr);
  EXPECT_FALSE(fMarks->YearReady(2040));
  ASSERT_EQ(worker.asked.size(), 1u) << "asked once, however often looked up";
  EXPECT_EQ(worker.asked[0].first, 2040);
  EXPECT_EQ(worker.asked[0].second.size(), 2u);
  EXPECT_EQ(a->fAsked + b->fAsked, 0) << "nothing is worked out on this thread";

  // "b" is replaced before the answer comes: its old marks are dropped and
  // only the new "b" is asked for.
  auto b2 = std::make_shared<EveryYear>('user', "B2", 3, 1);
  fMarks->ReplaceYearSource({"b", b2, {}});
  fMarks->TakeYearMarks(2040, {{a, {{20400301, 0, -1}}}, {b, {{20400301, 0, -1}}}});
  EXPECT_EQ(Text(3, 1, 2040), "A | ");
  EXPECT_FALSE(fMarks->YearReady(2040));
  ASSERT_EQ(worker.asked.size(), 2u);
  ASSERT_EQ(worker.asked[1].second.size(), 1u);
  EXPECT_EQ(worker.asked[1].second[0], b2);
  fMarks->TakeYearMarks(2040, {{b2, {{20400301, 0, -1}}}});
  EXPECT_TRUE(fMarks->YearReady(2040));
  EXPECT_EQ(Text(3, 1, 2040), "A | B2 | ");
  fMarks->SetYearWorker(nullptr);
}

} // namespace
