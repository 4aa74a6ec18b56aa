#include "platform/BButton.h"

#include "platform/BMessage.h"
#include "platform/BWindow.h"

#include <QPushButton>

BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message, uint32 resizingMode,
                 uint32 flags)
    : BView(frame, name, resizingMode, flags, new QPushButton), fMessage(message), fLabel(label ? label : "")
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

void BButton::SetMessage(BMessage* message)
{
  fMessage.reset(message);
}

uint32 BButton::Command() const
{
  return fMessage ? fMessage->what : 0;
}

status_t BButton::SetTarget(const BHandler* handler, const BLooper* looper)
{
  status_t result = B_OK;
  fTarget = BMessenger(handler, looper, &result);
  return result;
}

status_t BButton::SetTarget(BMessenger messenger)
{
  fTarget = messenger;
  return B_OK;
}

status_t BButton::Invoke(BMessage* message)
{
  BMessage* toSend = message ? message : fMessage.get();
  if (!toSend)
    return B_BAD_VALUE;
  const BMessenger target = fTarget.IsValid() ? fTarget : BMessenger(Window());
  return target.SendMessage(toSend);
}
