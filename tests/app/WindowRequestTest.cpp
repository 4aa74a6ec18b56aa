// The window's request cycle and the application's routing, with the test
// as the requester.
#include "controls/TDView.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BMessenger.h"
#include "calendar/TwelveHourClock.h"
#include "settings/Prefs.h"
#include "views/TimeView.h"
#include "tests/app/OrvellaFixture.h"
#include "calendar/LocalTime.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

BMessage DateRequest(void* itor, bool onlyTime = false)
{
  BMessage request('_KXT');
  request.AddBool("_ask", true);
  request.AddBool("_onlyTime", onlyTime);
  request.AddInt64("_presetTime", 1208244600);  // 2008/04/15 09:30 in Berlin
  request.AddPointer("_itor", itor);
  request.AddString("_okName", onlyTime ? "get Time" : "get Date");
  return request;
}

class WindowRequest : public ::testing::Test {
protected:
  void SetUp() override
  {
    window = OrvellaEnv::app->Window();
    ASSERT_NE(window, nullptr);
    requester = new Requester();
  }
  void TearDown() override
  {
    // Leave the window idle for the next test.
    if (window->IsWaitingForAnswer())
      window->SendDateTimeMessage(0);
    Settle();
    delete requester;
  }

  void Ask(BMessage request)
  {
    BMessenger(be_app).SendMessage(&request, requester);
    ASSERT_TRUE(WaitFor([&] { return window->IsWaitingForAnswer(); }));
  }

  void Press(BButton* button) { button->Invoke(); }

  BMessage WaitForAnswer(size_t count = 1)
  {
    EXPECT_TRUE(WaitFor([&] { return requester->answers.size() >= count; }));
    return requester->answers.empty() ? BMessage() : requester->answers.back();
  }

  TDView* Panel() const { return window->Panel(); }
  int32 Field(TDStringView* field) const { return field->value; }

  OVA_Window* window = nullptr;
  Requester* requester = nullptr;
};

TEST_F(WindowRequest, RequestPresetsThePanel)
{
  int tag;
  Ask(DateRequest(&tag));
  EXPECT_EQ(Field(Panel()->YearField()), 2008);
  EXPECT_EQ(Field(Panel()->MonthField()), 4);
  EXPECT_EQ(Field(Panel()->DayField()), 15);
  EXPECT_EQ(Field(Panel()->HourField()), 9);
  EXPECT_EQ(Field(Panel()->MinuteField()), 30);
  EXPECT_STREQ(Panel()->OkButton()->Label(), "> get Date");
  EXPECT_TRUE(Panel()->OkButton()->IsEnabled());
  EXPECT_TRUE(Panel()->CancelButton()->IsEnabled());
  EXPECT_FALSE(Panel()->BroadcastButton()->IsEnabled());
  EXPECT_TRUE(Panel()->DayField()->focused);
}

TEST_F(WindowRequest, OkAnswersWithTheTimeAndResetsThePanel)
{
  int tag;
  Ask(DateRequest(&tag));
  Press(Panel()->OkButton());
  BMessage answer = WaitForAnswer();

  EXPECT_EQ(answer.what, uint32('_KXT'));
  const std::vector<std::string> expected = {">time", ">target", ">stype", ">state"};
  EXPECT_EQ(FieldNames(answer), expected);
  EXPECT_EQ(answer.GetInt64(">time", 0), 1208244600);
  EXPECT_EQ(answer.GetInt32(">stype", 9), 1);
  EXPECT_STREQ(answer.GetString(">state", ""), "send");
  BMessenger target;
  ASSERT_EQ(answer.FindMessenger(">target", &target), B_OK);
  EXPECT_EQ(target, BMessenger(requester));

  EXPECT_FALSE(window->IsWaitingForAnswer());
  EXPECT_STREQ(Panel()->OkButton()->Label(), "OK");
  EXPECT_FALSE(Panel()->OkButton()->IsEnabled());
  EXPECT_TRUE(Panel()->BroadcastButton()->IsEnabled());
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  EXPECT_EQ(Field(Panel()->YearField()), local.tm_year + 1900);
}

