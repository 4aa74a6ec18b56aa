#include "platform/messaging/BusConnection.h"

#include "platform/messaging/BApplication.h"
#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>

BusConnection* BusConnection::sInstance = nullptr;

namespace {

constexpr size_t kMaxBusNameLength = 255;

QString Q(const std::string& text)
{
  return QString::fromStdString(text);
}

QDBusConnection Bus()
{
  return QDBusConnection::sessionBus();
}

// Elements of letters, digits and '_', separated by single '/'.
bool ValidObjectPath(const std::string& path)
{
  if (path.empty() || path[0] != '/')
    return false;
  if (path.size() == 1)
    return true;
  bool elementEmpty = true;
  for (size_t i = 1; i < path.size(); i++) {
    char c = path[i];
    if (c == '/') {
      if (elementEmpty)
        return false;
      elementEmpty = true;
    } else if (isalnum(uint8(c)) || c == '_') {
      elementEmpty = false;
    } else {
      return false;
    }
  }
  return !elementEmpty;
}

// Unique (":1.42") or well-known names as the bus accepts them.
bool ValidBusName(const std::string& name)
{
  if (name.empty() || name.size() > kMaxBusNameLength)
    return false;
  const bool unique = name[0] == ':';
  size_t elements = 1;
  bool elementStart = true;
  for (size_t i = unique ? 1 : 0; i < name.size(); i++) {
    char c = name[i];
    if (c == '.') {
      if (elementStart)
        return false;
      elements++;
      elementStart = true;
      continue;
    }
    if (!(isalnum(uint8(c)) || c == '_' || c == '-'))
      return false;
    if (elementStart && !unique && isdigit(uint8(c)))
      return false;
    elementStart = false;
  }
  return !elementStart && elements >= 2;
}

} // namespace

std::string BusConnection::BusNameForSignature(const std::string& signature)
{
  if (signature.empty())
    return std::string();
  std::string element;
  for (size_t i = 0; i < signature.size(); i++) {
    const uint8 c = uint8(signature[i]);
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (letter || ((digit || c == '-') && i > 0)) {
      element += char(c);
    } else if (c == '_') {
      element += "__";
    } else {
      char escape[4];
      snprintf(escape, sizeof escape, "_%02x", c);
      element += escape;
    }
  }
  std::string name = kBusNamePrefix + element;
  if (name.size() < kMaxBusNameLength)
    return name;
  // Too long: keep the start and add a hash of the whole signature. These
  // names are exactly 255 characters, escaped ones at most 254.
  uint64 hash = 14695981039346656037ull;
  for (char c : signature)
    hash = (hash ^ uint8(c)) * 1099511628211ull;
  char tail[20];
  snprintf(tail, sizeof tail, "_h%016" PRIx64, hash);
  return name.substr(0, kMaxBusNameLength - strlen(tail)) + tail;
}

std::string BusConnection::PathForToken(int32 token)
{
  if (be_app != nullptr && token == be_app->Token())
    return kAppPath;
  return kHandlerPathPrefix + std::to_string(token);
}

int32 BusConnection::TokenForPath(const std::string& path)
{
  if (path == kAppPath)
    return be_app != nullptr ? be_app->Token() : 0;
  const std::string prefix = kHandlerPathPrefix;
  if (path.compare(0, prefix.size(), prefix) != 0)
    return 0;
  const std::string digits = path.substr(prefix.size());
  if (digits.empty() || digits.size() > 10 || digits[0] == '0')
    return 0;
  int64 token = 0;
  for (char c : digits) {
    if (c < '0' || c > '9')
      return 0;
    token = token * 10 + (c - '0');
  }
  return token <= INT32_MAX ? int32(token) : 0;
}

std::string BusConnection::OwnName()
{
  return sInstance != nullptr ? sInstance->fOwnName : std::string();
}

BusConnection::BusConnection() = default;

BusConnection::~BusConnection() = default;

void BusConnection::Connect()
{
  // Qt keeps the session bus connection once made, for every thread.
  Bus();
}

bool BusConnection::Open()
{
  if (sInstance != nullptr)
    return true;
  QDBusConnection bus = Bus();
  if (!bus.isConnected()) {
    printf("BApplication: no session bus (%s); messages stay inside this program\n",
           qPrintable(bus.lastError().message()));
    return false;
  }
  auto* connection = new BusConnection;
  if (!bus.registerVirtualObject(kRootPath, connection, QDBusConnection::SubPath)) {
    printf("BApplication: cannot serve %s on the session bus; messages stay inside this program\n",
           kRootPath);
    delete connection;
    return false;
  }
  connection->fOwnName = bus.baseService().toStdString();
  bus.connect(QString(), QString(), kInterface, kBroadcastMember, connection,
              SLOT(BroadcastReceived(QDBusMessage)));
  bus.interface()->setTimeout(kCallTimeoutMs);
  sInstance = connection;
  return true;
}

