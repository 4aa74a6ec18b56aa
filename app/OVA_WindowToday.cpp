// Today following the clock: the day the grids mark as today, the
// registry's and the settings' today, and an idle panel that still shows
// the day that has ended.
#include "app/OVA_Window.h"

#include "controls/TDView.h"
#include "marks/STMarkups.h"
#include "settings/Prefs.h"

#include <cstdio>

void OVA_Window::FollowToday()
{
  const CivilDay today = fTodayWatch->Look();
  if (today.Code() == fPrefs->fCurCode)
    return;
  const CivilDay ended{fPrefs->fCurYear, fPrefs->fCurMonth, fPrefs->fCurDay};
  printf("today: %04ld/%02ld/%02ld\n", long(today.year), long(today.month), long(today.day));

  fPrefs->fCurYear = today.year;
  fPrefs->fCurMonth = today.month;
  fPrefs->fCurDay = today.day;
  fPrefs->fCurCode = today.Code();
  if (fMarkups)
    fMarkups->fTodayCode = today.Code();

  Lock();
  // A requester's preset and a day the user picked stay; a panel left on
  // the ended day shows the new one, as if it had been reset just now.
  if (fPanel && !IsWaitingForAnswer() && today.year >= TDView::kFirstYear && today.year <= TDView::kLastYear &&
      fPanel->YearField()->value == ended.year && fPanel->MonthField()->value == ended.month &&
      fPanel->DayField()->value == ended.day) {
    // Each field reports its change, and the grids follow.
    fPanel->YearField()->SetValue(today.year);
    fPanel->MonthField()->SetValue(today.month);
    fPanel->DayField()->SetValue(today.day);
  }
  UpdateMonViews();
  Unlock();
}
