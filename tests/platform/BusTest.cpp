// Two programs on one private session bus: this test program and
// bus_peer, started as a real process. Every wait is bounded.
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BusConnection.h"
#include "tests/platform/TestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace {

const char* const kTestSignature = "application/x-vnd.test-bus";

// Records every message that reaches it.
class Inbox : public BHandler {
public:
  Inbox() : BHandler("inbox") {}
  void MessageReceived(BMessage* message) override { messages.push_back(*message); }

  const BMessage* Find(uint32 what, const char* tag = nullptr) const
  {
    for (const BMessage& message : messages) {
      if (message.what == what && (tag == nullptr || strcmp(message.GetString("tag", ""), tag) == 0))
        return &message;
    }
    return nullptr;
  }

  std::vector<BMessage> messages;
};

class TestApp : public BApplication {
public:
  TestApp() : BApplication(kTestSignature) {}
  void MessageReceived(BMessage* message) override { inbox.MessageReceived(message); }
  Inbox inbox;
};

TestApp* sApp = nullptr;

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { sApp = new TestApp; }
  void TearDown() override
  {
    delete sApp;
    sApp = nullptr;
  }
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

// A running bus_peer and what it printed.
class Peer {
public:
  explicit Peer(const QStringList& args)
  {
    fProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&fProcess, &QProcess::readyReadStandardOutput,
                     [this]() { fOutput += QString::fromUtf8(fProcess.readAllStandardOutput()); });
    fProcess.start(BUS_PEER, args);
  }

  ~Peer()
  {
    if (fProcess.state() != QProcess::NotRunning) {
      fProcess.kill();
      fProcess.waitForFinished(kWaitMs);
    }
  }

  bool Said(const QString& line) const { return fOutput.split('\n').contains(line); }
  bool WaitToSay(const QString& line) { return WaitFor([&]() { return Said(line); }); }
  bool WaitToExit() { return WaitFor([&]() { return fProcess.state() == QProcess::NotRunning; }); }
  int ExitCode() const { return fProcess.exitCode(); }
  pid_t Pid() const { return pid_t(fProcess.processId()); }
  QString Output() const { return fOutput; }

private:
  QProcess fProcess;
  QString fOutput;
};

class BusTest : public testing::Test {
protected:
  void SetUp() override { sApp->inbox.messages.clear(); }
};

} // namespace

TEST_F(BusTest, BroadcastReachesEveryProgramTheSenderIncluded)
{
  Peer peer({"application/x-vnd.test-listener", "multiple"});
  ASSERT_TRUE(peer.WaitToSay("ready")) << peer.Output().toStdString();

  BMessage hello('bcst');
  hello.AddString("tag", "from-test");
  ASSERT_EQ(be_roster->Broadcast(&hello), B_OK);

  ASSERT_TRUE(WaitFor([]() { return sApp->inbox.Find('bcst', "from-test") != nullptr; }));
  const BMessage* own = sApp->inbox.Find('bcst', "from-test");
  EXPECT_FALSE(own->IsSourceRemote());
  EXPECT_EQ(own->ReturnAddress(), be_app_messenger) << "the sender's own application";

  EXPECT_TRUE(peer.WaitToSay("broadcast from-test remote=1")) << peer.Output().toStdString();
  ASSERT_TRUE(WaitFor([]() { return sApp->inbox.Find('seen', "from-test") != nullptr; }))
      << "the peer answers to the broadcast's return address";
  EXPECT_TRUE(sApp->inbox.Find('seen')->IsSourceRemote());
}

TEST_F(BusTest, BroadcastOfAnotherProgramComesBackToItToo)
{
  Peer peer({"application/x-vnd.test-caster", "multiple", "broadcast"});
  ASSERT_TRUE(WaitFor([]() { return sApp->inbox.Find('bcst', "from-peer") != nullptr; }));
  const BMessage* cast = sApp->inbox.Find('bcst', "from-peer");
  EXPECT_TRUE(cast->IsSourceRemote());
  EXPECT_TRUE(cast->ReturnAddress().IsValid());
  EXPECT_FALSE(cast->ReturnAddress().IsTargetLocal());
  EXPECT_TRUE(peer.WaitToSay("broadcast from-peer remote=0")) << peer.Output().toStdString();
}

TEST_F(BusTest, ReplyReachesTheHandlerGivenAsReturnAddress)
{
  Peer peer({"application/x-vnd.test-echo", "multiple"});
  ASSERT_TRUE(peer.WaitToSay("ready"));
  status_t status = B_ERROR;
  BMessenger toPeer("application/x-vnd.test-echo", &status);
  ASSERT_EQ(status, B_OK);
  EXPECT_FALSE(toPeer.IsTargetLocal());
  EXPECT_NE(toPeer, be_app_messenger);

  Inbox replies;
  sApp->AddHandler(&replies);
  BMessage ping('ping');
  ping.AddString("tag", "p1");
  ASSERT_EQ(toPeer.SendMessage(&ping, &replies), B_OK);
  ASSERT_TRUE(WaitFor([&]() { return replies.Find('pong', "p1") != nullptr; })) << peer.Output().toStdString();
  const BMessage* pong = replies.Find('pong', "p1");
  EXPECT_TRUE(pong->GetBool("remote", false)) << "the peer saw a message from another program";
  BMessenger who;
  ASSERT_EQ(pong->FindMessenger("who", &who), B_OK);
  EXPECT_EQ(who, toPeer) << "a messenger inside a message names the same program";
  EXPECT_EQ(pong->ReturnAddress(), BMessenger()) << "the peer asked for no reply";
  sApp->RemoveHandler(&replies);
}

