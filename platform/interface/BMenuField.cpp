#include "platform/interface/BMenuField.h"

#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/interface/LabelledBox.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include <cmath>

BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu, uint32 resizingMode,
                       uint32 flags)
    : BView(frame, name, resizingMode, flags, new LabelledBox),
      fMenuItem(std::make_unique<BMenuItem>(menu ? menu : new BMenu(""))), fLabel(label ? label : ""),
      fDivider(fLabel.empty() ? 0 : StringWidth(fLabel.c_str()) + 5), fLabelWidget(new QLabel),
      fButton(new QToolButton)
{
  QWidget* box = Widget();
  fLabelWidget->setParent(box);
  fButton->setParent(box);
  fButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  fButton->setPopupMode(QToolButton::InstantPopup);
  fButton->setMenu(Menu()->Menu());
  // A click opens the menu and leaves the keys with the window's focus view.
  fButton->setFocusPolicy(flags & B_NAVIGABLE ? Qt::TabFocus : Qt::NoFocus);
  box->setFocusProxy(fButton);
  QObject::connect(fMenuItem->Action(), &QAction::changed, fButton, [this] { ShowItemLabel(); });
  ShowItemLabel();

  fLabelWidget->setText(QString::fromUtf8(fLabel.c_str()));
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

void BMenuField::SetLabel(const char* label)
{
  fLabel = label ? label : "";
  fLabelWidget->setText(QString::fromUtf8(fLabel.c_str()));
}

void BMenuField::SetDivider(float divider)
{
  fDivider = divider > 0 ? divider : 0;
  const int width = int(std::lround(fDivider));
  fLabelWidget->setVisible(width > 0);
  static_cast<LabelledBox*>(Widget())->Arrange(fLabelWidget, fButton, width);
}

void BMenuField::SetAlignment(alignment align)
{
  fAlignment = align;
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (align == B_ALIGN_RIGHT)
    horizontal = Qt::AlignRight;
  else if (align == B_ALIGN_CENTER)
    horizontal = Qt::AlignHCenter;
  fLabelWidget->setAlignment(horizontal | Qt::AlignVCenter);
}

void BMenuField::ShowItemLabel()
{
  // The action's text has its '&' doubled already, as the button wants it.
  fButton->setText(fMenuItem->Action()->text());
}
