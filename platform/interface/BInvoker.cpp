#include "platform/interface/BInvoker.h"

#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"

BInvoker::BInvoker(BMessage* message) : fMessage(message) {}

BInvoker::~BInvoker() = default;

void BInvoker::SetMessage(BMessage* message)
{
  fMessage.reset(message);
}

uint32 BInvoker::Command() const
{
  return fMessage ? fMessage->what : 0;
}

status_t BInvoker::SetTarget(const BHandler* handler, const BLooper* looper)
{
  status_t result = B_OK;
  fTarget = BMessenger(handler, looper, &result);
  return result;
}

status_t BInvoker::SetTarget(BMessenger messenger)
{
  fTarget = messenger;
  return B_OK;
}

status_t BInvoker::Invoke(BMessage* message)
{
  BMessage* toSend = message ? message : fMessage.get();
  if (!toSend)
    return B_BAD_VALUE;
  const BMessenger target = fTarget.IsValid() ? fTarget : BMessenger(DefaultTarget());
  return target.SendMessage(toSend);
}