TEST_F(BusTest, IsRunningSeesRunningSignaturesOnly)
{
  Peer peer({"application/x-vnd.test-present", "multiple"});
  ASSERT_TRUE(peer.WaitToSay("ready"));
  EXPECT_TRUE(be_roster->IsRunning("application/x-vnd.test-present"));
  EXPECT_TRUE(be_roster->IsRunning(kTestSignature));
  EXPECT_FALSE(be_roster->IsRunning("application/x-vnd.test-absent"));
  EXPECT_FALSE(be_roster->IsRunning(""));
}

TEST_F(BusTest, SecondStartOfSingleLaunchProgramHandsOver)
{
  Peer first({"application/x-vnd.test-single", "single"});
  ASSERT_TRUE(first.WaitToSay("ready"));
  Peer second({"application/x-vnd.test-single", "single"});
  ASSERT_TRUE(second.WaitToExit());
  EXPECT_EQ(second.ExitCode(), 0);
  EXPECT_TRUE(second.Said("handed over")) << second.Output().toStdString();
  EXPECT_FALSE(second.Said("ready")) << "the second start never runs";
  EXPECT_TRUE(first.WaitToSay("activated")) << first.Output().toStdString();
}

TEST_F(BusTest, SecondStartFindingAnOwnerThatDoesNotAnswerFails)
{
  // Before, the second start took the missing answer for a hand-over and
  // ended as if the first one had shown itself.
  Peer first({"application/x-vnd.test-stuck", "single"});
  ASSERT_TRUE(first.WaitToSay("ready"));
  ASSERT_EQ(kill(first.Pid(), SIGSTOP), 0);
  Peer second({"application/x-vnd.test-stuck", "single"});
  const bool ended = second.WaitToExit();
  kill(first.Pid(), SIGCONT);
  ASSERT_TRUE(ended);
  EXPECT_EQ(second.ExitCode(), 1);
  EXPECT_TRUE(second.Said("no answer")) << second.Output().toStdString();
  EXPECT_FALSE(second.Said("ready"));
}

TEST_F(BusTest, SendingToAProgramThatQuitFailsCleanly)
{
  Peer peer({"application/x-vnd.test-leaving", "multiple"});
  ASSERT_TRUE(peer.WaitToSay("ready"));
  BMessenger toPeer("application/x-vnd.test-leaving");
  ASSERT_TRUE(toPeer.IsValid());
  ASSERT_EQ(toPeer.SendMessage('quit'), B_OK);
  ASSERT_TRUE(peer.WaitToExit());
  EXPECT_EQ(peer.ExitCode(), 0);
  EXPECT_FALSE(toPeer.IsValid());
  EXPECT_EQ(toPeer.SendMessage('ping'), B_BAD_PORT_ID);
  EXPECT_FALSE(be_roster->IsRunning("application/x-vnd.test-leaving"));
}

