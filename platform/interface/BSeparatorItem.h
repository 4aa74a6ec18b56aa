// A line between groups of menu items; it cannot be chosen.
//
//   menu->AddItem(new BSeparatorItem);   // or menu->AddSeparatorItem()
#pragma once

#include "platform/interface/BMenuItem.h"

class BSeparatorItem : public BMenuItem {
public:
  BSeparatorItem();
};
