// The program's connection to the D-Bus session bus: the one place where
// the wire contract of docs/ipc.md is written down in code. It serves the
// object tree under /org/orvella (messages for the application object and
// every handler, activation requests), listens for broadcasts, and sends
// messages, broadcasts and activation requests to other programs.
//
// BApplication makes the one connection; Instance() is null before that or
// when no session bus can be reached, and callers then stay local.
#pragma once

#include "platform/support/SupportDefs.h"

#include <QDBusVirtualObject>

#include <string>

class BMessage;
class QDBusMessage;

class BusConnection : public QDBusVirtualObject {
  Q_OBJECT

public:
  static constexpr const char* kInterface = "org.orvella.Looper";
  static constexpr const char* kRootPath = "/org/orvella";
  static constexpr const char* kAppPath = "/org/orvella/app";
  static constexpr const char* kHandlerPathPrefix = "/org/orvella/handler/";
  static constexpr const char* kBusNamePrefix = "org.orvella.app.";
  static constexpr const char* kDeliverMember = "Deliver";
  static constexpr const char* kActivateMember = "Activate";
  static constexpr const char* kBroadcastMember = "Broadcast";
  static constexpr const char* kNoSuchHandlerError = "org.orvella.Error.NoSuchHandler";
  static constexpr const char* kBadMessageError = "org.orvella.Error.BadMessage";
  static constexpr const char* kRefusedError = "org.orvella.Error.Refused";
  // Longest wait for the bus daemon or a peer; nothing waits longer.
  static constexpr int kCallTimeoutMs = 3000;

  // The well-known bus name of a signature (rule in docs/ipc.md); empty for
  // an empty signature.
  static std::string BusNameForSignature(const std::string& signature);
  // Object path of a handler of this program, and back (0: not a handler
  // path of ours). The application object has its own fixed path.
  static std::string PathForToken(int32 token);
  static int32 TokenForPath(const std::string& path);

  static BusConnection* Instance() { return sInstance; }
  // This program's unique bus name; empty without a bus.
  static std::string OwnName();

  // Makes the connection to the session bus without serving anything yet;
  // any thread may call it, also before the Qt application exists. Open
  // then finds the connection made. A bus out of reach is reported by Open.
  static void Connect();
  // Connects and starts serving; false (with a printed reason) when the
  // session bus is out of reach.
  static bool Open();
  static void Close();

  enum class NameResult { kOwned, kTaken, kFailed };
  // Asks for a well-known name. An exclusive request fails at once when the
  // name has an owner; otherwise this program queues for the name.
  NameResult RequestName(const std::string& busName, bool exclusive);
  bool NameHasOwner(const std::string& busName);
  // The unique name owning a well-known name; empty when none.
  std::string NameOwner(const std::string& busName);

  status_t Deliver(const std::string& busName, const std::string& path, const BMessage& message,
                   const std::string& replyBus, const std::string& replyPath);
  status_t Broadcast(const BMessage& message);
  // Asks the owner of busName to activate; waits for its answer.
  status_t AskToActivate(const std::string& busName);

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private slots:
  void BroadcastReceived(const QDBusMessage& signal);

private:
  BusConnection();
  ~BusConnection() override;
  void HandleDeliver(const QDBusMessage& call, const QDBusConnection& connection);

  static BusConnection* sInstance;
  std::string fOwnName;
};
