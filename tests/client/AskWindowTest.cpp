// AskOrvel's window in one process on a private session bus, with real
// widgets: the answers, cancels, broadcasts and language changes it
// evaluates, the requests it broadcasts and how it starts Orvella.
#include "client/Ask_Application.h"
#include "client/ask_Window.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/BStringView.h"
#include "platform/storage/FindDirectory.h"
#include "locale/KXLangMenu.h"
#include "tests/platform/TestSupport.h"
#include "tests/platform/TempHome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace {

// 15 April 2008, 09:30 in Berlin (summer time): the client's preset.
constexpr int64 kPreset = 1208244600;

// Records what reaches the application object before routing it as usual.
class RecordingApp : public Ask_Application {
public:
  void MessageReceived(BMessage* message) override
  {
    received.push_back(*message);
    Ask_Application::MessageReceived(message);
  }
  std::vector<BMessage> received;
};

RecordingApp* sApp = nullptr;

class AppEnvironment : public testing::Environment {
public:
  // No Orvella beside the test program nor on PATH: windows made here find
  // nothing to start. The language they choose is stored in a home of
  // their own.
  void SetUp() override
  {
    fEnv.Set("PATH", "/nonexistent");
    fHome = std::make_unique<TempHome>();
    sApp = new RecordingApp;
  }
  void TearDown() override
  {
    delete sApp;
    sApp = nullptr;
    fHome.reset();
  }

private:
  ScopedEnv fEnv;
  std::unique_ptr<TempHome> fHome;
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

BButton* Button(ask_Window* window, const char* name)
{
  return dynamic_cast<BButton*>(window->FindView(name));
}

const char* Text(ask_Window* window, const char* name)
{
  auto* line = dynamic_cast<BStringView*>(window->FindView(name));
  return line ? line->Text() : "(none)";
}

// What the user sees, in one line.
std::string Shown(ask_Window* window)
{
  return "mode=" + std::to_string(window->AskMode()) + " askb=" + (Button(window, "askb")->IsEnabled() ? "1" : "0")
         + " askt=" + (Button(window, "askt")->IsEnabled() ? "1" : "0") + " rdate='" + Text(window, "rdate")
         + "' rtime='" + Text(window, "rtime") + "' bcSv='" + Text(window, "bcSv") + "'";
}

std::unique_ptr<ask_Window> NewWindow()
{
  return std::make_unique<ask_Window>(BRect(100, 100, 400, 270));
}

enum Asked { kNothing, kDate, kTime };
enum Reset { kNoReset, kDateButton, kForeign };

struct AnswerCase {
  const char* name;
  Asked asked;
  int32 stype;       // INT32_MIN: no ">stype" field
  bool withTime;
  int64 time;
  Reset reset;
  const char* shown;
};

const AnswerCase kAnswerCases[] = {
    {"send answer to a date request shows the date", kDate, 1, true, kPreset, kNoReset,
     "mode=0 askb=1 askt=1 rdate=' 2008/04/15 09:30' rtime='...' bcSv='...'"},
    {"send answer to a time request shows the time", kTime, 1, true, kPreset, kNoReset,
     "mode=0 askb=1 askt=1 rdate='...' rtime=' 09:30' bcSv='...'"},
    {"send answer while nothing is asked changes nothing", kNothing, 1, true, kPreset, kNoReset,
     "mode=0 askb=1 askt=1 rdate='...' rtime='...' bcSv='...'"},
    {"send answer without a time changes nothing", kDate, 1, false, 0, kNoReset,
     "mode=1 askb=0 askt=1 rdate='...' rtime='...' bcSv='...'"},
    {"answer without a kind is not a send answer", kDate, INT32_MIN, true, kPreset, kNoReset,
     "mode=1 askb=0 askt=1 rdate='...' rtime='...' bcSv='...'"},
    {"broadcast answer fills only the broadcast line", kDate, -1, true, kPreset, kNoReset,
     "mode=1 askb=0 askt=1 rdate='...' rtime='...' bcSv='2008/04/15 09:30 (Broadcast)'"},
    {"cancel carrying the asking button frees it", kDate, 0, false, 0, kDateButton,
     "mode=1 askb=1 askt=1 rdate='...' rtime='...' bcSv='...'"},
    {"cancel carrying a foreign tag changes nothing", kDate, 0, false, 0, kForeign,
     "mode=1 askb=0 askt=1 rdate='...' rtime='...' bcSv='...'"},
    {"broadcast time beyond the calendar shows an empty line", kNothing, -1, true, INT64_MAX, kNoReset,
     "mode=0 askb=1 askt=1 rdate='...' rtime='...' bcSv=''"},
};

} // namespace

TEST(AskWindowTest, AnswersChangeWhatTheWindowShows)
{
  for (const AnswerCase& row : kAnswerCases) {
    SCOPED_TRACE(row.name);
    auto window = NewWindow();
    if (row.asked != kNothing)
      window->AskOrvel(row.asked == kTime);

    BMessage answer('_KXT');
    if (row.withTime)
      answer.AddInt64(">time", row.time);
    if (row.stype != INT32_MIN)
      answer.AddInt32(">stype", row.stype);
    if (row.reset == kDateButton)
      answer.AddPointer("_resetPtr", Button(window.get(), "askb"));
    else if (row.reset == kForeign)
      answer.AddPointer("_resetPtr", reinterpret_cast<void*>(uintptr_t(0x1234)));
    window->MessageReceived(&answer);
    EXPECT_EQ(Shown(window.get()), row.shown);
  }
}

