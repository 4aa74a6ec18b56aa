#include "client/AskLabels.h"

#include "locale/KXLabel.h"

const char* const aLabel[] = {"AskOrvel", "Ask Date", "Ask Time", "get Date", "get Time", "Broadcast",
                              "Orvella quit before answering", nullptr};

const char* AskLabel(int number)
{
  if (KXLabel::labelZgr != nullptr)
    return KXLabel::labelZgr->getLabel(nullptr, number);
  constexpr int kCount = sizeof aLabel / sizeof aLabel[0] - 1;
  return number >= 0 && number < kCount ? aLabel[number] : aLabel[0];
}
