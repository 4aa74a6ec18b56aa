#include "export/HtmlCalendar.h"

#include "calendar/CalDay.h"
#include "calendar/Labels.h"
#include "export/CalendarFolder.h"
#include "export/MonthImage.h"
#include "marks/HtmlEscape.h"
#include "marks/STMarkups.h"
#include "platform/messaging/Launch.h"
#include "platform/storage/AtomicFile.h"
#include "settings/Prefs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kTableWidth = 620;
constexpr int kTableBorder = 0;

void WriteHead(FILE* page, const std::string& title)
{
  fprintf(page, "<html><head>\n");
  fprintf(page, "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=utf-8'>\n");
  fprintf(page, "<TITLE>%s</TITLE>\n", title.c_str());
  fprintf(page, "<BASEFONT FACE='VERDANA,ARIAL,HELVETICA' size='1'>\n");
  fprintf(page, "</head>\n");
}

bool IsMarked(STMarkups* marks, long month, long day, long year)
{
  return marks->IsMarkDay(int32(month), int32(day), int32(year)) != nullptr;
}

// The HTML text of a marked day's shown records.
std::string MarkUp(STMarkups* marks, long month, long day, long year, bool flag)
{
  std::string text;
  marks->GetMarkUpText(int32(month), int32(day), int32(year), &text, flag);
  return text;
}

void WriteTwoRowPage(FILE* page, long year, STMarkups* marks)
{
  WriteHead(page, "Orvella Kalender komplett");
  fprintf(page, "<body bgcolor='ffffff'>\n");
  fprintf(page, "\t<!--br><center><h1>%ld</h1></center -->\n", year);
  fprintf(page, "<table width='%d' border='%d'><tr>\n", kTableWidth, kTableBorder);
  for (long m = 1; m <= 12; m++) {
    if (m % 2 == 1 && m > 1)
      fprintf(page, "</tr></table>\n<br><br>\n<table width='%d' border='%d'><tr>\n", kTableWidth,
              kTableBorder);
    fprintf(page, "\n<td width='50%%' valign='top'><font size='1'>\n");
    fprintf(page, "<IMG  SRC='Orvel%ld%02ld.png'><br>\n", year, m);
    for (long d = 1; d <= TagePerMonat(int(m - 1), int(year)); d++) {
      if (IsMarked(marks, m, d, year))
        fprintf(page, "&#160; <b>%02ld</b> %s<br>", d, MarkUp(marks, m, d, year, false).c_str());
      else
        fprintf(page, "&#160; %02ld <br>", d);
      fprintf(page, "<hr>\n");
    }
    fprintf(page, "</td>\n");
  }
  fprintf(page, "</tr></table>\n");
  fprintf(page, "</body></html>\n");
}

void WriteMonthPage(FILE* page, long year, long month, STMarkups* marks)
{
  std::string title = "Orvella Monat ";
  AppendHtmlEscaped(&title, getLabel(int(74 + month)));
  WriteHead(page, title);
  fprintf(page, "<body bgcolor='ffffff'><center>\n");
  fprintf(page, "<!--br><center><h1>%ld</h1></center -->\n", year);
  fprintf(page, "<table width='%d' border='%d'>\n", kTableWidth, kTableBorder);
  fprintf(page, "<th colspan='4'> <hr> </th>\n");
  fprintf(page, "<tr><td width='10%%'> &#160; </td><td>\n");
  fprintf(page, "\n<td width='45%%' valign='top'><font size='1'>\n");
  fprintf(page, "<IMG  SRC='Orvel%ld%02ld.png'><!-- align='left' valign='top'--><br>\n", year,
          month);
  for (long d = 1; d <= TagePerMonat(int(month - 1), int(year)); d++) {
    if (IsMarked(marks, month, d, year))
      fprintf(page, "&#160; <b>%02ld</b>%s \n", d, MarkUp(marks, month, d, year, true).c_str());
    else
      fprintf(page, "&#160; <b>%02ld</b> \n", d);
    fprintf(page, "<hr>\n");
    // The second column of days starts after the 13th.
    if (d == 13)
      fprintf(page, "</td><td width='45%%' valign='top'><font size='1'>\n");
  }
  fprintf(page, "</td>\n");
  fprintf(page, "</tr>\n<tr><td colspan='4'> <hr> </td></tr>\n");
  fprintf(page, "</table>\n");
  fprintf(page, "</center></body></html>\n");
}

