// A menu item: a label, an optional mark (a check), an optional command-key
// shortcut and a message. Choosing the item, by the mouse or by its
// shortcut, posts a copy of the message to the item's target, which is the
// window that shows the menu unless SetTarget names another handler.
//
//   auto* expand = new BMenuItem("Expand View", new BMessage('MENU'), 'E');
//   menu->AddItem(expand);
//   expand->SetMarked(true);
//   menu->AddItem(new BMenuItem(markDaysMenu));   // a submenu, labelled by its name
//
// Shortcuts are Ctrl+letter (Ctrl+digit, ...): B_SHIFT_KEY in `modifiers`
// adds Shift, B_OPTION_KEY adds Alt. They work while the menu's window has
// the focus, whether the menu is open or not. A disabled item ignores them.
#pragma once

#include "platform/interface/BInvoker.h"
#include "platform/support/SupportDefs.h"

#include <QPointer>

#include <memory>
#include <string>

class BMenu;
class BWindow;
class QAction;
class QWidget;

// Modifier keys of a shortcut; the command key (Ctrl) is always implied.
enum : uint32 {
  B_SHIFT_KEY = 0x00000001,
  B_COMMAND_KEY = 0x00000002,
  B_CONTROL_KEY = 0x00000004,
  B_OPTION_KEY = 0x00000040,
};

class BMenuItem : public BInvoker {
public:
  // The item takes `message`.
  BMenuItem(const char* label, BMessage* message, char shortcut = 0, uint32 modifiers = 0);
  // An item that opens `submenu`, labelled by the submenu's name; it takes
  // the submenu (unless another item holds it already) and `message`.
  explicit BMenuItem(BMenu* submenu, BMessage* message = nullptr);
  // Deletes the message and the submenu; the item must have been removed
  // from its menu (or be deleted by it).
  ~BMenuItem() override;

  void SetLabel(const char* label);
  const char* Label() const { return fLabel.c_str(); }
  // In a radio-mode menu marking an item unmarks the others.
  virtual void SetMarked(bool marked);
  bool IsMarked() const { return fMarked; }
  virtual void SetEnabled(bool enabled);
  bool IsEnabled() const { return fEnabled; }

  // The shortcut character (0: none) and, through `modifiers`, its keys.
  char Shortcut(uint32* modifiers = nullptr) const;

  BMenu* Submenu() const { return fSubmenu; }
  // The menu the item is in, or null.
  BMenu* Menu() const { return fMenu; }

  // The Qt action that shows the item; for the platform layer.
  QAction* Action() const { return fAction.get(); }

protected:
  // The window whose menu holds this item.
  BLooper* DefaultTarget() const override;

private:
  friend class BMenu;

  // The window whose menu holds this item, or null.
  BWindow* Window() const;
  // Called by the menu when the item joins or leaves it, and when the menu
  // comes to a window or leaves it.
  void SetMenu(BMenu* menu);
  void WindowChanged();
  // Shows the mark: an action is checkable while it is marked or its menu
  // is in radio mode.
  void ApplyMark();
  void ActionTriggered();

  std::unique_ptr<QAction> fAction;
  std::string fLabel;
  BMenu* fSubmenu = nullptr; // owned
  BMenu* fMenu = nullptr;
  char fShortcut = 0;
  uint32 fModifiers = 0;
  bool fMarked = false;
  bool fEnabled = true;
  // The window widget the action is registered on so that its shortcut
  // works while the menu is closed.
  QPointer<QWidget> fShortcutHost;
};
