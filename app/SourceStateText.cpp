#include "app/SourceStateText.h"

#include "calendar/Labels.h"

namespace {

int LabelOf(SyncStatus status)
{
  switch (status) {
  case SyncStatus::kNotSynced:
    return 67;
  case SyncStatus::kSynced:
    return 56;
  case SyncStatus::kOffline:
    return 57;
  case SyncStatus::kWrongPassword:
    return 58;
  case SyncStatus::kPasswordNeeded:
    return 59;
  case SyncStatus::kNotCalendar:
    return 60;
  case SyncStatus::kCertificate:
    return 61;
  case SyncStatus::kTooLarge:
    return 62;
  case SyncStatus::kTooManyRedirects:
    return 63;
  case SyncStatus::kTimedOut:
    return 64;
  case SyncStatus::kServerError:
    return 65;
  case SyncStatus::kBadAnswer:
    return 66;
  case SyncStatus::kPlainHttpRefused:
    return 69;
  case SyncStatus::kCacheUnwritable:
    return 70;
  }
  return 67;
}

} // namespace

std::string StateTime(time_t when, time_t now)
{
  struct tm local, today;
  localtime_r(&when, &local);
  localtime_r(&now, &today);
  const bool sameDay = local.tm_year == today.tm_year && local.tm_yday == today.tm_yday;
  char text[32];
  strftime(text, sizeof text, sameDay ? "%H:%M" : "%Y/%m/%d %H:%M", &local);
  return text;
}

std::string SourceName(const CalendarSync::Entry& entry)
{
  std::string names;
  for (const RemoteCalendar& calendar : entry.calendars)
    names += (names.empty() ? "" : ", ") + calendar.name;
  return names.empty() ? entry.source.Title() : names;
}

std::string SourceStateText(const SourceState& state, bool syncing, time_t now)
{
  if (syncing)
    return getLabel(55);
  std::string text = getLabel(LabelOf(state.status));
  if (state.status == SyncStatus::kSynced && state.lastSync > 0)
    text += " " + StateTime(state.lastSync, now);
  else if (state.status == SyncStatus::kOffline && state.offlineSince > 0)
    text += " " + StateTime(state.offlineSince, now);
  else if (state.status != SyncStatus::kNotSynced && state.status != SyncStatus::kSynced && state.lastSync > 0)
    text += " (" + std::string(getLabel(56)) + " " + StateTime(state.lastSync, now) + ")";
  return text;
}
