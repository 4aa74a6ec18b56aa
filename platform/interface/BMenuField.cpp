#include "platform/interface/BMenuField.h"

#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// The field's widget: the label, `divider` pixels wide, and the button in
// the rest, placed by hand. A layout would ask the button for its size
// hint, and so load its font, before anything is drawn with it.
class FieldBox : public QWidget {
public:
  void Arrange(QWidget* label, QWidget* button, int divider)
  {
    fLabel = label;
    fButton = button;
    fDivider = divider;
    resizeEvent(nullptr);
  }

protected:
  void resizeEvent(QResizeEvent*) override
  {
    if (!fLabel)
      return;
    fLabel->setGeometry(0, 0, fDivider, height());
    fButton->setGeometry(fDivider, 0, std::max(0, width() - fDivider), height());
  }

private:
  QWidget* fLabel = nullptr;
  QWidget* fButton = nullptr;
  int fDivider = 0;
};

} // namespace

BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu, uint32 resizingMode,
                       uint32 flags)
    : BView(frame, name, resizingMode, flags, new FieldBox),
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
  // The label names the button for screen readers, also while it is hidden.
  fLabelWidget->setBuddy(fButton);
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

void BMenuField::ShowMenu()
{
  fButton->showMenu();
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
  static_cast<FieldBox*>(Widget())->Arrange(fLabelWidget, fButton, width);
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
