// The window with calendar sources, as a user meets them: a source added to
// calendars.conf (by the window or a script) is synced and its days are
// marked; Reload syncs again; a failure leaves the days; the MarkDays
// submenu and the Calendars window say how each source stands.
#include "app/CalendarsWindow.h"
#include "marks/STMarkups.h"
#include "platform/messaging/AppDefs.h"
#include "controls/TDView.h"
#include "platform/interface/BCheckBox.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/interface/BTextControl.h"
#include "sync/SourcesFile.h"
#include "tests/app/OrvellaFixture.h"
#include "tests/sync/SyncServers.h"

#include <fstream>

namespace {

const QByteArray kTeamDay = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:t@test\r\nDTSTART;VALUE=DATE:20300506\r\nSUMMARY:Team day\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n";

class WindowCalendars : public ::testing::Test {
protected:
  void SetUp() override
  {
    window = OrvellaEnv::app->Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(server.Running());
    server.SetFeed(kTeamDay);
  }

  void TearDown() override
  {
    if (window->CalendarsWin())
      window->CalendarsWin()->PostMessage(B_QUIT_REQUESTED);
    std::string error;
    WriteSources(SourcesFilePath(), {}, &error);
    WaitFor([&]() { return window->Sources()->Entries().empty(); });
  }

  const CalendarSync::Entry* WaitForSource(const std::string& id, SyncStatus status)
  {
    const CalendarSync* sync = window->Sources();
    WaitFor([&]() {
      const CalendarSync::Entry* entry = sync->Find(id);
      return entry != nullptr && !entry->syncing && entry->state.status == status;
    });
    return sync->Find(id);
  }

  std::string MarkText(int32 month, int32 day, int32 year)
  {
    std::string text;
    STMarkups::getSTMarkups()->GetMarkText(month, day, year, &text, false);
    return text;
  }

  // The MarkDays submenu's lines, after the four kinds.
  std::vector<std::string> SourceLines()
  {
    SettingsMenu* settings = window->Settings();
    BMenu* marks = settings->globals->Menu();
    std::vector<std::string> lines;
    for (int32 i = marks->IndexOf(settings->events) + 1; i < marks->CountItems(); i++) {
      if (marks->ItemAt(i)->Command() == 'cCAL')
        lines.push_back(marks->ItemAt(i)->Label());
    }
    return lines;
  }

  OVA_Window* window = nullptr;
  TestServer server;
};

} // namespace

TEST_F(WindowCalendars, AFeedInTheSourcesFileIsSyncedAndMarked)
{
  const int32 globals = STMarkups::getSTMarkups()->fGlobals;
  CalendarSource source;
  source.url = server.Url("/feed.ics").toStdString();
  source.kind = "frFR";
  std::string error;
  ASSERT_TRUE(WriteSources(SourcesFilePath(), {source}, &error)) << error;

  // The running window picks the file up by itself.
  ASSERT_NE(WaitForSource(source.Id(), SyncStatus::kSynced), nullptr);
  ASSERT_TRUE(WaitFor([&]() { return !MarkText(5, 6, 2030).empty(); }));
  EXPECT_EQ(MarkText(5, 6, 2030), "frFR : Team day | ");
  EXPECT_EQ(window->Settings()->globals->Label(), " " + std::to_string(globals + 1) + " Globals");
  ASSERT_EQ(SourceLines().size(), 1u);
  EXPECT_EQ(SourceLines()[0].find(" 1 127.0.0.1:" + std::to_string(server.Port()) + "/feed.ics: synced "), 0u)
      << SourceLines()[0];

  // Reload syncs again and shows what changed.
  server.SetFeed(QByteArray(kTeamDay).replace("Team day", "Team night"));
  BMessage reload('rMDf');
  window->MessageReceived(&reload);
  ASSERT_TRUE(WaitFor([&]() { return MarkText(5, 6, 2030) == "frFR : Team night | "; })) << MarkText(5, 6, 2030);

  // A failing server leaves the days, and says so.
  server.SetMode("status 500");
  window->MessageReceived(&reload);
  ASSERT_NE(WaitForSource(source.Id(), SyncStatus::kServerError), nullptr);
  Settle();
  EXPECT_EQ(MarkText(5, 6, 2030), "frFR : Team night | ");
  EXPECT_NE(SourceLines()[0].find(": server error (synced "), std::string::npos) << SourceLines()[0];
  server.SetMode("");
}

