#include "client/AskBoundary.h"

#include "calendar/Codes.h"
#include "locale/KXLangMenu.h"
#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"

#include <cstdio>

bool AskOrvelAccepts(const BMessage& message)
{
  switch (message.what) {
  case '_KXT':
    // An answer counts only from the Orvella that runs now: another
    // program could otherwise hand a script any date.
    if (message.Sender().IsValid() && message.Sender() == BMessenger(kOrvellaSignature))
      return true;
    printf("AskOrvel: '_KXT' from a program that is not Orvella dropped\n");
    return false;
  case 'kxCL':
    return KXLangMenu::IsLanguageChange(message, "AskOrvel");
  case B_QUIT_REQUESTED:
    return true;
  default:
    printf("AskOrvel: '%s' from another program dropped\n", LongToAsc(message.what));
    return false;
  }
}