TEST(AskWindowTest, RequestsCarryTheContractFields)
{
  struct {
    const char* name;
    bool timeOnly;
    const char* okName;
    const char* button;
  } const rows[] = {
      {"date request", false, "get Date", "askb"},
      {"time request", true, "get Time", "askt"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto window = NewWindow();
    const BMessenger windowMessenger(window.get());
    sApp->received.clear();
    testing::internal::CaptureStdout();
    window->AskOrvel(row.timeOnly);
    const BMessage* request = nullptr;
    WaitFor([&]() {
      for (const BMessage& message : sApp->received) {
        BMessenger from;
        if (message.what == '_KXT' && message.FindMessenger(">NewTarget", &from) == B_OK && from == windowMessenger)
          request = &message;
      }
      return request != nullptr;
    });
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_NE(request, nullptr) << "the broadcast comes back to the client itself";
    EXPECT_NE(printed.find("ask Win: ..selbst abgesetzt\n"), std::string::npos) << printed;

    EXPECT_EQ(FieldNames(*request), (std::vector<std::string>{">NewTarget", "_tar_signature_", "_ask", "_onlyTime",
                                                              "_presetTime", "_itor", "_okName"}));
    EXPECT_STREQ(request->GetString("_tar_signature_", ""), "application/AskOrvel");
    EXPECT_TRUE(request->GetBool("_ask", false));
    EXPECT_EQ(request->GetBool("_onlyTime", !row.timeOnly), row.timeOnly);
    EXPECT_EQ(request->GetInt64("_presetTime", 0), kPreset) << "09:30 in summer time, not an hour off";
    EXPECT_EQ(request->GetPointer("_itor"), Button(window.get(), row.button));
    EXPECT_STREQ(request->GetString("_okName", ""), row.okName);
    EXPECT_EQ(Shown(sApp->Window()), "mode=0 askb=1 askt=1 rdate='...' rtime='...' bcSv='...'")
        << "the client's own request changes nothing in its window";
  }
}

TEST(AskWindowTest, LanguageChoiceRelabelsTheWindowAndShowsTheDictionaryName)
{
  BPath program;
  find_directory(B_PROGRAM_DIRECTORY, &program);
  const std::string german = std::string(program.Path()) + "/Dictionaries/AskOrvel.deDE";
  struct {
    std::string path;
    int32 item;
    const char* shown;
    const char* askDate;
    const char* okName;
  } const rows[] = {
      {german, 0, "AskOrvel.deDE", "Datum wählen", "Übernehmen"},
      {"_none", 3, "_none", "Ask Date", "get Date"},
      {"Deutsch", 0, "Deutsch", "Ask Date", "get Date"},
  };
  auto window = NewWindow();
  ASSERT_NE(window->LangMenu(), nullptr);
  ASSERT_EQ(window->LangMenu()->ItemCountAfterScan(), 4) << "German, French, a separator and the default";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    BMessage change('kxCL');
    change.AddInt32("_MenuItem", row.item);
    change.AddString("_LangFilePath", row.path.c_str());
    window->MessageReceived(&change);
    EXPECT_STREQ(Text(window.get(), "bcSv"), row.shown);
    EXPECT_STREQ(Button(window.get(), "askb")->Label(), row.askDate);
    sApp->received.clear();
    window->AskOrvel(false);
    ASSERT_TRUE(WaitFor([&]() { return !sApp->received.empty() && sApp->received.back().what == '_KXT'; }));
    EXPECT_STREQ(sApp->received.back().GetString("_okName", ""), row.okName) << "the OK label asked for";
  }
}

TEST(AskWindowTest, RunOrvelStartsTheProgramOnlyWhenNoneRuns)
{
  TempHome home;
  // Spaces and a semicolon in the folder: a shell would split the path and
  // run "touch injected" in the current folder.
  const std::string folder = home.Path("my bin;touch injected;");
  mkdir(folder.c_str(), 0700);
  const std::string program = folder + "/Orvella";
  std::ofstream(program) << "#!/bin/sh\necho started > \"${0%/*}/started\"\n";
  chmod(program.c_str(), 0700);
  ScopedEnv env;
  env.Set("PATH", folder.c_str());
  const std::string cwd = QDir::currentPath().toStdString();
  QDir::setCurrent(QString::fromStdString(home.Root()));

  auto window = NewWindow();
  struct stat info;
  ASSERT_TRUE(WaitFor([&]() { return stat((folder + "/started").c_str(), &info) == 0; }))
      << "the program beside a path with blanks was started";
  EXPECT_NE(stat(home.Path("injected").c_str(), &info), 0) << "no shell read the path";
  remove((folder + "/started").c_str());

  const QString orvellan = "org.orvella.app.application_2fx-vnd_2eKX-Orvellan";
  ASSERT_TRUE(QDBusConnection::sessionBus().registerService(orvellan));
  testing::internal::CaptureStdout();
  window->RunOrvel();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " is running, return\n");
  QDBusConnection::sessionBus().unregisterService(orvellan);

  env.Set("PATH", "/nonexistent");
  testing::internal::CaptureStdout();
  window->RunOrvel();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "App not found :( \n");
  QDir::setCurrent(QString::fromStdString(cwd));
}

// Runs last: it closes the application's own window.
TEST(AskWindowTest, AnswerAfterTheWindowClosedIsDropped)
{
  ASSERT_NE(sApp->Window(), nullptr);
  sApp->Window()->Quit();
  ASSERT_EQ(sApp->Window(), nullptr);
  BMessage answer('_KXT');
  answer.AddInt32(">stype", -1);
  answer.AddInt64(">time", kPreset);
  sApp->MessageReceived(&answer); // reached a deleted window before
}
