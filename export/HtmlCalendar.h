// HTML calendar pages: a year or one month with the month pictures and the
// texts of the marked days, written to the calendar folder and opened with
// the desktop's default program (xdg-open).
//
// Layouts, by the "html_modus" setting:
//   0, 1  the month in two columns of days      MON<year><month>.htm
//   2     the year, two months a row, all days  YCAL<year>.htm
//   3     the year, three months a row, only the marked days  CAL<year>.htm
//
//   HtmCalendar(2004, 2);        // twelve pictures, then the page
//   YCalToHtml(2004, 2, 3);      // only the page: CAL2004.htm
#pragma once

#include "platform/support/SupportDefs.h"

// What a month view's HTML command runs: writes the twelve month pictures
// of the year, then the page in the layout the settings ask for.
void HtmCalendar(int32 year, int32 month);

// Writes the page of the layout and opens it. False, with a line on
// standard output, for a layout that has no page, a page that cannot be
// written, or an opener that cannot be started.
bool YCalToHtml(long year, long month, int layout);