void BusConnection::Close()
{
  if (sInstance == nullptr)
    return;
  QDBusConnection bus = Bus();
  bus.disconnect(QString(), QString(), kInterface, kBroadcastMember, sInstance,
                 SLOT(BroadcastReceived(QDBusMessage)));
  bus.unregisterObject(kRootPath, QDBusConnection::UnregisterTree);
  delete sInstance;
  sInstance = nullptr;
}

BusConnection::NameResult BusConnection::RequestName(const std::string& busName, bool exclusive)
{
  if (!ValidBusName(busName))
    return NameResult::kFailed;
  QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = Bus().interface()->registerService(
      Q(busName), exclusive ? QDBusConnectionInterface::DontQueueService : QDBusConnectionInterface::QueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid())
    return NameResult::kFailed;
  return reply.value() == QDBusConnectionInterface::ServiceRegistered ? NameResult::kOwned : NameResult::kTaken;
}

bool BusConnection::NameHasOwner(const std::string& busName)
{
  if (!ValidBusName(busName))
    return false;
  QDBusReply<bool> reply = Bus().interface()->isServiceRegistered(Q(busName));
  return reply.isValid() && reply.value();
}

std::string BusConnection::NameOwner(const std::string& busName)
{
  if (!ValidBusName(busName))
    return std::string();
  QDBusReply<QString> reply = Bus().interface()->serviceOwner(Q(busName));
  return reply.isValid() ? reply.value().toStdString() : std::string();
}

status_t BusConnection::Deliver(const std::string& busName, const std::string& path, const BMessage& message,
                                const std::string& replyBus, const std::string& replyPath)
{
  if (!ValidBusName(busName) || !ValidObjectPath(path))
    return B_BAD_VALUE;
  std::string flat;
  status_t status = message.Flatten(&flat);
  if (status != B_OK)
    return status;
  // The daemon answers at once; the peer itself may be busy, so its answer
  // is only awaited asynchronously and a failure is reported as a line.
  if (!NameHasOwner(busName))
    return B_BAD_PORT_ID;
  QDBusMessage call = QDBusMessage::createMethodCall(Q(busName), Q(path), kInterface, kDeliverMember);
  call << QByteArray(flat.data(), qsizetype(flat.size())) << Q(replyBus) << Q(replyPath);
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call, kCallTimeoutMs), this);
  const std::string target = busName + path;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [target](QDBusPendingCallWatcher* finished) {
    if (finished->isError())
      printf("BMessenger: message to %s not delivered: %s\n", target.c_str(),
             qPrintable(finished->error().message()));
    finished->deleteLater();
  });
  return B_OK;
}

status_t BusConnection::Broadcast(const BMessage& message)
{
  std::string flat;
  status_t status = message.Flatten(&flat);
  if (status != B_OK)
    return status;
  QDBusMessage signal = QDBusMessage::createSignal(kAppPath, kInterface, kBroadcastMember);
  signal << QByteArray(flat.data(), qsizetype(flat.size()));
  return Bus().send(signal) ? B_OK : B_ERROR;
}

status_t BusConnection::AskToActivate(const std::string& busName)
{
  if (!ValidBusName(busName))
    return B_BAD_VALUE;
  QDBusMessage call = QDBusMessage::createMethodCall(Q(busName), kAppPath, kInterface, kActivateMember);
  QDBusMessage reply = Bus().call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    printf("BApplication: %s did not take the activation request: %s\n", busName.c_str(),
           qPrintable(reply.errorMessage()));
    return B_ERROR;
  }
  return B_OK;
}

QString BusConnection::introspect(const QString& path) const
{
  const std::string where = path.toStdString();
  const bool app = where == kAppPath;
  if (!app && TokenForPath(where) == 0)
    return QString();
  QString xml = QStringLiteral("<interface name=\"%1\">"
                               "<method name=\"%2\"><arg name=\"message\" type=\"ay\" direction=\"in\"/>"
                               "<arg name=\"reply_bus\" type=\"s\" direction=\"in\"/>"
                               "<arg name=\"reply_path\" type=\"s\" direction=\"in\"/></method>")
                    .arg(kInterface, kDeliverMember);
  if (app)
    xml += QStringLiteral("<method name=\"%1\"/>"
                          "<signal name=\"%2\"><arg name=\"message\" type=\"ay\"/></signal>")
               .arg(kActivateMember, kBroadcastMember);
  return xml + QStringLiteral("</interface>");
}

