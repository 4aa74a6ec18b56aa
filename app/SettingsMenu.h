// The main window's settings menu: display switches, the MarkDays and
// HTML-View submenus, the Calendars window, the language menu, About and
// Quit. The MarkDays submenu also lists the calendar sources with their
// counts and states. Labels come from
// the label table by number; the window keeps this object to mark, relabel
// and enable the items that its commands change.
//
//   SettingsMenu settings(*prefs, markups, languages);
//   auto* field = new BMenuField(frame, "menMF", "", settings.Menu(), B_FOLLOW_LEFT);
//   settings.expand->SetMarked(prefs->fShowExpand);
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>
#include <utility>
#include <vector>

class BMenu;
class BMenuItem;
class Prefs;
class STMarkups;

class SettingsMenu {
public:
  // Without a registry the menu has no MarkDays submenu; without a
  // language menu (the second build) a single separator stands in its
  // place. The menu takes `languages`.
  SettingsMenu(const Prefs& prefs, const STMarkups* markups, BMenu* languages);

  // The menu; a menu field takes it over.
  BMenu* Menu() const { return fMenu; }

  // " count label" for the four kinds of marked days, and the events item
  // enabled only when there is an event folder.
  void LabelKindItems(const STMarkups& markups);
  // One line for each calendar source in the MarkDays submenu, after the
  // four kinds (" 42 Work, Home: synced 10:42"); each opens the Calendars
  // window.
  void ShowSources(const std::vector<std::string>& lines);
  // Exactly the item of the HTML layout mode is marked (none above 3).
  void MarkHtmlMode(int32 mode);
  // Takes every label from the label table again, after a language change.
  void Relabel(const STMarkups* markups);

  BMenuItem* windowTab = nullptr;
  BMenuItem* expand = nullptr;
  BMenuItem* triplePreview = nullptr;
  BMenuItem* amPm = nullptr;
  BMenuItem* about = nullptr;
  BMenuItem* quit = nullptr;
  BMenuItem* globals = nullptr;
  BMenuItem* locals = nullptr;
  BMenuItem* users = nullptr;
  BMenuItem* events = nullptr;
  BMenuItem* openMarkDays = nullptr;
  BMenuItem* reloadMarkDays = nullptr;
  BMenuItem* htmlOneMonth = nullptr;
  BMenuItem* htmlTwoRows = nullptr;
  BMenuItem* htmlThreeRows = nullptr;
  BMenuItem* calendars = nullptr;

private:
  BMenuItem* AddItem(BMenu* menu, BMenuItem* item, int label);

  BMenu* fMenu;
  BMenu* fMarks = nullptr;
  std::vector<BMenuItem*> fSourceItems;
  // Every item labelled by one label number, with that number.
  std::vector<std::pair<BMenuItem*, int>> fLabelled;
};
