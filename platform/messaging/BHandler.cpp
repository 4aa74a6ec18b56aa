#include "platform/messaging/BHandler.h"

#include "platform/messaging/BLooper.h"

#include <unordered_map>

namespace {

// All handlers live in the GUI thread, so the table needs no lock.
std::unordered_map<int32, BHandler*>& Handlers()
{
  static std::unordered_map<int32, BHandler*> handlers;
  return handlers;
}

int32 sNextToken = 1;

} // namespace

BHandler::BHandler(const char* name) : fName(name ? name : ""), fToken(sNextToken++)
{
  Handlers()[fToken] = this;
}

BHandler::~BHandler()
{
  if (fLooper != nullptr && fLooper != this)
    fLooper->RemoveHandler(this);
  Handlers().erase(fToken);
}

void BHandler::MessageReceived(BMessage* message)
{
  if (fNextHandler != nullptr && fNextHandler != this)
    fNextHandler->MessageReceived(message);
}

bool BHandler::LockLooper()
{
  return fLooper != nullptr && fLooper->Lock();
}

void BHandler::UnlockLooper()
{
  if (fLooper != nullptr)
    fLooper->Unlock();
}

BHandler* BHandler::HandlerForToken(int32 token)
{
  auto it = Handlers().find(token);
  return it == Handlers().end() ? nullptr : it->second;
}