TEST_F(WindowRequest, CancelCarriesTheRequestTagAndNoTime)
{
  int tag;
  Ask(DateRequest(&tag));
  Press(Panel()->CancelButton());
  BMessage answer = WaitForAnswer();
  const std::vector<std::string> expected = {">target", ">stype", ">state", "_resetPtr"};
  EXPECT_EQ(FieldNames(answer), expected);
  EXPECT_STREQ(answer.GetString(">state", ""), "cancel");
  EXPECT_EQ(answer.GetPointer("_resetPtr"), &tag);
}

TEST_F(WindowRequest, BroadcastWhileWaitingAnswersTheRequesterWithTheDateFields)
{
  int tag;
  Ask(DateRequest(&tag));
  // The panel's Broadcast button is disabled while a requester waits; the
  // window still answers a broadcast kind directly.
  window->SendDateTimeMessage(-1);
  BMessage answer = WaitForAnswer();
  const std::vector<std::string> expected = {"_year", "_month", "_day", "_hour", "_min",
                                             "_sec", ">time", ">target", ">stype", ">state"};
  EXPECT_EQ(FieldNames(answer), expected);
  EXPECT_EQ(answer.GetInt32("_year", 0), 2008);
  EXPECT_EQ(answer.GetInt32("_month", 0), 4);
  EXPECT_EQ(answer.GetInt32("_day", 0), 15);
  EXPECT_EQ(answer.GetInt32("_hour", 0), 9);
  EXPECT_EQ(answer.GetInt32("_min", 0), 30);
  EXPECT_STREQ(answer.GetString(">state", ""), "2all");
}

TEST_F(WindowRequest, SecondRequestCancelsTheFirst)
{
  int first, second;
  Ask(DateRequest(&first));
  Requester* other = new Requester();
  BMessage request = DateRequest(&second, true);
  BMessenger(be_app).SendMessage(&request, other);
  BMessage cancel = WaitForAnswer();
  EXPECT_STREQ(cancel.GetString(">state", ""), "cancel");
  EXPECT_EQ(cancel.GetPointer("_resetPtr"), &first);

  ASSERT_TRUE(WaitFor([&] { return std::string(Panel()->OkButton()->Label()) == "> get Time"; }));
  EXPECT_TRUE(Panel()->HourField()->focused) << "a time request focuses the hour";
  EXPECT_TRUE(Panel()->YearField()->IsHidden());
  Press(Panel()->OkButton());
  ASSERT_TRUE(WaitFor([&] { return !other->answers.empty(); }));
  EXPECT_EQ(other->answers.back().GetInt32(">stype", 9), 1);
  EXPECT_EQ(requester->answers.size(), 1u) << "the first requester got only its cancel";
  delete other;
}

TEST_F(WindowRequest, RequesterThatHasGoneAwayMissesItsAnswer)
{
  int tag;
  Ask(DateRequest(&tag));
  delete requester;
  requester = new Requester();
  Press(Panel()->OkButton());
  Settle();
  EXPECT_FALSE(window->IsWaitingForAnswer());
  Ask(DateRequest(&tag));
  Press(Panel()->OkButton());
  EXPECT_EQ(WaitForAnswer().GetInt32(">stype", 9), 1);
}

TEST_F(WindowRequest, RequestWithoutPresetOrLabelShowsTheEpochAndOk)
{
  BMessage request('_KXT');
  request.AddBool("_ask", false);  // only its presence counts
  Ask(request);
  EXPECT_EQ(Field(Panel()->YearField()), 1970);
  EXPECT_EQ(Field(Panel()->DayField()), 1);
  EXPECT_EQ(Field(Panel()->HourField()), 1);  // midnight UTC in Berlin
  EXPECT_STREQ(Panel()->OkButton()->Label(), "> OK");
}

