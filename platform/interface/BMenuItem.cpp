#include "platform/interface/BMenuItem.h"

#include "platform/interface/BMenu.h"
#include "platform/interface/BWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include <cctype>
#include <cstdio>

namespace {

// Qt reads '&' as a mnemonic marker; labels show it as it is.
QString ActionText(const std::string& label)
{
  return QString::fromUtf8(label.c_str()).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QKeySequence ShortcutKeys(char shortcut, uint32 modifiers)
{
  const unsigned char c = static_cast<unsigned char>(shortcut);
  if (c <= ' ' || c >= 0x7f)
    return QKeySequence();
  // Qt's key codes of printable ASCII characters are the upper-case codes.
  Qt::KeyboardModifiers keys = Qt::ControlModifier;
  if (modifiers & B_SHIFT_KEY)
    keys |= Qt::ShiftModifier;
  if (modifiers & B_OPTION_KEY)
    keys |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(keys, Qt::Key(std::toupper(c))));
}

} // namespace

BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut, uint32 modifiers)
    : BInvoker(message), fAction(std::make_unique<QAction>()), fLabel(label ? label : ""), fShortcut(shortcut),
      fModifiers(modifiers)
{
  fAction->setText(ActionText(fLabel));
  fAction->setShortcut(ShortcutKeys(shortcut, modifiers));
  fAction->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(fAction.get(), &QAction::triggered, fAction.get(), [this] { ActionTriggered(); });
}

BMenuItem::BMenuItem(BMenu* submenu, BMessage* message)
    : BMenuItem(submenu ? submenu->Name() : "", message)
{
  if (submenu && submenu->Superitem()) {
    printf("BMenuItem: menu '%s' already opens from another item\n", submenu->Name());
    return;
  }
  fSubmenu = submenu;
  if (fSubmenu) {
    fSubmenu->fSuperitem = this;
    fAction->setMenu(fSubmenu->Menu());
  }
}

BMenuItem::~BMenuItem()
{
  if (fMenu)
    fMenu->RemoveItem(this);
  // The action goes first: it refers to the submenu's Qt menu.
  fAction.reset();
  delete fSubmenu;
}

void BMenuItem::SetLabel(const char* label)
{
  fLabel = label ? label : "";
  fAction->setText(ActionText(fLabel));
}

void BMenuItem::SetMarked(bool marked)
{
  fMarked = marked;
  ApplyMark();
  if (marked && fMenu)
    fMenu->ItemMarked(this);
}

void BMenuItem::SetEnabled(bool enabled)
{
  fEnabled = enabled;
  fAction->setEnabled(enabled);
}

char BMenuItem::Shortcut(uint32* modifiers) const
{
  if (modifiers)
    *modifiers = fModifiers;
  return fShortcut;
}

BLooper* BMenuItem::DefaultTarget() const
{
  return Window();
}

BWindow* BMenuItem::Window() const
{
  return fMenu ? fMenu->Window() : nullptr;
}

void BMenuItem::SetMenu(BMenu* menu)
{
  fMenu = menu;
  ApplyMark();
  WindowChanged();
}

void BMenuItem::WindowChanged()
{
  BWindow* window = Window();
  QWidget* host = window ? window->Widget() : nullptr;
  if (fShortcutHost != host) {
    if (fShortcutHost)
      fShortcutHost->removeAction(fAction.get());
    fShortcutHost = nullptr;
    // Qt matches a shortcut only through a visible widget that holds the
    // action; the menu field's button may be hidden, the window is not.
    if (host && !fAction->shortcut().isEmpty()) {
      host->addAction(fAction.get());
      fShortcutHost = host;
    }
  }
  if (fSubmenu)
    fSubmenu->SetWindow(window);
}

void BMenuItem::ApplyMark()
{
  fAction->setCheckable(fMarked || (fMenu && fMenu->IsRadioMode()));
  fAction->setChecked(fMarked);
}

void BMenuItem::ActionTriggered()
{
  // Qt has flipped the check of a checkable action; the mark changes only
  // by SetMarked, or by the choice itself in a radio-mode menu.
  if (fMenu && fMenu->IsRadioMode())
    SetMarked(true);
  else
    ApplyMark();
  Invoke();
}
