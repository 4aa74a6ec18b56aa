#include "app/SettingsMenu.h"

#include "calendar/Labels.h"
#include "marks/STMarkups.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "settings/Prefs.h"

#include <string>

namespace {

BMenuItem* SettingItem(BMenu* menu, int label, int32 id, char shortcut, bool marked)
{
  auto* message = new BMessage('MENU');
  message->AddInt32("m_id", id);
  auto* item = new BMenuItem(getLabel(label), message, shortcut);
  item->SetMarked(marked);
  menu->AddItem(item);
  return item;
}

BMenuItem* CommandItem(BMenu* menu, int label, uint32 command, char shortcut)
{
  auto* item = new BMenuItem(getLabel(label), new BMessage(command), shortcut);
  menu->AddItem(item);
  return item;
}

std::string KindLabel(int32 count, int label)
{
  return " " + std::to_string(count) + " " + getLabel(label);
}

}  // namespace

SettingsMenu::SettingsMenu(const Prefs& prefs, const STMarkups* markups)
    : fMenu(new BMenu(""))
{
  windowTab = SettingItem(fMenu, 73, 2, 'D', prefs.fWindowTab);
  expand = SettingItem(fMenu, 71, 1, 'E', prefs.fShowExpand);
  triplePreview = SettingItem(fMenu, 72, 0, 'V', prefs.fTriplePreview);
  amPm = SettingItem(fMenu, 10, 5, 'T', prefs.fTimeStyle);
  SettingItem(fMenu, 12, 7, 'N', false);

  if (markups) {
    fMenu->AddSeparatorItem();
    auto* marks = new BMenu(getLabel(31));
    globals = CommandItem(marks, 35, 'sGmd', 'G');
    locals = CommandItem(marks, 36, 'sLmd', 'L');
    users = CommandItem(marks, 37, 'sUmd', 'U');
    events = CommandItem(marks, 38, 'sEmd', 'Z');
    globals->SetMarked(prefs.fDaysGlobal);
    locals->SetMarked(prefs.fDaysLocal);
    users->SetMarked(prefs.fDaysUser);
    events->SetMarked(prefs.fDaysEvent);
    LabelKindItems(*markups);
    marks->AddSeparatorItem();
    openMarkDays = CommandItem(marks, 32, 'oMDf', 'O');
    reloadMarkDays = CommandItem(marks, 33, 'rMDf', 'R');
    fMenu->AddItem(marks);
  }

  fMenu->AddSeparatorItem();
  auto* html = new BMenu(getLabel(30));
  htmlOneMonth = CommandItem(html, 41, 'sN1C', '1');
  htmlTwoRows = CommandItem(html, 42, 'sN2C', '2');
  htmlThreeRows = CommandItem(html, 43, 'sN3C', '3');
  MarkHtmlMode(prefs.fHtmlModus);
  fMenu->AddItem(html);

  // FIXME: the language menu goes between two separators here.
  fMenu->AddSeparatorItem();
  about = CommandItem(fMenu, 15, '_ABR', 0);
  fMenu->AddSeparatorItem();
  quit = SettingItem(fMenu, 4, 10, 'Q', false);
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

void SettingsMenu::MarkHtmlMode(int32 mode)
{
  htmlOneMonth->SetMarked(mode <= 1);
  htmlTwoRows->SetMarked(mode == 2);
  htmlThreeRows->SetMarked(mode == 3);
}