std::string ShownDate(TDView* panel)
{
  char text[64];
  snprintf(text, sizeof text, "%s/%02d/%s %s:%s", panel->YearField()->Text(), int(panel->MonthField()->value),
           panel->DayField()->Text(), panel->HourField()->Text(), panel->MinuteField()->Text());
  return text;
}

// A preset the panel cannot show exactly is treated like one that cannot
// be converted: a trace line names it, the panel shows time 0 (01:00 in
// Berlin) and OK answers time 0. Presets it can show are answered as they
// are, and the day range is the shown month's from the start.
TEST_F(WindowRequest, PresetsThePanelCannotShowGiveTimeZero)
{
  const struct {
    const char* edge;
    int64 preset;
    std::string shown;  // empty: time 0
    int32 lastDay;
  } rows[] = {
      {"first minute of the year range", LocalInstant(1900, 1, 1, 0, 0), "1900/01/01 00:00", 31},
      {"last minute of the year range", LocalInstant(2037, 12, 31, 23, 59), "2037/12/31 23:59", 31},
      {"February of a leap year", LocalInstant(2008, 2, 10, 9, 30), "2008/02/10 09:30", 29},
      {"February of a common year", LocalInstant(2009, 2, 28, 9, 30), "2009/02/28 09:30", 28},
      {"a minute before the year range", LocalInstant(1899, 12, 31, 23, 59), "", 31},
      {"2^31 seconds, in 2038", int64(1) << 31, "", 31},
      {"the local year 10000", LocalInstant(10000, 1, 1, 0, 0), "", 31},
      {"the year 0", LocalInstant(0, 6, 1, 12, 0), "", 31},
      {"2^55 seconds", int64(1) << 55, "", 31},
      {"the largest 64-bit value", INT64_MAX, "", 31},
      {"the smallest 64-bit value", INT64_MIN, "", 31},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    BMessage request = DateRequest(nullptr);
    request.ReplaceInt64("_presetTime", row.preset);
    testing::internal::CaptureStdout();
    Ask(request);
    fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    char trace[96];
    snprintf(trace, sizeof trace, "_presetTime %lld cannot be shown; the panel shows time 0\n", (long long)row.preset);
    EXPECT_EQ(out.find(trace) != std::string::npos, row.shown.empty()) << out;
    EXPECT_EQ(ShownDate(Panel()), row.shown.empty() ? "1970/01/01 01:00" : row.shown);
    EXPECT_EQ(Panel()->DayField()->maxValue, row.lastDay);
    Press(Panel()->OkButton());
    EXPECT_EQ(WaitForAnswer(requester->answers.size() + 1).GetInt64(">time", -1), row.shown.empty() ? 0 : row.preset);
  }
}

// What a request's fields may hold: a field of another type counts as
// missing, of several values the first is used, and the send button's text
// is cut to 64 bytes, never inside a character.
TEST_F(WindowRequest, RequestFieldsOfOtherTypesCountAsMissingAndLongLabelsAreCut)
{
  BMessage intAsk('_KXT');
  intAsk.AddInt32("_ask", 1);
  testing::internal::CaptureStdout();
  OrvellaEnv::app->MessageReceived(&intAsk);
  fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "an int32 \"_ask\" is no request";
  EXPECT_FALSE(window->IsWaitingForAnswer());

  auto repeat = [](const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; i++)
      repeated += text;
    return repeated;
  };
  const std::string umlaut = "\xc3\xa4";  // one character in two bytes
  const struct {
    const char* edge;
    std::vector<std::string> okNames;
    std::string label;
  } rows[] = {
      {"64 bytes are kept", {repeat("x", 64)}, "> " + repeat("x", 64)},
      {"longer texts are cut to 64 bytes", {repeat("x", 100)}, "> " + repeat("x", 64)},
      {"a character is never cut in two", {"x" + repeat(umlaut, 40)}, "> x" + repeat(umlaut, 31)},
      {"of several values the first counts", {"first", "second"}, "> first"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    BMessage request('_KXT');
    request.AddBool("_ask", true);
    request.AddInt32("_presetTime", 1208244600);  // an int32: no preset
    request.AddInt32("_onlyTime", 1);             // an int32: not time-only
    for (const std::string& name : row.okNames)
      request.AddString("_okName", name.c_str());
    Ask(request);
    EXPECT_STREQ(Panel()->OkButton()->Label(), row.label.c_str());
    EXPECT_EQ(Field(Panel()->YearField()), 1970);
    EXPECT_FALSE(Panel()->YearField()->IsHidden());
    window->SendDateTimeMessage(0);
  }
}

