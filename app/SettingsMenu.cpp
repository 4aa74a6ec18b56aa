#include "app/SettingsMenu.h"

#include "calendar/Labels.h"
#include "marks/STMarkups.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "settings/Prefs.h"

#include <string>

namespace {

BMessage* SettingMessage(int32 id)
{
  auto* message = new BMessage('MENU');
  message->AddInt32("m_id", id);
  return message;
}

std::string KindLabel(int32 count, int label)
{
  return " " + std::to_string(count) + " " + getLabel(label);
}

}  // namespace

BMenuItem* SettingsMenu::AddItem(BMenu* menu, BMenuItem* item, int label)
{
  menu->AddItem(item);
  fLabelled.emplace_back(item, label);
  return item;
}

SettingsMenu::SettingsMenu(const Prefs& prefs, const STMarkups* markups, BMenu* languages)
    : fMenu(new BMenu(""))
{
  auto setting = [this](int label, int32 id, char shortcut, bool marked) {
    BMenuItem* item = AddItem(fMenu, new BMenuItem(getLabel(label), SettingMessage(id), shortcut), label);
    item->SetMarked(marked);
    return item;
  };
  auto command = [this](BMenu* menu, int label, uint32 what, char shortcut) {
    return AddItem(menu, new BMenuItem(getLabel(label), new BMessage(what), shortcut), label);
  };
  auto submenu = [this](int label) {
    auto* menu = new BMenu(getLabel(label));
    AddItem(fMenu, new BMenuItem(menu), label);
    return menu;
  };

  windowTab = setting(73, 2, 'D', prefs.fWindowTab);
  expand = setting(71, 1, 'E', prefs.fShowExpand);
  triplePreview = setting(72, 0, 'V', prefs.fTriplePreview);
  amPm = setting(10, 5, 'T', prefs.fTimeStyle);
  setting(12, 7, 'N', false);

  if (markups) {
    fMenu->AddSeparatorItem();
    BMenu* marks = fMarks = submenu(31);
    globals = command(marks, 35, 'sGmd', 'G');
    locals = command(marks, 36, 'sLmd', 'L');
    users = command(marks, 37, 'sUmd', 'U');
    events = command(marks, 38, 'sEmd', 'Z');
    globals->SetMarked(prefs.fDaysGlobal);
    locals->SetMarked(prefs.fDaysLocal);
    users->SetMarked(prefs.fDaysUser);
    events->SetMarked(prefs.fDaysEvent);
    LabelKindItems(*markups);
    marks->AddSeparatorItem();
    openMarkDays = command(marks, 32, 'oMDf', 'O');
    reloadMarkDays = command(marks, 33, 'rMDf', 'R');
  }

  calendars = command(fMenu, 44, 'cCAL', 0);

  fMenu->AddSeparatorItem();
  BMenu* html = submenu(30);
  htmlOneMonth = command(html, 41, 'sN1C', '1');
  htmlTwoRows = command(html, 42, 'sN2C', '2');
  htmlThreeRows = command(html, 43, 'sN3C', '3');
  MarkHtmlMode(prefs.fHtmlModus);

  fMenu->AddSeparatorItem();
  if (languages) {
    fMenu->AddItem(languages);
    fMenu->AddSeparatorItem();
  }
  about = command(fMenu, 15, '_ABR', 0);
  fMenu->AddSeparatorItem();
  quit = setting(4, 10, 'Q', false);
}

void SettingsMenu::Relabel(const STMarkups* markups)
{
  for (const auto& [item, label] : fLabelled)
    item->SetLabel(getLabel(label));
  if (markups)
    LabelKindItems(*markups);
}

void SettingsMenu::LabelKindItems(const STMarkups& markups)
{
  if (!globals)
    return;
  globals->SetLabel(KindLabel(markups.fGlobals, 35).c_str());
  locals->SetLabel(KindLabel(markups.fLocals, 36).c_str());
  users->SetLabel(KindLabel(markups.fUsers, 37).c_str());
  events->SetLabel(KindLabel(markups.fEvents, 38).c_str());
  events->SetEnabled(markups.fHasEvents);
}

void SettingsMenu::ShowSources(const std::vector<std::string>& lines)
{
  if (!fMarks)
    return;
  for (BMenuItem* item : fSourceItems) {
    fMarks->RemoveItem(item);
    delete item;
  }
  fSourceItems.clear();
  int32 at = fMarks->IndexOf(events) + 1;
  for (const std::string& line : lines) {
    auto* item = new BMenuItem(line.c_str(), new BMessage('cCAL'));
    fMarks->AddItem(item, at++);
    fSourceItems.push_back(item);
  }
}

void SettingsMenu::MarkHtmlMode(int32 mode)
{
  htmlOneMonth->SetMarked(mode <= 1);
  htmlTwoRows->SetMarked(mode == 2);
  htmlThreeRows->SetMarked(mode == 3);
}
