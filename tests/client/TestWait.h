// Bounded waits for tests that need the event loop: messages from the bus,
// output of other processes, files they write.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

constexpr int kWaitMs = 20000;

// Runs the event loop until `done` holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int ms = kWaitMs)
{
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
