// The main program in one process: one application object and its window
// for the whole test program, in a fresh home folder, and a requester
// looper that records the answers it gets.
#pragma once

#include "app/OVA_Application.h"
#include "app/OVA_Window.h"
#include "platform/messaging/BLooper.h"
#include "platform/messaging/BMessage.h"
#include "tests/platform/TempHome.h"
#include "tests/platform/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

class Requester : public BLooper {
public:
  Requester() : BLooper("requester") {}
  void MessageReceived(BMessage* message) override { answers.push_back(*message); }
  std::vector<BMessage> answers;
};

inline void Settle()
{
  WaitFor([] { return false; }, 50);
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
