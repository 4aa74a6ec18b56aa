// What another program on the bus can make AskOrvel and Orvella do: this
// test program delivers and broadcasts as any program could, to the real
// processes on a private session bus and X server. AskOrvel takes only
// Orvella's answers, language changes and the quit request; both programs
// refuse malformed language changes and overlong language paths.
#include "client/Ask_Application.h"
#include "locale/KXLangMenu.h"
#include "tests/client/RoadSupport.h"

#include <QDBusMessage>

namespace {

class TestApp : public BApplication {
public:
  TestApp() : BApplication("application/x-vnd.test-boundary") {}
  void MessageReceived(BMessage*) override {}
};

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { fApp = std::make_unique<TestApp>(); }
  void TearDown() override { fApp.reset(); }

private:
  std::unique_ptr<TestApp> fApp;
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

const QString kAskBusName = "org.orvella.app.application_2fAskOrvel";
const std::string kRefused = "org.orvella.Error.Refused";
const std::string kNoSuchHandler = "org.orvella.Error.NoSuchHandler";

// Delivers the message to a path of a program as another program does and
// returns the error name of the reply; empty when the message was taken.
std::string Deliver(const QString& busName, const QString& path, const BMessage& message)
{
  std::string flat;
  EXPECT_EQ(message.Flatten(&flat), B_OK);
  QDBusMessage call = QDBusMessage::createMethodCall(busName, path, "org.orvella.Looper", "Deliver");
  call << QByteArray(flat.data(), qsizetype(flat.size())) << QString() << QString();
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kWaitMs);
  return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName().toStdString() : std::string();
}

BMessage LanguageChange(const std::string& path)
{
  BMessage change('kxCL');
  change.AddInt32("_MenuItem", 0);
  change.AddString("_LangFilePath", path.c_str());
  return change;
}

// The language changes no program takes from another one.
std::vector<std::pair<const char*, BMessage>> MalformedLanguageChanges()
{
  BMessage noPath('kxCL');
  noPath.AddInt32("_MenuItem", 0);
  BMessage numberPath('kxCL');
  numberPath.AddInt32("_LangFilePath", 7);
  return {
      {"no language path", noPath},
      {"a number as language path", numberPath},
      {"an empty language path", LanguageChange("")},
      {"a 15 MiB language path", LanguageChange("/" + std::string(15 << 20, 'd') + "/AskOrvel.frFR")},
      {"one byte over the limit", LanguageChange(std::string(kMaxLangPathLength - 10, 'd') + "/Orvel.frFR")},
  };
}

class BoundaryRoadTest : public RoadTest {
protected:
  // Starts AskOrvel's window beside the running Orvella.
  std::unique_ptr<Program> StartAskOrvel(const QStringList& options = {})
  {
    auto ask = std::make_unique<Program>(BinDir() + "/AskOrvel", options);
    EXPECT_TRUE(WaitFor([] { return be_roster->IsRunning(kAskOrvelSignature); })) << ask->Output();
    return ask;
  }
};

} // namespace