TEST_F(BusTest, MalformedDeliveryIsRefusedAndTheProgramKeepsRunning)
{
  Peer peer({"application/x-vnd.test-sturdy", "multiple"});
  ASSERT_TRUE(peer.WaitToSay("ready"));
  const QString busName = QString::fromStdString(BusConnection::BusNameForSignature("application/x-vnd.test-sturdy"));
  QDBusConnection bus = QDBusConnection::sessionBus();

  QDBusMessage garbage = QDBusMessage::createMethodCall(busName, BusConnection::kAppPath,
                                                        BusConnection::kInterface, BusConnection::kDeliverMember);
  garbage << QByteArray("not a message") << QString() << QString();
  QDBusMessage reply = bus.call(garbage, QDBus::Block, kWaitMs);
  EXPECT_EQ(reply.errorName(), BusConnection::kBadMessageError);

  BMessage ping('ping');
  std::string flat;
  ping.Flatten(&flat);
  QDBusMessage lost = QDBusMessage::createMethodCall(busName, "/org/orvella/handler/999999",
                                                     BusConnection::kInterface, BusConnection::kDeliverMember);
  lost << QByteArray(flat.data(), qsizetype(flat.size())) << QString() << QString();
  reply = bus.call(lost, QDBus::Block, kWaitMs);
  EXPECT_EQ(reply.errorName(), BusConnection::kNoSuchHandlerError);

  QDBusMessage wrongArgs = QDBusMessage::createMethodCall(busName, BusConnection::kAppPath,
                                                          BusConnection::kInterface, BusConnection::kDeliverMember);
  wrongArgs << 42;
  reply = bus.call(wrongArgs, QDBus::Block, kWaitMs);
  EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);

  // Calls the contract does not offer get the error that says why.
  const struct {
    const char* edge;
    const char* path;
    const char* interface;
    const char* member;
    QVariantList args;
    const char* error;  // null: a good reply
  } calls[] = {
      {"unknown method", BusConnection::kAppPath, BusConnection::kInterface, "Frobnicate", {},
       "org.freedesktop.DBus.Error.UnknownMethod"},
      {"unknown method without interface", BusConnection::kAppPath, "", "Frobnicate", {},
       "org.freedesktop.DBus.Error.UnknownMethod"},
      {"unknown interface", BusConnection::kAppPath, "org.example.Other", "Deliver", {},
       "org.freedesktop.DBus.Error.UnknownInterface"},
      {"Activate with an argument", BusConnection::kAppPath, BusConnection::kInterface,
       BusConnection::kActivateMember, {QVariant(1)}, "org.freedesktop.DBus.Error.InvalidArgs"},
      {"Activate off the application path", "/org/orvella/handler/1", BusConnection::kInterface,
       BusConnection::kActivateMember, {}, "org.freedesktop.DBus.Error.UnknownMethod"},
      {"a path that is no object of ours", "/org/orvella/other", BusConnection::kInterface,
       BusConnection::kDeliverMember, {}, "org.freedesktop.DBus.Error.UnknownObject"},
      {"Activate", BusConnection::kAppPath, BusConnection::kInterface, BusConnection::kActivateMember, {},
       nullptr},
      {"introspection still answers", BusConnection::kAppPath, "org.freedesktop.DBus.Introspectable",
       "Introspect", {}, nullptr},
      {"peer ping still answers", BusConnection::kAppPath, "org.freedesktop.DBus.Peer", "Ping", {}, nullptr},
  };
  auto deliverWithReply = [&](const char* replyBus, const char* replyPath) {
    QVariantList args = {QByteArray(flat.data(), qsizetype(flat.size())), QString(replyBus), QString(replyPath)};
    return args;
  };
  const struct {
    const char* edge;
    QVariantList args;
  } badReplies[] = {
      {"return path that is no object path", deliverWithReply("", "not a path")},
      {"return bus that is no bus name", deliverWithReply("no bus name", "/my/inbox")},
  };
  for (const auto& bad : badReplies) {
    QDBusMessage message = QDBusMessage::createMethodCall(busName, BusConnection::kAppPath, BusConnection::kInterface,
                                                          BusConnection::kDeliverMember);
    message.setArguments(bad.args);
    reply = bus.call(message, QDBus::Block, kWaitMs);
    EXPECT_EQ(reply.errorName().toStdString(), "org.freedesktop.DBus.Error.InvalidArgs") << bad.edge;
  }
  for (const auto& call : calls) {
    QDBusMessage message = QDBusMessage::createMethodCall(busName, call.path, call.interface, call.member);
    message.setArguments(call.args);
    reply = bus.call(message, QDBus::Block, kWaitMs);
    if (call.error == nullptr)
      EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << call.edge << ": " << reply.errorMessage().toStdString();
    else
      EXPECT_EQ(reply.errorName().toStdString(), call.error) << call.edge;
  }

  QDBusMessage badSignal = QDBusMessage::createSignal("/org/orvella/app", BusConnection::kInterface,
                                                      BusConnection::kBroadcastMember);
  badSignal << QByteArray("junk");
  bus.send(badSignal);

  BMessenger toPeer("application/x-vnd.test-sturdy");
  Inbox replies;
  sApp->AddHandler(&replies);
  ping.AddString("tag", "after");
  ASSERT_EQ(toPeer.SendMessage(&ping, &replies), B_OK);
  EXPECT_TRUE(WaitFor([&]() { return replies.Find('pong', "after") != nullptr; })) << "still answering";
  sApp->RemoveHandler(&replies);
}

// The naming rule must give distinct, valid names (the bus refuses invalid
// ones, so taking each name proves it valid).
TEST(BusNameRule, DistinctSignaturesGetDistinctValidNames)
{
  const std::vector<std::string> signatures = {
      "application/x-vnd.KX-Orvella", "application/x-vnd.KX-Orvellan", "application/x-vnd.KX_Orvella",
      "application/x-vnd.KX.Orvella", "application/AskOrvel", "9starts-with-digit", "-starts-with-dash",
      "spaces and \xc3\xa4 umlauts", std::string(300, 'a'), std::string(300, 'a') + "b",
  };
  std::set<std::string> names;
  for (const std::string& signature : signatures) {
    const std::string name = BusConnection::BusNameForSignature(signature);
    EXPECT_LE(name.size(), 255u) << signature;
    EXPECT_TRUE(names.insert(name).second) << "collision for " << signature;
    EXPECT_EQ(BusConnection::Instance()->RequestName(name, true), BusConnection::NameResult::kOwned) << name;
  }
  EXPECT_EQ(BusConnection::BusNameForSignature("application/x-vnd.KX-Orvella"),
            "org.orvella.app.application_2fx-vnd_2eKX-Orvella");
}
