// The calendar sources: their marks in the registry, their states in the
// MarkDays submenu, and the Calendars window.
#include "app/OVA_Window.h"

#include "app/CalendarsWindow.h"
#include "app/SourceStateText.h"
#include "marks/STMarkups.h"

#include <cstdio>
#include <cstdlib>

void OVA_Window::MarksReplaced(SourceMarks marks)
{
  if (!fMarkups)
    return;
  if (getenv("ORVELLA_TEST_TRACE") != nullptr)
    printf("calendar marks: %s %d entries\n", marks.id.c_str(), marks.source ? marks.source->CountEntries() : 0);
  fMarkups->ReplaceYearSource(std::move(marks));
  fMarkups->CheckHolidays();
  if (fSettings)
    fSettings->LabelKindItems(*fMarkups);
  UpdateMonViews();
}

std::vector<int32> OVA_Window::YearsWanted() const
{
  std::vector<int32> years = fMarkups ? fMarkups->LookedUpYears() : std::vector<int32>();
  // Before the grids are drawn: the years around today.
  if (years.empty()) {
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    for (int32 year = local.tm_year + 1900 - 1; year <= local.tm_year + 1900 + 1; year++)
      years.push_back(year);
  }
  return years;
}

void OVA_Window::StatesChanged()
{
  if (!fSources)
    return;
  const time_t now = time(nullptr);
  std::vector<std::string> lines;
  for (const CalendarSync::Entry& entry : fSources->Entries()) {
    lines.push_back(" " + std::to_string(entry.state.entries) + " " + SourceName(entry) + ": "
                    + SourceStateText(entry.state, entry.syncing, now));
  }
  if (fSettings) {
    if (fMarkups)
      fSettings->LabelKindItems(*fMarkups);
    fSettings->ShowSources(lines);
  }
  if (fCalendarsWindow)
    fCalendarsWindow->Update();
  if (getenv("ORVELLA_TEST_TRACE") != nullptr) {
    for (const std::string& line : lines)
      printf("calendar source:%s\n", line.c_str());
  }
}

void OVA_Window::Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& calendars,
                        const SyncFailure& failure)
{
  if (fCalendarsWindow)
    fCalendarsWindow->Probed(source, calendars, failure);
}

void OVA_Window::PasswordWanted(const CalendarSource& source)
{
  // Asked once a session, in the Calendars window, which says that the
  // password is kept in memory only.
  OpenCalendarsWindow();
  fCalendarsWindow->AskPassword(source);
}

void OVA_Window::OpenCalendarsWindow()
{
  if (!fSources)
    return;
  if (!fCalendarsWindow) {
    fCalendarsWindow = new CalendarsWindow(fSources.get(), [this]() { fCalendarsWindow = nullptr; });
    fCalendarsWindow->Show();
  }
  fCalendarsWindow->Activate(true);
}