TEST_F(BoundaryRoadTest, AskOrvelTakesOnlyOrvellasAnswersLanguageChangesAndQuit)
{
  StartOrvella();
  std::unique_ptr<Program> ask = StartAskOrvel();
  ASSERT_TRUE(WaitFor([] { return WindowShown("AskOrvel"); })) << ask->Output();
  ASSERT_TRUE(ask->WaitToSay("labels: askb='Ask Date'")) << ask->Output();

  // Its own buttons' codes, at the application object and at every handler.
  int refusedPaths = 0;
  for (int token = 0; token <= 64; token++) {
    const QString path = token == 0 ? "/org/orvella/app" : QString("/org/orvella/handler/%1").arg(token);
    for (uint32 code : {uint32('_ASK'), uint32('_AST')}) {
      const std::string error = Deliver(kAskBusName, path, BMessage(code));
      ASSERT_TRUE(error == kRefused || error == kNoSuchHandler) << path.toStdString() << ": " << error;
      refusedPaths += error == kRefused;
    }
  }
  EXPECT_GE(refusedPaths, 4) << "the application and the window at least";
  BMessage press('_ASK');
  ASSERT_EQ(be_roster->Broadcast(&press), B_OK);
  ASSERT_TRUE(ask->WaitToSay("AskOrvel: '_ASK' from another program dropped\n", refusedPaths / 2 + 1))
      << ask->Output();

  // An answer that Orvella did not send.
  BMessage forged('_KXT');
  forged.AddInt64(">time", 0);
  forged.AddMessenger(">target", BMessenger(kAskOrvelSignature));
  forged.AddInt32(">stype", -1);
  forged.AddString(">state", "2all");
  EXPECT_EQ(Deliver(kAskBusName, "/org/orvella/app", forged), kRefused);

  for (const auto& [edge, change] : MalformedLanguageChanges()) {
    SCOPED_TRACE(edge);
    EXPECT_EQ(Deliver(kAskBusName, "/org/orvella/app", change), kRefused);
  }
  EXPECT_FALSE(fOrvella->Said("<- '")) << "no request reached Orvella: " << fOrvella->Output();
  EXPECT_FALSE(ask->Said("shown: ")) << "no answer was shown: " << ask->Output();
  EXPECT_EQ(ask->Count("labels: "), 1) << ask->Output();

  // What the contract offers a client: a language change and the quit request.
  EXPECT_EQ(Deliver(kAskBusName, "/org/orvella/app", LanguageChange("/elsewhere/Orvella.deDE")), "");
  ASSERT_TRUE(ask->WaitToSay("labels: askb='Datum wählen' askt='Uhrzeit wählen'\n")) << ask->Output();
  EXPECT_EQ(Deliver(kAskBusName, "/org/orvella/app", BMessage(B_QUIT_REQUESTED)), "");
  ASSERT_TRUE(ask->WaitToExit()) << ask->Output();
  EXPECT_EQ(ask->ExitCode(), 0);
}

TEST_F(BoundaryRoadTest, ScriptPrintsOnlyTheAnswerOfOrvella)
{
  StartOrvella();
  QProcessEnvironment noDisplay;
  noDisplay.insert("DISPLAY", "");
  Program script(BinDir() + "/AskOrvel", {"--date", "--preset", "2024-03-10 09:30", "--timeout", "60"}, noDisplay);
  ASSERT_TRUE(fOrvella->WaitToSay("<- '0x")) << script.Output() << fOrvella->Output();

  BMessage forged('_KXT');
  forged.AddInt64(">time", 0);
  forged.AddMessenger(">target", BMessenger(kAskOrvelSignature));
  forged.AddInt32(">stype", 1);
  forged.AddString(">state", "send");
  EXPECT_EQ(Deliver(kAskBusName, "/org/orvella/app", forged), kRefused);
  ASSERT_TRUE(ClickUntil(kOkX, kButtonY, [&] { return !script.Stdout().empty(); })) << script.Output();
  ASSERT_TRUE(script.WaitToExit());
  EXPECT_EQ(script.ExitCode(), 0) << script.Output();
  EXPECT_EQ(script.Stdout(), "2024-03-10\n");
}

TEST_F(BoundaryRoadTest, OrvellaRefusesMalformedLanguageChangesAndKeepsItsLanguage)
{
  StartOrvella();
  ASSERT_TRUE(fOrvella->WaitToSay("labels: ")) << fOrvella->Output();
  for (const auto& [edge, change] : MalformedLanguageChanges()) {
    SCOPED_TRACE(edge);
    EXPECT_EQ(Deliver(kOrvellaBusName, "/org/orvella/app", change), kRefused);
  }
  BMessage longPath = MalformedLanguageChanges()[3].second;
  ASSERT_EQ(be_roster->Broadcast(&longPath), B_OK);
  const int dropped = int(MalformedLanguageChanges().size()) + 1;
  ASSERT_TRUE(fOrvella->WaitToSay("OVA_App: language change from another program dropped", dropped))
      << fOrvella->Output();
  EXPECT_TRUE(fOrvella->Said("dropped: it has a \"_LangFilePath\" longer than 4096 bytes\n"));
  EXPECT_EQ(fOrvella->Count("labels: "), 1) << "Orvella kept its labels: " << fOrvella->Output();
}
