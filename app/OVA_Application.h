// Orvella's application object: registers the program on the session bus,
// creates and shows the one main window, and routes the messages that reach
// the application itself. Requests from other programs ('_KXT' with "_ask"),
// languages chosen in other programs ('kxCL') and day and clock picks go to
// the window's handler; everything else is ignored or logged.
#pragma once

#include "platform/messaging/BApplication.h"

class OVA_Window;

// Signature the main program registers under.
inline constexpr const char* kOrvellaSignature = "application/x-vnd.KX-Orvella";

class OVA_Application : public BApplication {
public:
  OVA_Application();
  ~OVA_Application() override;

  void MessageReceived(BMessage* message) override;
  // Other programs may send only what the wire contract offers them:
  // requests and answers ('_KXT'), language changes ('kxCL') and the quit
  // request a desktop session sends at logout. Every other code from
  // another program is dropped with a trace line.
  bool AcceptsRemoteMessage(const BMessage& message) override;

  OVA_Window* Window() const { return fWindow; }

private:
  OVA_Window* fWindow = nullptr;
};
