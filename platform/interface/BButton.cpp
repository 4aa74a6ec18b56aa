#include "platform/interface/BButton.h"

#include "platform/interface/BWindow.h"

#include <QPushButton>

BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message, uint32 resizingMode,
                 uint32 flags)
    : BView(frame, name, resizingMode, flags, new QPushButton), BInvoker(message), fLabel(label ? label : "")
{
  auto* button = static_cast<QPushButton*>(Widget());
  button->setText(QString::fromUtf8(fLabel.c_str()));
  button->setFocusPolicy(flags & B_NAVIGABLE ? Qt::StrongFocus : Qt::NoFocus);
  QObject::connect(button, &QPushButton::clicked, button, [this] { Invoke(); });
}

BButton::~BButton() = default;

void BButton::SetLabel(const char* label)
{
  fLabel = label ? label : "";
  if (Widget())
    static_cast<QPushButton*>(Widget())->setText(QString::fromUtf8(fLabel.c_str()));
}

void BButton::SetEnabled(bool enabled)
{
  if (Widget())
    Widget()->setEnabled(enabled);
}

bool BButton::IsEnabled() const
{
  return Widget() && Widget()->isEnabled();
}

BLooper* BButton::DefaultTarget() const
{
  return Window();
}
