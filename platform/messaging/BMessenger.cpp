#include "platform/messaging/BMessenger.h"

#include "platform/messaging/BApplication.h"
#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BusConnection.h"
#include "platform/messaging/WireFormat.h"

#include <QCoreApplication>
#include <QThread>

#include <cstring>

BMessenger::BMessenger(const BHandler* handler, const BLooper* looper, status_t* result)
{
  const BHandler* target = handler != nullptr ? handler : looper;
  status_t status = B_OK;
  if (target == nullptr || target->Looper() == nullptr)
    status = B_BAD_VALUE;
  else if (looper != nullptr && target->Looper() != looper)
    status = B_MISMATCHED_VALUES;
  else
    fToken = target->Token();
  if (result != nullptr)
    *result = status;
}

BMessenger::BMessenger(const char* signature, status_t* result)
{
  status_t status = B_BAD_PORT_ID;
  if (signature != nullptr && *signature != '\0') {
    if (BusConnection* bus = BusConnection::Instance()) {
      std::string owner = bus->NameOwner(BusConnection::BusNameForSignature(signature));
      if (!owner.empty()) {
        *this = Remote(owner, BusConnection::kAppPath);
        status = B_OK;
      }
    } else if (be_app != nullptr && strcmp(be_app->Signature(), signature) == 0) {
      fToken = be_app->Token();
      status = B_OK;
    }
  }
  if (result != nullptr)
    *result = status;
}

BMessenger BMessenger::Remote(const std::string& busName, const std::string& path)
{
  BMessenger messenger;
  if (busName.empty() || busName == BusConnection::OwnName()) {
    messenger.fToken = BusConnection::TokenForPath(path);
  } else {
    messenger.fBusName = busName;
    messenger.fPath = path;
  }
  return messenger;
}

bool BMessenger::IsValid() const
{
  if (IsTargetLocal()) {
    BLooper* looper = nullptr;
    return Target(&looper) != nullptr;
  }
  BusConnection* bus = BusConnection::Instance();
  return !fBusName.empty() && bus != nullptr && bus->NameHasOwner(fBusName);
}

BHandler* BMessenger::Target(BLooper** looper) const
{
  BHandler* handler = IsTargetLocal() ? BHandler::HandlerForToken(fToken) : nullptr;
  if (handler != nullptr && handler->Looper() == nullptr)
    handler = nullptr;
  if (looper != nullptr)
    *looper = handler != nullptr ? handler->Looper() : nullptr;
  return handler;
}

status_t BMessenger::SendMessage(uint32 what, BHandler* replyTo) const
{
  BMessage message(what);
  return SendMessage(&message, replyTo);
}

status_t BMessenger::SendMessage(BMessage* message, BHandler* replyTo, bigtime_t timeout) const
{
  return SendMessage(message, replyTo != nullptr ? BMessenger(replyTo) : BMessenger(), timeout);
}

status_t BMessenger::SendMessage(BMessage* message, const BMessenger& replyTo, bigtime_t) const
{
  if (message == nullptr)
    return B_BAD_VALUE;
  if (IsTargetLocal()) {
    // The handlers are looked up only on the GUI thread. A worker thread's
    // message is queued unchecked: delivery looks the target up again.
    QCoreApplication* app = QCoreApplication::instance();
    const bool guiThread = app == nullptr || QThread::currentThread() == app->thread();
    if (guiThread && Target(nullptr) == nullptr)
      return B_BAD_PORT_ID;
    BMessage copy(*message);
    copy.SetReturnAddress(replyTo.Address(), false);
    return BLooper::Enqueue(copy, fToken);
  }
  if (fBusName.empty())
    return B_BAD_PORT_ID;
  BusConnection* bus = BusConnection::Instance();
  if (bus == nullptr)
    return B_NO_INIT;
  return bus->Deliver(fBusName, fPath, *message, replyTo.BusName(), replyTo.Path());
}

bool BMessenger::operator==(const BMessenger& other) const
{
  return fToken == other.fToken && fBusName == other.fBusName && fPath == other.fPath;
}

std::string BMessenger::BusName() const
{
  return IsTargetLocal() ? BusConnection::OwnName() : fBusName;
}

std::string BMessenger::Path() const
{
  return IsTargetLocal() ? BusConnection::PathForToken(fToken) : fPath;
}

std::string BMessenger::Address() const
{
  const std::string bus = BusName();
  const std::string path = Path();
  std::string address;
  WireWriter out(&address);
  out.WriteUInt16(uint16(bus.size()));
  out.WriteBytes(bus.data(), bus.size());
  out.WriteUInt16(uint16(path.size()));
  out.WriteBytes(path.data(), path.size());
  return address;
}

bool BMessenger::ParseAddress(const std::string& address, std::string* busName, std::string* path)
{
  WireReader in(address.data(), address.size());
  std::string* parts[2] = {busName, path};
  for (std::string* part : parts) {
    uint16 length;
    const char* text;
    if (!in.ReadUInt16(&length) || !in.ReadBytes(length, &text) || memchr(text, '\0', length) != nullptr)
      return false;
    if (part != nullptr)
      part->assign(text, length);
  }
  return in.AtEnd();
}

BMessenger BMessenger::FromAddress(const std::string& address)
{
  std::string bus, path;
  if (!ParseAddress(address, &bus, &path) || path.empty())
    return BMessenger();
  return Remote(bus, path);
}
