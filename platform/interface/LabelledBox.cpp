#include "platform/interface/LabelledBox.h"

#include <algorithm>

void LabelledBox::Arrange(QWidget* label, QWidget* control, int divider)
{
  fLabel = label;
  fControl = control;
  fDivider = divider;
  resizeEvent(nullptr);
}

void LabelledBox::resizeEvent(QResizeEvent*)
{
  if (!fLabel || !fControl)
    return;
  fLabel->setGeometry(0, 0, fDivider, height());
  fControl->setGeometry(fDivider, 0, std::max(0, width() - fDivider), height());
}
