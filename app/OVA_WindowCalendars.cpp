// The calendar sources: their marks in the registry, their states in the
// MarkDays submenu, and the Calendars window.
#include "app/OVA_Window.h"

#include "app/CalendarsWindow.h"
#include "app/SourceStateText.h"
#include "marks/EventScan.h"
#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "sync/CachedSources.h"

#include <cstdio>
#include <cstdlib>

void OVA_Window::RebuildMarks()
{
  if (!fMarkups)
    return;
  fMarkups->ClearList();
  fMarkups->LoadHolidays(nullptr);
  LookForVEvents();
  LookForCalendars(nullptr);
  for (const auto& [id, marks] : fSourceMarks)
    AddSourceMarks(fMarkups, marks);
  fMarkups->CheckHolidays();
  fMarkups->ShowInfo();
  StatesChanged();
  UpdateMonViews();
}

void OVA_Window::MarksReplaced(const CalendarSource& source, std::shared_ptr<IcsCalendar> marks)
{
  if (marks)
    fSourceMarks[source.Id()] = std::move(marks);
  else if (fSourceMarks.erase(source.Id()) == 0)
    return;
  // Sources that arrive together (every cache at start) make one rebuild.
  if (!fRebuildPosted) {
    fRebuildPosted = true;
    PostMessage('cMRK');
  }
}

void OVA_Window::StatesChanged()
{
  if (!fCalendars)
    return;
  const time_t now = time(nullptr);
  std::vector<std::string> lines;
  for (const CalendarSync::Entry& entry : fCalendars->Entries()) {
    auto marks = fSourceMarks.find(entry.source.Id());
    const int32 count = marks != fSourceMarks.end() ? marks->second->CountEntries() : 0;
    lines.push_back(" " + std::to_string(count) + " " + SourceName(entry) + ": "
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
  if (!fCalendars)
    return;
  if (!fCalendarsWindow) {
    fCalendarsWindow = new CalendarsWindow(fCalendars.get(), [this]() { fCalendarsWindow = nullptr; });
    fCalendarsWindow->Show();
  }
  fCalendarsWindow->Activate(true);
}
