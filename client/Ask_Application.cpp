#include "client/Ask_Application.h"

#include "client/AskBoundary.h"
#include "client/ask_Window.h"
#include "platform/messaging/BMessage.h"

#include <cstdio>

Ask_Application::Ask_Application()
    : BApplication(kAskOrvelSignature, B_MULTIPLE_LAUNCH)
{
  fWindow = new ask_Window(BRect(100, 100, 400, 270));
  fWindow->Show();
}

// The window is a looper of its own: the platform deletes it when it quits.
Ask_Application::~Ask_Application() = default;

ask_Window* Ask_Application::Window() const
{
  // A closed window has been deleted and left the application's list;
  // answers that arrive after it must not reach it.
  for (int32 i = 0; i < CountWindows(); i++) {
    if (WindowAt(i) == fWindow)
      return fWindow;
  }
  return nullptr;
}

bool Ask_Application::AcceptsRemoteMessage(const BMessage& message)
{
  return AskOrvelAccepts(message);
}

void Ask_Application::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_KXT':
  case 'kxCL':
  case 'RFID':
    if (ask_Window* window = Window())
      window->MessageReceived(message);
    break;
  case '_MDN':
  case '_MMV':
  case '_MUP':
  case '_MWC':
    break;
  default:
    printf("AskO_App ");
    message->PrintToStream();
    BApplication::MessageReceived(message);
    break;
  }
}
