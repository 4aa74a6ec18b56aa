#include "platform/messaging/BLooper.h"

#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace {

bool InGuiThread()
{
  QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

} // namespace

BLooper::BLooper(const char* name) : BHandler(name)
{
  fLooper = this;
}

BLooper::~BLooper()
{
  for (BHandler* handler : fHandlers)
    handler->fLooper = nullptr;
  fLooper = nullptr;
}

status_t BLooper::PostMessage(uint32 what)
{
  BMessage message(what);
  return PostMessage(&message, this);
}

status_t BLooper::PostMessage(BMessage* message)
{
  return PostMessage(message, this);
}

status_t BLooper::PostMessage(uint32 what, BHandler* handler, BHandler* replyTo)
{
  BMessage message(what);
  return PostMessage(&message, handler, replyTo);
}

status_t BLooper::PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
  if (message == nullptr)
    return B_BAD_VALUE;
  if (handler == nullptr)
    handler = this;
  if (handler->Looper() != this)
    return B_MISMATCHED_VALUES;
  BMessage copy(*message);
  copy.SetReturnAddress(replyTo != nullptr ? BMessenger(replyTo).Address() : std::string(), false);
  return Enqueue(copy, handler->Token());
}

status_t BLooper::Enqueue(const BMessage& message, int32 targetToken)
{
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr)
    return B_NO_INIT;
  QMetaObject::invokeMethod(
      app, [message, targetToken]() { Deliver(message, targetToken); }, Qt::QueuedConnection);
  return B_OK;
}

void BLooper::Deliver(const BMessage& message, int32 targetToken)
{
  BHandler* target = BHandler::HandlerForToken(targetToken);
  BLooper* looper = target != nullptr ? target->Looper() : nullptr;
  if (looper == nullptr)
    return;
  const int32 looperToken = looper->Token();
  BMessage copy(message);
  looper->fDispatchDepth++;
  looper->Lock();
  looper->DispatchMessage(&copy, target);
  // The handler may have deleted the looper; only a living one is touched.
  if (BHandler::HandlerForToken(looperToken) != looper)
    return;
  looper->Unlock();
  if (--looper->fDispatchDepth == 0 && looper->fQuitting)
    delete looper;
}

void BLooper::DispatchMessage(BMessage* message, BHandler* target)
{
  if (message->what == B_QUIT_REQUESTED && target == this) {
    if (QuitRequested())
      Quit();
    return;
  }
  target->MessageReceived(message);
}

void BLooper::Quit()
{
  fQuitting = true;
  if (fDispatchDepth == 0)
    delete this;
}

bool BLooper::QuitRequested()
{
  return true;
}

bool BLooper::Lock()
{
  if (!InGuiThread())
    return false;
  fLockCount++;
  return true;
}

void BLooper::Unlock()
{
  if (fLockCount > 0 && InGuiThread())
    fLockCount--;
}

bool BLooper::IsLocked() const
{
  return fLockCount > 0 && InGuiThread();
}

void BLooper::AddHandler(BHandler* handler)
{
  if (handler == nullptr || handler == this || handler->fLooper == this)
    return;
  if (handler->fLooper != nullptr)
    handler->fLooper->RemoveHandler(handler);
  handler->fLooper = this;
  fHandlers.push_back(handler);
}

bool BLooper::RemoveHandler(BHandler* handler)
{
  auto it = std::find(fHandlers.begin(), fHandlers.end(), handler);
  if (it == fHandlers.end())
    return false;
  fHandlers.erase(it);
  handler->fLooper = nullptr;
  return true;
}
