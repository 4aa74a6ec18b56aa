// Finding the calendars of a CalDAV account and bringing a source's copy
// of their events up to date.
//
// Finding: the address the user gave is asked what it is. A calendar is
// taken as it is; otherwise Orvella asks /.well-known/caldav for the
// user's principal (current-user-principal), the principal for the
// calendar home (calendar-home-set), and the home for its calendars, with
// their display names and colours.
//
// Syncing: one PROPFIND of the home lists the calendars with their
// sync tokens and ctags; when none changed, that is all. A changed
// calendar is asked what changed since the token it was last synced at
// (sync-collection, RFC 6578) or, on servers without it, for the ETags of
// all its events, compared with the cached ones. Only the changed events
// are fetched (calendar-multiget). Calendars the server no longer has, or
// that the user no longer shows, leave the copy.
//
//   CalDavFound found;
//   SyncFailure failure;
//   if (FindCalendars(http, QUrl(address), &found, &failure))
//     for (const RemoteCalendar& calendar : found.calendars) ... calendar.name, calendar.color
#pragma once

#include <QUrl>

#include <string>
#include <vector>

#include "sync/CalendarSource.h"
#include "sync/network/DavExchange.h"
#include "sync/SourceCache.h"

class HttpClient;

struct CalDavFound {
  std::string home;             // the address that lists the calendars
  bool homeIsCalendar = false;  // the address given is one calendar
  std::vector<RemoteCalendar> calendars;  // those that can hold events
};

// Where the calendars of the address are, and which they are.
bool FindCalendars(HttpClient& http, const QUrl& address, CalDavFound* found, SyncFailure* failure);
// The calendars the home lists now (or the one calendar it is).
bool ListCalendars(HttpClient& http, const QUrl& home, bool homeIsCalendar, std::vector<RemoteCalendar>* calendars,
                   SyncFailure* failure);

// Brings the cached data of a CalDAV source up to date; nothing of it
// changes unless every step succeeds.
SyncResult SyncCalDav(HttpClient& http, const CalendarSource& source, const CacheState& cached,
                        const std::string& cachedData);
