#include "platform/interface/BCheckBox.h"

#include "platform/interface/BWindow.h"

#include <QCheckBox>

BCheckBox::BCheckBox(BRect frame, const char* name, const char* label, BMessage* message, uint32 resizingMode,
                     uint32 flags)
    : BView(frame, name, resizingMode, flags, new QCheckBox), BInvoker(message)
{
  auto* box = static_cast<QCheckBox*>(Widget());
  box->setText(QString::fromUtf8(label ? label : ""));
  box->setFocusPolicy(flags & B_NAVIGABLE ? Qt::StrongFocus : Qt::NoFocus);
  QObject::connect(box, &QCheckBox::clicked, box, [this] { Invoke(); });
}

BCheckBox::~BCheckBox() = default;

void BCheckBox::SetValue(int32 value)
{
  static_cast<QCheckBox*>(Widget())->setChecked(value != B_CONTROL_OFF);
}

int32 BCheckBox::Value() const
{
  return static_cast<QCheckBox*>(Widget())->isChecked() ? B_CONTROL_ON : B_CONTROL_OFF;
}

void BCheckBox::SetLabel(const char* label)
{
  static_cast<QCheckBox*>(Widget())->setText(QString::fromUtf8(label ? label : ""));
}

BLooper* BCheckBox::DefaultTarget() const
{
  return Window();
}
