#include "platform/interface/BMenuField.h"

#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/interface/LabelledBox.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>


BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu, uint32 resizingMode,
                       uint32 flags)
    : BView(frame, name, resizingMode, flags, new LabelledBox(new QToolButton)),
      fMenuItem(std::make_unique<BMenuItem>(menu ? menu : new BMenu(""))), fLabel(label ? label : ""),
      fDivider(fLabel.empty() ? 0 : StringWidth(fLabel.c_str()) + 5), fBox(static_cast<LabelledBox*>(Widget())),
      fButton(static_cast<QToolButton*>(fBox->Control()))
{
  fButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  fButton->setPopupMode(QToolButton::InstantPopup);
  fButton->setMenu(Menu()->Menu());
  // A click opens the menu and leaves the keys with the window's focus view.
  fButton->setFocusPolicy(flags & B_NAVIGABLE ? Qt::TabFocus : Qt::NoFocus);
  QObject::connect(fMenuItem->Action(), &QAction::changed, fButton, [this] { ShowItemLabel(); });
  ShowItemLabel();

  fBox->Label()->setText(QString::fromUtf8(fLabel.c_str()));
  SetAlignment(fAlignment);
  SetDivider(fDivider);
}

BMenuField::~BMenuField() = default;

void BMenuField::AttachedToWindow()
{
  Menu()->SetWindow(Window());
}

void BMenuField::DetachedFromWindow()
{
  Menu()->SetWindow(nullptr);
}

void BMenuField::MakeFocus(bool focus)
{
  BView::MakeFocus(focus);
  if (!focus)
    fButton->clearFocus();
}

BMenu* BMenuField::Menu() const
{
  return fMenuItem->Submenu();
}

void BMenuField::ShowMenu()
{
  fButton->showMenu();
}

void BMenuField::SetLabel(const char* label)
{
  fLabel = label ? label : "";
  fBox->Label()->setText(QString::fromUtf8(fLabel.c_str()));
}

void BMenuField::SetDivider(float divider)
{
  fDivider = divider > 0 ? divider : 0;
  fBox->SetDivider(fDivider);
}

void BMenuField::SetAlignment(alignment align)
{
  fAlignment = align;
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (align == B_ALIGN_RIGHT)
    horizontal = Qt::AlignRight;
  else if (align == B_ALIGN_CENTER)
    horizontal = Qt::AlignHCenter;
  fBox->Label()->setAlignment(horizontal | Qt::AlignVCenter);
}

void BMenuField::ShowItemLabel()
{
  // The action's text has its '&' doubled already, as the button wants it.
  fButton->setText(fMenuItem->Action()->text());
}
