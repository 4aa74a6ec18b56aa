// The main program in one process: one application object and its window
// for the whole test program, in a fresh home folder, and a requester
// looper that records the answers it gets.
#pragma once

#include "app/OVA_Application.h"
#include "app/OVA_Window.h"
#include "platform/BLooper.h"
#include "platform/BMessage.h"
#include "tests/platform/TempHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>


class Requester : public BLooper {
public:
  Requester() : BLooper("requester") {}
  void MessageReceived(BMessage* message) override { answers.push_back(*message); }
  std::vector<BMessage> answers;
};

inline bool WaitFor(const std::function<bool()>& done, int ms = 3000)
{
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

inline void Settle()
{
  WaitFor([] { return false; }, 50);
}

// Names of the message's fields in order.
inline std::vector<std::string> FieldNames(const BMessage& message)
{
  std::vector<std::string> names;
  const char* name;
  type_code type;
  for (int32 i = 0; message.GetInfo(B_ANY_TYPE, i, &name, &type) == B_OK; i++)
    names.push_back(name);
  return names;
}

// One application and window for the whole program, in a fresh home.
class OrvellaEnv : public ::testing::Environment {
public:
  void SetUp() override
  {
    home = new TempHome();
    app = new OVA_Application();
  }
  void TearDown() override
  {
    delete app;
    delete home;
  }
  static inline TempHome* home = nullptr;
  static inline OVA_Application* app = nullptr;
};
