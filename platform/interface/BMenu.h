// A menu: an ordered list of items (BMenuItem), separators and submenus,
// shown as a Qt pop-up menu. A menu field (BMenuField) puts it in a window;
// a submenu is an item of another menu. The menu owns its items, and an item
// owns its submenu, so deleting the top menu deletes the whole tree.
//
//   auto* menu = new BMenu("");
//   menu->AddItem(new BMenuItem("Expand View", new BMessage('MENU'), 'E'));
//   menu->AddSeparatorItem();
//   auto* html = new BMenu("HTML-View");
//   html->AddItem(new BMenuItem("1M Page", new BMessage('sN1C'), '1'));
//   menu->AddItem(html);                  // the item's label is "HTML-View"
//   menu->FindItem('sN1C')->SetMarked(true);
//
// In radio mode choosing an item marks it and unmarks the others; with
// SetLabelFromMarked the item that opens the menu (and a menu field showing
// it) takes the label of the marked item.
#pragma once

#include "platform/interface/BFont.h"
#include "platform/support/SupportDefs.h"

#include <memory>
#include <string>
#include <vector>

class BMenuItem;
class BWindow;
class QMenu;

// Items are always shown in a column; the other layouts are accepted for
// callers written for them.
enum menu_layout { B_ITEMS_IN_ROW, B_ITEMS_IN_COLUMN, B_ITEMS_IN_MATRIX };

class BMenu {
public:
  explicit BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
  virtual ~BMenu(); // deletes the items
  BMenu(const BMenu&) = delete;
  BMenu& operator=(const BMenu&) = delete;

  // Adding takes the item; false (and the item stays the caller's) for a
  // null item, an item already in a menu, or an index out of 0..CountItems().
  bool AddItem(BMenuItem* item);
  bool AddItem(BMenuItem* item, int32 index);
  // Adds an item that opens `submenu`, labelled by its name.
  bool AddItem(BMenu* submenu);
  bool AddSeparatorItem();
  // Removing hands the item back to the caller without deleting it.
  bool RemoveItem(BMenuItem* item);
  BMenuItem* RemoveItem(int32 index);

  BMenuItem* ItemAt(int32 index) const;
  int32 CountItems() const { return int32(fItems.size()); }
  int32 IndexOf(const BMenuItem* item) const;
  // The first item with this label or command, searching submenus too.
  BMenuItem* FindItem(const char* label) const;
  BMenuItem* FindItem(uint32 command) const;
  // The first marked item of this menu (not of its submenus), or null.
  BMenuItem* FindMarked() const;

  void SetRadioMode(bool on); // off also ends SetLabelFromMarked
  bool IsRadioMode() const { return fRadioMode; }
  void SetLabelFromMarked(bool on); // on also turns radio mode on
  bool IsLabelFromMarked() const { return fLabelFromMarked; }

  // The item that opens this menu, or null for a top menu.
  BMenuItem* Superitem() const { return fSuperitem; }
  const char* Name() const { return fName.c_str(); }
  menu_layout Layout() const { return fLayout; }

  void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
  void SetFontSize(float size);
  void GetFont(BFont* font) const;

  // The Qt menu that shows this menu; for the platform layer.
  QMenu* Menu() const { return fMenu.get(); }

private:
  friend class BMenuItem;
  friend class BMenuField;

  // The window the menu is shown in, set for the whole tree by the menu
  // field that shows it (null: none).
  void SetWindow(BWindow* window);
  BWindow* Window() const { return fWindow; }
  // Called by an item of this menu when it became marked.
  void ItemMarked(BMenuItem* item);

  std::unique_ptr<QMenu> fMenu;
  std::string fName;
  menu_layout fLayout;
  std::vector<BMenuItem*> fItems; // owned
  BMenuItem* fSuperitem = nullptr;
  BWindow* fWindow = nullptr;
  BFont fFont;
  bool fRadioMode = false;
  bool fLabelFromMarked = false;
};