TEST_F(WindowRequest, ClipPutsTheDateOnTheClipboard)
{
  Ask(DateRequest(nullptr));
  Press(window->ClipButton());
  ASSERT_TRUE(WaitFor([] { return !QGuiApplication::clipboard()->text().isEmpty(); }));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), " 2008/04/15 09:30");
  EXPECT_TRUE(window->IsWaitingForAnswer()) << "a copy does not end the request";
}

TEST_F(WindowRequest, DayPickOutsideItsRangeTakesTheCurrentDay)
{
  BMessage pick('NDAY');
  pick.AddInt32("_day", 40);
  pick.AddInt32("_mon", 2);
  pick.AddInt32("_year", 2004);
  testing::internal::CaptureStdout();
  OrvellaEnv::app->MessageReceived(&pick);
  fflush(stdout);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(" FIX A\n"), std::string::npos);
  EXPECT_EQ(Field(Panel()->MonthField()), 2);
  EXPECT_EQ(Field(Panel()->YearField()), 2004);
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  EXPECT_EQ(Field(Panel()->DayField()), std::min(local.tm_mday, 29));
}

struct RouteRow {
  const char* edge;
  uint32 what;
  bool ask;
  const char* expectedStart;  // null: no output at all
};

const RouteRow kRoutes[] = {
    {"an answer coming back is dropped silently", '_KXT', false, nullptr},
    {"ignored mouse code", '_MDN', false, nullptr},
    {"language change at the application", 'kxCL', false, nullptr},
    {"event notice", 'vEve', false, nullptr},
    {"unknown code is logged", 'WHAT', false, "OVA_App#"},
    {"a request reaches the window", '_KXT', true, "BMessage"},
};

TEST_F(WindowRequest, ApplicationRoutesByCode)
{
  for (const RouteRow& row : kRoutes) {
    BMessage message(row.what);
    if (row.ask)
      message.AddBool("_ask", true);
    testing::internal::CaptureStdout();
    OrvellaEnv::app->MessageReceived(&message);
    fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    if (row.expectedStart == nullptr)
      EXPECT_EQ(out, "") << row.edge;
    else
      EXPECT_EQ(out.rfind(row.expectedStart, 0), 0u) << row.edge << ": " << out;
  }
}

TEST_F(WindowRequest, WindowLogsUnknownCodesAndData)
{
  BMessage unknown('WHAT');
  BMessage data('DATA');
  testing::internal::CaptureStdout();
  window->MessageReceived(&unknown);
  fflush(stdout);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("OVA_Window::MessageReceived\n", 0), 0u);

  testing::internal::CaptureStdout();
  window->MessageReceived(&data);
  fflush(stdout);
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("OVA_Window"), std::string::npos);
  EXPECT_FALSE(out.empty());
}

// What the panel's time fields show: "15:07" in 24-hour entry, "03:07 PM"
// in 12-hour entry.
std::string ShownTime(TDView* panel)
{
  std::string shown = std::string(panel->HourField()->Text()) + ":" + panel->MinuteField()->Text();
  if (!panel->AmPmField()->IsHidden())
    shown += std::string(" ") + panel->AmPmField()->Text();
  return shown;
}

