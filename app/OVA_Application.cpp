#include "app/OVA_Application.h"

#include "app/OVA_Window.h"
#include "calendar/Codes.h"
#include "locale/KXLangMenu.h"
#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BMessage.h"

#include <cstdio>

OVA_Application::OVA_Application()
    : BApplication(kOrvellaSignature, B_SINGLE_LAUNCH)
{
  // A second start hands over to the running instance and makes no window.
  if (InitCheck() != B_OK)
    return;
  fWindow = new OVA_Window(BRect(100, 100, 420, 176));
  fWindow->Show();
}

// The window is a looper of its own: the platform deletes it when it quits.
OVA_Application::~OVA_Application() = default;

void OVA_Application::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_KXT':
    // Only requests carry "_ask"; answers and broadcasts that this program
    // sent itself come back here too and are dropped.
    if (message->HasBool("_ask") && fWindow)
      fWindow->MessageReceived(message);
    break;
  case 'CTIM':
  case 'NDAY':
  case 'RFID':
    if (fWindow)
      fWindow->MessageReceived(message);
    break;
  case 'kxCL':
#ifndef ORVELLA_DESKTOP_VARIANT
    // A language chosen in another program of the family; this program's
    // own choice comes back here too and has been applied already.
    if (message->IsSourceRemote() && fWindow)
      fWindow->MessageReceived(message);
#endif
    break;
  case 'BRAW':
  case '_MDN':
  case '_MMV':
  case '_MUP':
  case 'vEve':
    break;
  default:
    printf("OVA_App#");
    message->PrintToStream();
    break;
  }
}

bool OVA_Application::AcceptsRemoteMessage(const BMessage& message)
{
  switch (message.what) {
  case '_KXT':
  case B_QUIT_REQUESTED:
    return true;
  case 'kxCL':
    return KXLangMenu::IsLanguageChange(message, "OVA_App");
  default:
    printf("OVA_App: '%s' from another program dropped\n", LongToAsc(message.what));
    return false;
  }
}
