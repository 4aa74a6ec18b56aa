// What a view tells assistive technologies (screen readers, magnifiers)
// about itself: its role, its name and the value it holds. A view says it
// by overriding BView::GetAccessibleInfo; the layer hands it to the
// desktop's accessibility bus, also for views drawn by their parent, which
// have no widget of their own. A table's children that say they are cells
// are its cells, by their row and column.
//
//   bool MinuteField::GetAccessibleInfo(accessible_info* info) const
//   {
//     info->role = B_ACCESSIBLE_SPIN_BOX;
//     info->name = "Minute";
//     info->value = "05";
//     info->SetNumber(5, 0, 59);
//     return true;
//   }
//
// and after the value changed: AccessibleChanged(B_ACCESSIBLE_VALUE_CHANGED).
// Nothing is asked and nothing is sent while no assistive technology
// listens.
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

enum accessible_role : uint32 {
  B_ACCESSIBLE_GROUP,     // holds other views; what views say by default
  B_ACCESSIBLE_IGNORED,   // left out, with everything it holds
  B_ACCESSIBLE_LABEL,     // text to read
  B_ACCESSIBLE_SPIN_BOX,  // a number the user steps up and down
  B_ACCESSIBLE_DIAL,      // a value set on a dial or a scale
  B_ACCESSIBLE_TABLE,     // its cells are children that say B_ACCESSIBLE_CELL
  B_ACCESSIBLE_CELL,
};

enum accessible_change : uint32 {
  B_ACCESSIBLE_NAME_CHANGED,
  B_ACCESSIBLE_VALUE_CHANGED,
  // The view became selected or stopped being selected.
  B_ACCESSIBLE_SELECTION_CHANGED,
  // The view now takes the keys. Views with a widget of their own are
  // announced by the toolkit when they take the focus; a view drawn by its
  // parent announces that it stands for its parent's focus.
  B_ACCESSIBLE_FOCUS_CHANGED,
};

struct accessible_info {
  accessible_role role = B_ACCESSIBLE_GROUP;
  std::string name;
  // The value as it is read out ("March", "14:05"); empty for none.
  std::string value;
  // A value that is a number in a range; a screen reader reads `value`
  // and may offer the number.
  bool hasNumber = false;
  double number = 0;
  double minimum = 0;
  double maximum = 0;
  // A cell's place in its table.
  int32 row = -1;
  int32 column = -1;
  bool selected = false;
  // A view drawn by its parent that stands for the parent's keyboard focus.
  bool focused = false;

  void SetNumber(double value, double low, double high)
  {
    hasNumber = true;
    number = value;
    minimum = low;
    maximum = high;
  }
};