std::string ClockText(int hour, bool twelveHour)
{
  char text[16];
  if (twelveHour)
    snprintf(text, sizeof text, "%02d:07 %s", hour % 12 == 0 ? 12 : hour % 12, hour < 12 ? "AM" : "PM");
  else
    snprintf(text, sizeof text, "%02d:07", hour);
  return text;
}

// The clock shows the hour of the day, on the 12-hour clock in that mode.
void ExpectClockShows(const TimeView* clock, int hour, bool twelveHour)
{
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->HourOfDay(), hour) << "clock";
  EXPECT_EQ(clock->fTwelveHour, twelveHour) << "clock";
  EXPECT_EQ(clock->fHour, twelveHour ? HourOnTwelveHourClock(hour) : hour) << "clock";
  if (twelveHour) {
    EXPECT_EQ(clock->fHalfDay, HalfOfDay(hour)) << "clock";
  }
}

// Every hour of the day, starting in either mode: the preset is shown on
// that mode's clock by the panel and the clock view, switching to the
// other mode and back shows the same time, OK untouched answers the
// preset, and an hour picked on the clock is shown and answered as picked.
TEST_F(WindowRequest, TwelveHourEntryShowsAndAnswersEveryHour)
{
  Prefs* prefs = Prefs::getSTPrefs();
  BMessage toggle('MENU');
  toggle.AddInt32("m_id", 5);
  BMessage expand('MENU');
  expand.AddInt32("m_id", 1);
  if (!prefs->fShowExpand)
    window->MessageReceived(&expand);  // the clock exists in the expanded window
  for (bool startTwelve : {false, true}) {
    for (int hour = 0; hour < 24; hour++) {
      SCOPED_TRACE(testing::Message() << "hour " << hour << (startTwelve ? " from 12-hour" : " from 24-hour"));
      if (prefs->fTimeStyle != startTwelve)
        window->MessageReceived(&toggle);
      BMessage request = DateRequest(nullptr, true);
      request.ReplaceInt64("_presetTime", LocalInstant(2008, 4, 15, hour, 7));
      Ask(request);
      EXPECT_EQ(ShownTime(Panel()), ClockText(hour, startTwelve));
      ExpectClockShows(window->Clock(), hour, startTwelve);
      window->MessageReceived(&toggle);
      EXPECT_EQ(ShownTime(Panel()), ClockText(hour, !startTwelve)) << "switched";
      ExpectClockShows(window->Clock(), hour, !startTwelve);
      window->MessageReceived(&toggle);
      EXPECT_EQ(ShownTime(Panel()), ClockText(hour, startTwelve)) << "switched back";
      ExpectClockShows(window->Clock(), hour, startTwelve);
      Press(Panel()->OkButton());
      EXPECT_EQ(WaitForAnswer(requester->answers.size() + 1).GetInt64(">time", 0),
                LocalInstant(2008, 4, 15, hour, 7));

      // An hour picked on the clock, across noon and midnight.
      const int picked = (hour + 13) % 24;
      Ask(request);
      BMessage pick('CTIM');
      pick.AddInt32("_tsep", 2);
      pick.AddInt32("_hour", picked);
      pick.AddInt32("_min", 0);
      OrvellaEnv::app->MessageReceived(&pick);
      EXPECT_EQ(ShownTime(Panel()), ClockText(picked, startTwelve)) << "picked " << picked;
      ExpectClockShows(window->Clock(), picked, startTwelve);
      Press(Panel()->OkButton());
      EXPECT_EQ(WaitForAnswer(requester->answers.size() + 1).GetInt64(">time", 0),
                LocalInstant(2008, 4, 15, picked, 7));
    }
  }
  window->MessageReceived(&toggle);  // back to 24-hour entry
  window->MessageReceived(&expand);
}

}  // namespace