bool BusConnection::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
  if (message.type() != QDBusMessage::MethodCallMessage)
    return false;
  const std::string path = message.path().toStdString();
  const bool app = path == kAppPath;
  if (!app && TokenForPath(path) == 0)
    return false;  // no object of ours: the bus's UnknownObject
  // Qt answers introspection from introspect().
  if (message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable"))
    return false;
  if (!message.interface().isEmpty() && message.interface() != kInterface) {
    connection.send(message.createErrorReply(QDBusError::UnknownInterface,
                                             QStringLiteral("%1 serves %2 only").arg(message.path(), kInterface)));
    return true;
  }
  if (message.member() == kDeliverMember) {
    HandleDeliver(message, connection);
    return true;
  }
  if (message.member() == kActivateMember && app) {
    if (!message.signature().isEmpty()) {
      connection.send(message.createErrorReply(QDBusError::InvalidArgs, "Activate takes no arguments"));
      return true;
    }
    connection.send(message.createReply());
    const int32 appToken = be_app != nullptr ? be_app->Token() : 0;
    // Activation runs from the event loop like any message.
    QMetaObject::invokeMethod(
        this,
        [appToken]() {
          if (be_app != nullptr && be_app->Token() == appToken)
            be_app->ActivateRequested();
        },
        Qt::QueuedConnection);
    return true;
  }
  connection.send(message.createErrorReply(
      QDBusError::UnknownMethod, QStringLiteral("%1 has no method %2").arg(message.path(), message.member())));
  return true;
}

void BusConnection::HandleDeliver(const QDBusMessage& call, const QDBusConnection& connection)
{
  if (call.signature() != QLatin1String("ayss")) {
    connection.send(call.createErrorReply(QDBusError::InvalidArgs, "Deliver takes (ay, s, s)"));
    return;
  }
  const QList<QVariant> args = call.arguments();
  const QByteArray flat = args[0].toByteArray();
  BMessage message;
  status_t status = message.Unflatten(flat.constData(), size_t(flat.size()));
  if (status != B_OK) {
    connection.send(call.createErrorReply(kBadMessageError, StatusText(status)));
    return;
  }
  const int32 token = TokenForPath(call.path().toStdString());
  BHandler* target = BHandler::HandlerForToken(token);
  if (target == nullptr || target->Looper() == nullptr) {
    connection.send(call.createErrorReply(kNoSuchHandlerError, call.path()));
    return;
  }
  const std::string sender = call.service().toStdString();
  const bool remote = sender != fOwnName;
  if (remote)
    message.fSenderName = sender;
  if (remote && be_app != nullptr && !be_app->AcceptsRemoteMessage(message)) {
    connection.send(call.createErrorReply(kRefusedError, "not taken from other programs"));
    return;
  }
  std::string replyBus = args[1].toString().toStdString();
  const std::string replyPath = args[2].toString().toStdString();
  // An address no answer could ever reach is refused at once rather than
  // taken, so the sender does not wait for an answer that is lost.
  if (!replyPath.empty() && (!ValidObjectPath(replyPath) || (!replyBus.empty() && !ValidBusName(replyBus)))) {
    connection.send(call.createErrorReply(QDBusError::InvalidArgs, "the return address is no bus name and object path"));
    return;
  }
  if (replyBus.empty())
    replyBus = sender;
  const std::string address = replyPath.empty() ? std::string() : BMessenger::Remote(replyBus, replyPath).Address();
  message.SetReturnAddress(address, remote);
  BLooper::Enqueue(message, token);
  connection.send(call.createReply());
}

void BusConnection::BroadcastReceived(const QDBusMessage& signal)
{
  const std::string sender = signal.service().toStdString();
  if (signal.signature() != QLatin1String("ay")) {
    printf("BRoster: broadcast from %s dropped: it carries no message\n", sender.c_str());
    return;
  }
  const QByteArray flat = signal.arguments().at(0).toByteArray();
  BMessage message;
  status_t status = message.Unflatten(flat.constData(), size_t(flat.size()));
  if (status != B_OK) {
    printf("BRoster: broadcast from %s dropped: %s\n", sender.c_str(), StatusText(status));
    return;
  }
  if (be_app == nullptr)
    return;
  const bool remote = sender != fOwnName;
  if (remote)
    message.fSenderName = sender;
  if (remote && !be_app->AcceptsRemoteMessage(message))
    return;
  message.SetReturnAddress(BMessenger::Remote(sender, kAppPath).Address(), remote);
  BLooper::Enqueue(message, be_app->Token());
}
