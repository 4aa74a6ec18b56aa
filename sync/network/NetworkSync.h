// Syncing one source and looking at a new address, over HTTP: the part of
// the sync worker's jobs that talks to servers.
//
//   HttpClient http;
//   http.SetCredentials(QUrl(url), source.user, password);
//   SourceReport report = SyncSource(http, source, SourceCache(source.Id()), time(nullptr), {2024, 2025});
#pragma once

#include <vector>

#include "sync/SourceSync.h"

class HttpClient;

// Syncs the source and writes its cache; `http` carries its credentials.
// A failure keeps the cached data and records the failure in the state;
// "offline since" is the time of the first failed try. The marks of new
// data are worked out for `years`.
SourceReport SyncSource(HttpClient& http, const CalendarSource& source, const SourceCache& cache, int64 now,
                        const std::vector<int32>& years = {});

// Looks at a new source's address: a CalDAV server or calendar (its
// calendars in *calendars) or a feed; sets source->type. False with the
// failure when it is neither or cannot be reached.
bool ProbeSource(HttpClient& http, CalendarSource* source, std::vector<RemoteCalendar>* calendars,
                 SyncFailure* failure);
