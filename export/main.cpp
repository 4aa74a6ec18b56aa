// OrvellaExport: writes a year's month pictures and one HTML page, as the
// main window's HTML-View commands do, from the sources the window reads:
// the MarkDays file, the events, the calendar folder and the synced
// calendar sources' cache of the current home folder; for scripts and for
// looking at the output without the window. The page is handed to
// xdg-open like the window does.
//
//   OrvellaExport 2004 3 1    # twelve pictures and the month page of March
#include "export/HtmlCalendar.h"
#include "marks/EventScan.h"
#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "platform/support/HeapReserve.h"
#include "settings/Prefs.h"
#include "sync/CachedSources.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
  KeepHeapReserve();
  setvbuf(stdout, nullptr, _IOLBF, 0);
  if (argc < 2 || argc > 4) {
    printf("usage: OrvellaExport YEAR [MONTH [LAYOUT]]\n"
           "  LAYOUT 1: the month's page, 2: the year two months a row, 3: three a row;\n"
           "  without it, the \"html_modus\" setting.\n");
    return 2;
  }
  const long year = strtol(argv[1], nullptr, 10);
  const long month = argc > 2 ? strtol(argv[2], nullptr, 10) : 1;
  if (year < 1903 || year > 2036 || month < 1 || month > 12) {
    printf("OrvellaExport: year 1903..2036 and month 1..12, please\n");
    return 2;
  }
  QApplication app(argc, argv);

  Prefs* prefs = Prefs::getSTPrefs();
  if (argc > 3)
    prefs->fHtmlModus = int32(strtol(argv[3], nullptr, 10));
  STMarkups* marks = STMarkups::getSTMarkups();
  LookForVEvents();
  LookForCalendars(nullptr);
  LookForCachedSources(nullptr);
  marks->CheckHolidays();
  // Today as the window sets it; the pictures show no day as today.
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  marks->fTodayCode = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;

  HtmCalendar(int32(year), int32(month));
  printf("\n");
  marks->DeleteMe();
  prefs->DeleteMe();
  return 0;
}
