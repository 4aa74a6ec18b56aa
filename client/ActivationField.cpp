#include "client/ActivationField.h"

#include "platform/interface/XdgActivation.h"
#include "platform/messaging/BMessage.h"

#include <string>

void AddActivationToken(BMessage* request)
{
  const std::string token = ActivationTokenToPass();
  if (!token.empty())
    request->AddString("_activationToken", token.c_str());
}
