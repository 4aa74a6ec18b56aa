#include "app/DoError.h"

#include "platform/interface/BAlert.h"
#include "platform/interface/GraphicsDefs.h"

#include <string>

void DoError(const char* text)
{
  std::string message = std::string("OVA_App ") + (text ? text : "");
  if (message.size() > 2047)
    message.resize(2047);
  auto* alert = new BAlert("Autsch", message.c_str(), " Outch ", nullptr, nullptr,
                           B_WIDTH_AS_USUAL, B_INFO_ALERT);
  alert->SetShortcut(0, B_ENTER);
  alert->Go();
}
