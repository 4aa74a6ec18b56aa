// Helpers of tests that run the event loop: bounded waits (messages from
// the bus, output of other processes, files they write) and the field order
// of a message.
#pragma once

#include "platform/messaging/BMessage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>
#include <string>
#include <vector>

constexpr int kWaitMs = 20000;

// Runs the event loop until `done` holds or the time is up. Between looks
// it sleeps a moment: a test that spun here would take a whole core from
// the programs it waits for.
inline bool WaitFor(const std::function<bool()>& done, int ms = kWaitMs)
{
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

// The message's field names in the order they were added.
inline std::vector<std::string> FieldNames(const BMessage& message)
{
  std::vector<std::string> names;
  const char* name = nullptr;
  type_code type;
  for (int32 i = 0; message.GetInfo(B_ANY_TYPE, i, &name, &type) == B_OK; i++)
    names.push_back(name);
  return names;
}
