// The window's construction, its message dispatch and its frame.
#include "app/OVA_Window.h"

#include "app/PanelFocus.h"
#include "app/WindowFrame.h"
#include "app/CalendarsWindow.h"
#include "app/DoError.h"
#include "calendar/Labels.h"
#include "controls/TDView.h"
#include "locale/CatalogLabels.h"
#include "locale/KXLabel.h"
#include "locale/KXLangMenu.h"
#include "marks/CalendarWorker.h"
#include "marks/EventScan.h"
#include "marks/STMarkups.h"
#include "platform/interface/BButton.h"
#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuField.h"
#include "platform/interface/BView.h"
#include "platform/messaging/BMessage.h"
#include "platform/storage/BNode.h"
#include "settings/Prefs.h"
#include "views/MonView.h"
#include "views/TimeView.h"

#include <cstdio>

OVA_Window::OVA_Window(BRect frame)
    : BWindow(frame, "Orvella", B_DOCUMENT_WINDOW,
              B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_QUIT_ON_WINDOW_CLOSE, B_CURRENT_WORKSPACE)
{
  selfMessenger = BMessenger(this);
  replyTarget = selfMessenger;

  fMarkups = STMarkups::getSTMarkups();
  if (fMarkups) {
    LookForVEvents();
    fMarkups->CheckHolidays();
    fMarkups->ShowInfo();
    // The calendar files are read and their years worked out on a thread
    // of their own; the grids show their days when they arrive ('rCal').
    fCalendars = std::make_unique<CalendarWorker>([window = selfMessenger] { window.SendMessage('rCal'); });
    fMarkups->SetYearWorker(fCalendars.get());
  }

  fPrefs = Prefs::getSTPrefs();
  SetLook(fPrefs->fWindowTab ? B_FLOATING_WINDOW_LOOK : B_BORDERED_WINDOW_LOOK);

#ifdef ORVELLA_DESKTOP_VARIANT
  printf(" --class KXLangMenu* kxlm - not needet (Zeta)\n");
  UseLabelCatalog("orvella");
#else
  fLangMenu = new KXLangMenu("Language", "Orvella");
  fLangMenu->StartWith(AllLabels());
  SetLabelSource(KXLabel::LabelText);
#endif

  if (!IsUsableWindowFrame(fPrefs->fWinRect)) {
    // Only the window takes the default; the store keeps what it holds.
    const BRect& bad = fPrefs->fWinRect;
    const BRect& good = Prefs::kDefaultWinRect;
    printf("m_win_rect %g, %g, %g, %g is no usable window frame; taking %g, %g, %g, %g\n", bad.left, bad.top,
           bad.right, bad.bottom, good.left, good.top, good.right, good.bottom);
    fPrefs->fWinRect = good;
  }
  const BRect stored = fPrefs->fWinRect;
  ResizeTo(stored.Width(), stored.Height());
  MoveTo(stored.left, stored.top);
  Bounds().PrintToStream();

  fBackground = new BView(Bounds(), "bView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
  fBackground->SetViewColor(232, 232, 232);
  fBackground->SetFontSize(10);
  AddChild(fBackground);
  fBackground->SetFontSize(12);

  // The old platform path of the MarkDays file, kept as a trace of the
  // start-up; the registry reads the file from the home folder.
  const char* markDaysNode = "/people/MarkDays";
  BNode markDays(markDaysNode);
  printf("FILE_MARKDAYS check: %ld [%s]\n", long(markDays.InitCheck()), markDaysNode);
  if (fMarkups)
    printf(" We have %ld userdays | status: %d\n", long(fMarkups->fUsers), fPrefs->fDaysUser);
  fSettings = std::make_unique<SettingsMenu>(*fPrefs, fMarkups, fLangMenu);

  // The field's label is not shown (divider 0); it names the menu button
  // for screen readers.
  fMenuField = new BMenuField(BRect(18, 12, 36, 34), "menMF", getMoreLabel(kLabelSettings), fSettings->Menu(),
                              B_FOLLOW_LEFT, B_WILL_DRAW | B_NAVIGABLE);
  fMenuField->SetDivider(0);
  fMenuField->SetAlignment(B_ALIGN_LEFT);
  fBackground->AddChild(fMenuField);
  fMenuField->SetFontSize(12);
  fSettings->Menu()->SetFontSize(12);

  fClipButton = new BButton(BRect(5, 47, 42, 60), "clip", getLabel(6), new BMessage('2CLP'),
                            B_FOLLOW_LEFT | B_FOLLOW_TOP);
  fBackground->AddChild(fClipButton);
  fClipButton->SetFontSize(10);
  fClipButton->ResizeTo(37, 22);

  fPrefs->fCurCode = 0;
  ResetMDateView(nullptr);

  AddMonViews();
  printf("-- StartUp --\n");
  UpdateMonViews();
  TraceLabels();
  ReadCalendars();
  fTodayWatch = std::make_unique<TodayWatch>(selfMessenger, 'TODY');
  AddShortcut(B_F6_KEY, new BMessage('KGRD'));
  AddShortcut(B_F10_KEY, new BMessage('KMNU'));
  AddShortcut(B_MENU_KEY, new BMessage('KMNU'));

  // The sources' cached marks arrive from the sync worker in a moment; the
  // window shows without waiting for them.
  fSources = std::make_unique<CalendarSync>(this);
  fSources->Start();
}

OVA_Window::~OVA_Window()
{
  if (fCalendarsWindow) {
    fCalendarsWindow->Lock();
    fCalendarsWindow->Quit();
  }
  // No news from the sync after this: it ends its running exchange.
  fSources.reset();

  // The month views go first, removed as a switch to the compact layout
  // removes them; the switch is put back before the settings are saved, so
  // the next start opens expanded again. The clock leaves shown, as it came.
  const bool expanded = fPrefs->fShowExpand;
  fPrefs->fShowExpand = false;
  AddMonViews();
  if (fTimeView && fTimeView->IsHidden())
    fTimeView->Show();
  fPrefs->fShowExpand = expanded;

  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
  fPrefs->DeleteMe();
  fPrefs = nullptr;
  for (BView* view : {static_cast<BView*>(fTimeView), static_cast<BView*>(fPanel)}) {
    if (view) {
      view->RemoveSelf();
      delete view;
    }
  }
  fTimeView = nullptr;
  fPanel = nullptr;
  printf("\n -ova a\n");
  if (fMarkups) {
    fMarkups->SetYearWorker(nullptr);
    fCalendars.reset();
    fMarkups->DeleteMe();
    fMarkups = nullptr;
  }
  printf(" -ova \n");
}

void OVA_Window::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_KXT':
    AcceptRequest(message);
    break;
  case 'Qmod': {
    // OK and Cancel are enabled only while a requester waits; keys that ask
    // for them at other times find nobody to answer.
    int32 kind;
    if (message->FindInt32("_QuitMod", &kind) == B_OK && (kind == -1 || IsWaitingForAnswer()))
      SendDateTimeMessage(kind);
    break;
  }
  case '2CLP':
    DateToClipboard();
    break;
  case 'MENU':
    SetSettings(message);
    break;
  case 'CUFO':
    SetFocusTo(message);
    break;
  case 'NDAY':
    UpdateDayView(message);
    break;
  case 'CTIM':
    UpdateTimeView(message);
    break;
  case 'NHOU':
  case 'NMIN':
  case 'TRDW':
    UpdateMonViews();
    break;
  case 'TDAY':
    if (fMainMon) {
      fMainMon->fDay = fPanel->DayField()->value;
      fMainMon->HighlightDay();
    }
    break;
  case 'TDSV':
    if (fPanel)
      fPanel->MessageReceived(message);
    break;
  case 'TODY':
    FollowToday();
    break;
  case 'KGRD':
    SwitchKeys();
    break;
  case 'KMNU':
    fMenuField->ShowMenu();
    break;
  case '_ABR':
    DoError("... can be a part of any App..\n Version: 71230");
    break;
  case 'oMDf':
    OpenMarkDaysFile();
    break;
  case 'rMDf':
    ReloadMarkDays();
    break;
  case 'rCal':
    TakeCalendars();
    break;
  case 'cCAL':
    OpenCalendarsWindow();
    break;
  case 'sGmd':
    ShowKind(&fPrefs->fDaysGlobal, fSettings->globals);
    break;
  case 'sLmd':
    ShowKind(&fPrefs->fDaysLocal, fSettings->locals);
    break;
  case 'sUmd':
    ShowKind(&fPrefs->fDaysUser, fSettings->users);
    break;
  case 'sEmd':
    ShowKind(&fPrefs->fDaysEvent, fSettings->events);
    break;
  case 'sN1C':
    SetHtmlMode(1);
    break;
  case 'sN2C':
    SetHtmlMode(2);
    break;
  case 'sN3C':
    SetHtmlMode(3);
    break;
#ifndef ORVELLA_DESKTOP_VARIANT
  case 'kxCL':
    printf("OVA_Win#");
    message->PrintToStream();
    if (fLangMenu && fLangMenu->TakeLanguage(message, AllLabels()))
      ReplaceLabel();
    break;
#endif
  case 'DATA':
    message->PrintToStream();
    break;
  case 'RFID':
  case 'TICK':
  case '_DPD':
  case '_KDN':
  case '_KYD':
  case '_KYU':
  case '_MCH':
  case '_MDN':
  case '_MMV':
  case '_MUP':
  case '_MWC':
  case '_PBL':
  case '_UKD':
  case '_UKU':
    break;
  default:
    printf("OVA_Window::MessageReceived\n");
    message->PrintToStream();
    break;
  }
}

void OVA_Window::FrameMoved(BPoint)
{
  if (!fPrefs)
    return;
  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
}

void OVA_Window::FrameResized(float, float)
{
  if (!fPrefs)
    return;
  fPrefs->fWinRect = Frame();
  fPrefs->SaveWin();
}
