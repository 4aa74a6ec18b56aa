#include "platform/messaging/BMessageRunner.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <climits>

BMessageRunner::BMessageRunner(BMessenger target, const BMessage* message, bigtime_t interval, int32 count)
    : fTarget(target), fCount(count)
{
  if (message == nullptr || !target.IsValid() || interval < 1 || count == 0) {
    fStatus = B_BAD_VALUE;
    return;
  }
  if (QCoreApplication::instance() == nullptr) {
    fStatus = B_NO_INIT;
    return;
  }
  fMessage = *message;
  fTimer = std::make_unique<QTimer>();
  const bigtime_t milliseconds = std::clamp<bigtime_t>((interval + 999) / 1000, 1, INT_MAX);
  fTimer->setInterval(int(milliseconds));
  QObject::connect(fTimer.get(), &QTimer::timeout, [this]() { Send(); });
  fTimer->start();
}

BMessageRunner::~BMessageRunner() = default;

void BMessageRunner::Send()
{
  if (fCount > 0 && --fCount == 0)
    fTimer->stop();
  BMessage copy(fMessage);
  fTarget.SendMessage(&copy);
}
