#include "platform/interface/BMenu.h"

#include "platform/interface/BMenuItem.h"
#include "platform/interface/BSeparatorItem.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <cstring>

BMenu::BMenu(const char* name, menu_layout layout)
    : fMenu(std::make_unique<QMenu>()), fName(name ? name : ""), fLayout(layout)
{
  fMenu->setTitle(QString::fromUtf8(fName.c_str()));
  fMenu->setFont(fFont.ToQFont());
}

BMenu::~BMenu()
{
  while (!fItems.empty()) {
    BMenuItem* item = fItems.back();
    fItems.pop_back();
    item->fMenu = nullptr;
    delete item;
  }
}

bool BMenu::AddItem(BMenuItem* item)
{
  return AddItem(item, CountItems());
}

bool BMenu::AddItem(BMenuItem* item, int32 index)
{
  if (!item || item->Menu() || index < 0 || index > CountItems())
    return false;
  QAction* before = index < CountItems() ? fItems[size_t(index)]->Action() : nullptr;
  fMenu->insertAction(before, item->Action());
  fItems.insert(fItems.begin() + index, item);
  item->SetMenu(this);
  if (item->IsMarked())
    ItemMarked(item);
  return true;
}

bool BMenu::AddItem(BMenu* submenu)
{
  if (!submenu || submenu->Superitem())
    return false;
  return AddItem(new BMenuItem(submenu));
}

bool BMenu::AddSeparatorItem()
{
  return AddItem(new BSeparatorItem);
}

bool BMenu::RemoveItem(BMenuItem* item)
{
  const int32 index = IndexOf(item);
  return index >= 0 && RemoveItem(index) != nullptr;
}

BMenuItem* BMenu::RemoveItem(int32 index)
{
  BMenuItem* item = ItemAt(index);
  if (!item)
    return nullptr;
  fItems.erase(fItems.begin() + index);
  fMenu->removeAction(item->Action());
  item->SetMenu(nullptr);
  return item;
}

BMenuItem* BMenu::ItemAt(int32 index) const
{
  if (index < 0 || index >= CountItems())
    return nullptr;
  return fItems[size_t(index)];
}

int32 BMenu::IndexOf(const BMenuItem* item) const
{
  const auto at = std::find(fItems.begin(), fItems.end(), item);
  return at == fItems.end() ? -1 : int32(at - fItems.begin());
}

BMenuItem* BMenu::FindItem(const char* label) const
{
  if (!label)
    return nullptr;
  for (BMenuItem* item : fItems) {
    if (strcmp(item->Label(), label) == 0)
      return item;
    if (BMenuItem* found = item->Submenu() ? item->Submenu()->FindItem(label) : nullptr)
      return found;
  }
  return nullptr;
}

BMenuItem* BMenu::FindItem(uint32 command) const
{
  for (BMenuItem* item : fItems) {
    if (item->Message() && item->Command() == command)
      return item;
    if (BMenuItem* found = item->Submenu() ? item->Submenu()->FindItem(command) : nullptr)
      return found;
  }
  return nullptr;
}

BMenuItem* BMenu::FindMarked() const
{
  const auto at = std::find_if(fItems.begin(), fItems.end(), [](BMenuItem* item) { return item->IsMarked(); });
  return at == fItems.end() ? nullptr : *at;
}

void BMenu::SetRadioMode(bool on)
{
  fRadioMode = on;
  if (!on)
    fLabelFromMarked = false;
  for (BMenuItem* item : fItems)
    item->ApplyMark();
}

void BMenu::SetLabelFromMarked(bool on)
{
  if (on)
    SetRadioMode(true);
  fLabelFromMarked = on;
  if (BMenuItem* marked = on ? FindMarked() : nullptr)
    ItemMarked(marked);
}

void BMenu::SetFont(const BFont* font, uint32 mask)
{
  if (!font)
    return;
  fFont.CopyFrom(*font, mask);
  fMenu->setFont(fFont.ToQFont());
}

void BMenu::SetFontSize(float size)
{
  BFont font(fFont);
  font.SetSize(size);
  SetFont(&font, B_FONT_SIZE);
}

void BMenu::GetFont(BFont* font) const
{
  if (font)
    *font = fFont;
}

void BMenu::SetWindow(BWindow* window)
{
  fWindow = window;
  for (BMenuItem* item : fItems)
    item->WindowChanged();
}

void BMenu::ItemMarked(BMenuItem* item)
{
  if (fRadioMode) {
    for (BMenuItem* other : fItems) {
      if (other != item && other->IsMarked())
        other->SetMarked(false);
    }
  }
  if (fLabelFromMarked && fSuperitem)
    fSuperitem->SetLabel(item->Label());
}
