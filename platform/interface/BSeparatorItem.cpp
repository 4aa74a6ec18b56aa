#include "platform/interface/BSeparatorItem.h"

#include <QAction>

BSeparatorItem::BSeparatorItem() : BMenuItem("", nullptr)
{
  Action()->setSeparator(true);
  SetEnabled(false);
}