TEST_F(WindowCalendars, TheCalendarsWindowAddsShowsAndRemovesSources)
{
  BMessage open('cCAL');
  window->MessageReceived(&open);
  CalendarsWindow* calendars = window->CalendarsWin();
  ASSERT_NE(calendars, nullptr);
  EXPECT_STREQ(calendars->Title(), "Calendars");

  // An address that is no calendar is refused with the reason.
  calendars->AddressField()->SetText(server.Url("/nothing.ics").toUtf8().constData());
  calendars->PostMessage('cADD');
  ASSERT_TRUE(WaitFor([&]() { return std::string(calendars->StatusText()).find("not a calendar") == 0; }))
      << calendars->StatusText();
  EXPECT_TRUE(window->Sources()->Entries().empty());

  // A feed is added at once.
  calendars->AddressField()->SetText(server.Url("/feed.ics").toUtf8().constData());
  calendars->KindField()->SetText("user");
  calendars->PostMessage('cADD');
  ASSERT_TRUE(WaitFor([&]() { return window->Sources()->Entries().size() == 1; }));
  const std::string id = window->Sources()->Entries()[0].source.Id();
  ASSERT_NE(WaitForSource(id, SyncStatus::kSynced), nullptr);
  ASSERT_TRUE(WaitFor([&]() { return MarkText(5, 6, 2030) == "Team day | "; })) << MarkText(5, 6, 2030);
  EXPECT_EQ(calendars->AddressField()->Text(), "");
  ASSERT_EQ(calendars->RowTexts().size(), 1u);
  EXPECT_NE(calendars->RowTexts()[0].find("| synced "), std::string::npos) << calendars->RowTexts()[0];
  std::vector<std::string> problems;
  ASSERT_EQ(ReadSources(SourcesFilePath(), &problems).size(), 1u);
  EXPECT_EQ(ReadSources(SourcesFilePath(), &problems)[0].kind, "user");

  // Remove takes the source, its days and its cache away.
  BMessage remove('cRMV');
  remove.AddString("id", id.c_str());
  calendars->MessageReceived(&remove);
  EXPECT_TRUE(window->Sources()->Entries().empty());
  ASSERT_TRUE(WaitFor([&]() { return MarkText(5, 6, 2030).empty(); }));
  EXPECT_TRUE(calendars->RowTexts().empty());
  ASSERT_TRUE(WaitFor([&]() { return access(SourceCache(id).DataPath().c_str(), F_OK) != 0; }));
}

TEST_F(WindowCalendars, ACalDavAccountListsItsCalendarsToPickFrom)
{
  Radicale radicale;
  ASSERT_TRUE(radicale.MakeCalendar("/alice/work/", "Work"));
  ASSERT_TRUE(radicale.MakeCalendar("/alice/home/", "Home"));
  ASSERT_TRUE(radicale.PutEvent("/alice/work/a.ics", "a", "20300507", "Planning"));
  ASSERT_TRUE(radicale.PutEvent("/alice/home/h.ics", "h", "20300508", "Dentist"));

  window->OpenCalendarsWindow();
  CalendarsWindow* calendars = window->CalendarsWin();
  calendars->AddressField()->SetText(radicale.Url("/").toUtf8().constData());
  calendars->UserField()->SetText("alice");
  calendars->PasswordField()->SetText(kRadicalePassword);
  calendars->PostMessage('cADD');
  ASSERT_TRUE(WaitFor([&]() { return calendars->CountFound() == 2; })) << calendars->StatusText();
  EXPECT_EQ(calendars->PasswordField()->Text(), "") << "the password leaves the field";

  // Only Work is shown.
  auto* home = dynamic_cast<BCheckBox*>(calendars->FindView("/alice/home/"));
  ASSERT_NE(home, nullptr);
  home->SetValue(B_CONTROL_OFF);
  calendars->PostMessage('cSHW');
  ASSERT_TRUE(WaitFor([&]() { return window->Sources()->Entries().size() == 1; }));
  const std::string id = window->Sources()->Entries()[0].source.Id();
  ASSERT_NE(WaitForSource(id, SyncStatus::kSynced), nullptr);
  ASSERT_TRUE(WaitFor([&]() { return MarkText(5, 7, 2030) == " Planning | "; })) << MarkText(5, 7, 2030);
  EXPECT_TRUE(MarkText(5, 8, 2030).empty());
  EXPECT_EQ(calendars->RowTexts()[0].find("Work | synced "), 0u) << calendars->RowTexts()[0];

  // The password is in no settings file and no cache file.
  std::ifstream sources(SourcesFilePath());
  const std::string text((std::istreambuf_iterator<char>(sources)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.find(kRadicalePassword), std::string::npos);
  EXPECT_NE(text.find("calendar = /alice/work/"), std::string::npos) << text;
  std::string data, error;
  ASSERT_TRUE(SourceCache(id).ReadData(&data, &error));
  EXPECT_EQ(data.find(kRadicalePassword), std::string::npos);
}

TEST_F(WindowCalendars, TheWindowAnswersWhileAServerStalls)
{
  CalendarSource source;
  source.url = server.Url("/feed.ics").toStdString();
  std::string error;
  ASSERT_TRUE(WriteSources(SourcesFilePath(), {source}, &error)) << error;
  ASSERT_NE(WaitForSource(source.Id(), SyncStatus::kSynced), nullptr);
  ASSERT_TRUE(WaitFor([&]() { return MarkText(5, 6, 2030) == " Team day | "; }));

  const struct {
    const char* edge;
    const char* mode;
    int32 day;
    SyncStatus after;
  } rows[] = {
      {"no answer for seconds", "slow-headers 6", 9, SyncStatus::kSynced},
      {"an answer that stops and breaks off", "slow-body 6", 10, SyncStatus::kBadAnswer},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    server.SetMode(row.mode);
    BMessage reload('rMDf');
    window->MessageReceived(&reload);
    ASSERT_TRUE(window->Sources()->Find(source.Id())->syncing);
    // A day picked while the sync waits for the server is taken at once.
    BMessage pick('NDAY');
    pick.AddInt32("_day", row.day);
    pick.AddInt32("_mon", 6);
    pick.AddInt32("_year", 2030);
    window->PostMessage(&pick);
    ASSERT_TRUE(WaitFor([&]() { return window->Panel()->DayField()->value == row.day; }));
    EXPECT_TRUE(window->Sources()->Find(source.Id())->syncing) << "the sync was still waiting";
    ASSERT_NE(WaitForSource(source.Id(), row.after), nullptr);
    EXPECT_EQ(MarkText(5, 6, 2030), " Team day | ");
    server.SetMode("");
  }
}
