#include "platform/interface/LabelledBox.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

LabelledBox::LabelledBox(QWidget* control) : fLabel(new QLabel(this)), fControl(control)
{
  fControl->setParent(this);
  setFocusProxy(fControl);
  // The label names the control for screen readers, also while it is hidden.
  fLabel->setBuddy(fControl);
}

void LabelledBox::SetDivider(float divider)
{
  fDivider = int(std::lround(std::max(divider, 0.0f)));
  fLabel->setVisible(fDivider > 0);
  resizeEvent(nullptr);
}

void LabelledBox::resizeEvent(QResizeEvent*)
{
  fLabel->setGeometry(0, 0, fDivider, height());
  fControl->setGeometry(fDivider, 0, std::max(0, width() - fDivider), height());
}