void WriteThreeRowPage(FILE* page, long year, STMarkups* marks)
{
  WriteHead(page, "Orvella Kalender komplett");
  fprintf(page, "<body bgcolor='ffffff'><center><hr width='500'>\n");
  fprintf(page, "<!--br><center><h1>%ld</h1></center -->\n", year);
  fprintf(page, "<table width='%d' border='%d'><tr>\n", kTableWidth, kTableBorder);
  for (long m = 1; m <= 12; m++) {
    if (m == 4 || m == 10)
      fprintf(page, "</tr></table>\n<br><hr width='500'>\n<table width='%d' border='%d'><tr>\n",
              kTableWidth, kTableBorder);
    else if (m == 7)
      fprintf(page,
              "</tr></table>\n<br><hr width='500'><br>\n<table width='%d' border='%d'><tr>\n",
              kTableWidth, kTableBorder);
    fprintf(page, "\n<td width='32%%' valign='top'><font size='1'>\n");
    fprintf(page, "<IMG  SRC='Orvel%ld%02ld.png'><br>\n", year, m);
    for (long d = 1; d <= TagePerMonat(int(m - 1), int(year)); d++) {
      if (IsMarked(marks, m, d, year))
        fprintf(page, "&#160; <b>%02ld</b>%s<br>", d, MarkUp(marks, m, d, year, true).c_str());
    }
    fprintf(page, "</td>\n");
  }
  fprintf(page, "</tr></table>\n");
  fprintf(page, "</center></body></html>\n");
}

} // namespace

void HtmCalendar(int32 year, int32 month)
{
  Prefs* prefs = Prefs::getSTPrefs();
  printf("prefs.HtmModus= %d\n", int(prefs->fHtmlModus));
  for (long m = 1; m <= 12; m++)
    ImageFromMon(year, m, 0);
  YCalToHtml(year, month, int(prefs->fHtmlModus));
}

bool YCalToHtml(long year, long month, int layout)
{
  const std::string folder = CalendarFolder();
  std::string path;
  if (layout == 2)
    path = FileIn(folder, "YCAL%ld.htm", year);
  else if (layout == 0 || layout == 1)
    path = FileIn(folder, "MON%ld%02ld.htm", year, month);
  else if (layout == 3)
    path = FileIn(folder, "CAL%ld.htm", year);
  else {
    printf("html_modus %d has no page layout (1 month, 2 or 3 rows): no page written\n", layout);
    return false;
  }

  STMarkups* marks = STMarkups::getSTMarkups();
  // Made in memory and then written whole: an old page stays as it was
  // until the new one is complete.
  AtomicFile file(path.c_str());
  char* text = nullptr;
  size_t size = 0;
  FILE* page = file.InitCheck() == B_OK ? open_memstream(&text, &size) : nullptr;
  if (page == nullptr) {
    printf("'%s' OpenError!\n", path.c_str());
    return false;
  }
  if (layout == 2)
    WriteTwoRowPage(page, year, marks);
  else if (layout == 3)
    WriteThreeRowPage(page, year, marks);
  else
    WriteMonthPage(page, year, month, marks);
  const bool made = ferror(page) == 0;
  const bool closed = fclose(page) == 0;
  const bool written = made && closed && file.File().Write(text, size) == ssize_t(size) && file.Commit() == B_OK;
  free(text);
  // A page that cannot be written whole is not worth opening.
  if (!written) {
    printf("'%s' WriteError!\n", path.c_str());
    return false;
  }

  // The path is one argument of the opener, never part of a shell command.
  if (!StartDetached("xdg-open", {path})) {
    printf("'%s' not opened: xdg-open could not be started\n", path.c_str());
    return false;
  }
  return true;
}
