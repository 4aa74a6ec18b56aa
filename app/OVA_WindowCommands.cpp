// The settings menu's commands: layouts, the 12-hour switch, Today-Now,
// the MarkDays file, the kinds of days shown and the HTML page modes.
#include "app/OVA_Window.h"

#include "app/DoError.h"
#include "controls/TDView.h"
#include "export/HtmlCalendar.h"
#include "marks/CalendarWorker.h"
#include "marks/EventScan.h"
#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "platform/interface/BMenuField.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/Launch.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"
#include "settings/Prefs.h"
#include "views/MonView.h"
#include "views/TimeView.h"

#include <cstdio>
#include <string>

void OVA_Window::SetSettings(BMessage* message)
{
  if (!message)
    return;
  const int32 id = message->GetInt32("m_id", -1);
  printf("     m_idValue: %ld\n", long(id));

  bool resize = false;
  switch (id) {
  case 0:
    fPrefs->fTriplePreview = !fPrefs->fTriplePreview;
    fSettings->triplePreview->SetMarked(fPrefs->fTriplePreview);
    resize = true;
    break;
  case 1:
    fPrefs->fShowExpand = !fPrefs->fShowExpand;
    fSettings->expand->SetMarked(fPrefs->fShowExpand);
    resize = true;
    break;
  case 2:
    fPrefs->fWindowTab = !fPrefs->fWindowTab;
    fSettings->windowTab->SetMarked(fPrefs->fWindowTab);
    SetLook(fPrefs->fWindowTab ? B_FLOATING_WINDOW_LOOK : B_BORDERED_WINDOW_LOOK);
    break;
  case 5:
    fPrefs->fTimeStyle = !fPrefs->fTimeStyle;
    fSettings->amPm->SetMarked(fPrefs->fTimeStyle);
    Lock();
    fPanel->SetAmTimeMode(fPrefs->fTimeStyle);
    if (fTimeView) {
      fTimeView->SetTwelveHour(fPrefs->fTimeStyle);
      fTimeView->SetTime(PanelHourOfDay(), fPanel->MinuteField()->value);
    }
    Unlock();
    break;
  case 7:
    ResetMDateView(nullptr);
    break;
  case 10:
    printf(" -quit");
    PostMessage(B_QUIT_REQUESTED);
    break;
  default:
    break;
  }

  if (resize) {
    const float width = fPrefs->fShowExpand && fPrefs->fTriplePreview ? MAX_W : MIN_W;
    const float height = fPrefs->fShowExpand ? MAX_H : MIN_H;
    Lock();
    ResizeTo(width, height);
    AddMonViews();
    Unlock();
  }

  fPrefs->Save();
  printf("expand:%d | tripleView:%d | evnt resize? ", fPrefs->fShowExpand, fPrefs->fTriplePreview);
  printf("\n");
  fMenuField->MakeFocus(false);
}

void OVA_Window::OpenMarkDaysFile()
{
  BPath home;
  find_directory(B_USER_DIRECTORY, &home);
  const std::string path = std::string(home.Path()) + "/people/MarkDays";
  // The desktop's file manager opens the file; the path is one argument,
  // never part of a shell command.
  printf("[open][xdg-open %s]\n", path.c_str());
  if (!StartDetached("xdg-open", {path}))
    printf(" oops: couldn't execute \n");
}

void OVA_Window::ReloadMarkDays()
{
  if (!fMarkups)
    return;
  // The calendar sources' marks stay until their syncs replace them.
  fMarkups->ClearList();
  fMarkups->LoadHolidays(nullptr);
  LookForVEvents();
  fMarkups->CheckHolidays();
  fMarkups->ShowInfo();
  fSettings->LabelKindItems(*fMarkups);
  UpdateMonViews();
  // The calendar files keep their days until the folder read anew replaces
  // them, the calendar sources theirs until their syncs do.
  ReadCalendars();
  if (fSources)
    fSources->SyncAll();
}

void OVA_Window::ReadCalendars()
{
  if (fCalendars)
    fCalendars->ReadFolder(DefaultCalendarFolder(), fMarkups->LookedUpYears());
}

void OVA_Window::TakeCalendars()
{
  if (!fCalendars || !fMarkups || !fCalendars->HandOver(fMarkups))
    return;
  fMarkups->CheckHolidays();
  fSettings->LabelKindItems(*fMarkups);
  UpdateMonViews();
  if (fWaitingExport) {
    const auto [year, month] = *fWaitingExport;
    fWaitingExport.reset();
    ExportWhenReady(year, month);
  }
}

void OVA_Window::ExportWhenReady(int32 year, int32 month)
{
  if (fCalendars && (fCalendars->Reading() || !fMarkups->YearReady(year))) {
    printf("The pictures and the page of %ld wait for the calendar files\n", long(year));
    fWaitingExport = {year, month};
    return;
  }
  HtmCalendar(year, month);
}

void OVA_Window::ShowKind(bool* shown, BMenuItem* item)
{
  *shown = !*shown;
  if (item)
    item->SetMarked(*shown);
  fPrefs->Save();
  if (fMarkups) {
    fMarkups->CheckHolidays();
    UpdateMonViews();
  }
}

void OVA_Window::SetHtmlMode(int32 mode)
{
  fPrefs->fHtmlModus = mode;
  printf(" HtmModus = %ld \n", long(mode));
  fSettings->MarkHtmlMode(mode);
  if (fMainMon)
    fMainMon->HtmCalendar();
  else if (mode == 1)
    DoError("please expand View..");
}
