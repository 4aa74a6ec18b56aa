// AskOrvel's application object: registers the client on the session bus,
// creates and shows its one window, and hands answers ('_KXT'), language
// changes ('kxCL') and 'RFID' to the window's handler.
#pragma once

#include "platform/messaging/BApplication.h"

class ask_Window;

// Signature the client registers under; several clients may run at once.
inline constexpr const char* kAskOrvelSignature = "application/AskOrvel";

class Ask_Application : public BApplication {
public:
  Ask_Application();
  ~Ask_Application() override;

  void MessageReceived(BMessage* message) override;
  // Only Orvella's answers, language changes and the quit request
  // (AskBoundary.h).
  bool AcceptsRemoteMessage(const BMessage& message) override;

  // The window, or null once it has quit.
  ask_Window* Window() const;

private:
  ask_Window* fWindow = nullptr;
};
