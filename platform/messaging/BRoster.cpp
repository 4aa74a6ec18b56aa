#include "platform/messaging/BRoster.h"

#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"
#include "platform/messaging/BusConnection.h"

#include <cstring>

namespace {
const BRoster sRoster;
}

const BRoster* be_roster = &sRoster;

status_t BRoster::Broadcast(BMessage* message) const
{
  if (message == nullptr)
    return B_BAD_VALUE;
  if (BusConnection* bus = BusConnection::Instance())
    return bus->Broadcast(*message);
  if (be_app == nullptr)
    return B_NO_INIT;
  return be_app_messenger.SendMessage(message, be_app_messenger);
}

bool BRoster::IsRunning(const char* signature) const
{
  if (signature == nullptr || *signature == '\0')
    return false;
  if (BusConnection* bus = BusConnection::Instance())
    return bus->NameHasOwner(BusConnection::BusNameForSignature(signature));
  return be_app != nullptr && strcmp(be_app->Signature(), signature) == 0;
}

bool BRoster::HasSessionBus() const
{
  return BusConnection::Instance() != nullptr;
}
