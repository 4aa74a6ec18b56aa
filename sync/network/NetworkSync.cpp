#include "sync/network/NetworkSync.h"

#include "sync/network/CalDavSync.h"
#include "sync/network/FeedSync.h"
#include "sync/network/HttpClient.h"

#include <QUrl>

#include <cstdio>

SourceReport SyncSource(HttpClient& http, const CalendarSource& source, const SourceCache& cache, int64 now,
                        const std::vector<int32>& years)
{
  SourceReport report;
  report.id = source.Id();
  const CacheState cached = cache.ReadState();
  std::string data, error;
  const bool haveData = cache.ReadData(&data, &error);
  SyncResult result = source.type == CalendarSource::kCalDav ? SyncCalDav(http, source, cached, data)
                                                              : SyncFeed(http, source, cached, haveData);
  if (http.Cancelled())
    return report;
  CacheState next = result.failure.Failed() ? cached : result.state;
  SourceState& state = next.state;
  if (result.failure.Failed()) {
    state.status = result.failure.status;
    state.detail = result.failure.detail;
    if (state.status == SyncStatus::kOffline && state.offlineSince == 0)
      state.offlineSince = now;
    if (state.status != SyncStatus::kOffline)
      state.offlineSince = 0;
  } else {
    state = SourceState{SyncStatus::kSynced, std::string(), now, 0, cached.state.entries};
    if (result.changed) {
      report.marks = MarksOfData(result.data, source, cache, years);
      report.marksChanged = true;
      state.entries = report.marks.source != nullptr ? report.marks.source->CountEntries() : 0;
      if (!cache.WriteData(result.data, &error)) {
        // The marks stay as they were: what is shown is what a restart shows.
        report.marks = SourceMarks();
        report.marksChanged = false;
        next = cached;
        next.state.status = SyncStatus::kCacheUnwritable;
        next.state.detail = error;
      }
    }
  }
  if (!cache.WriteState(next, &error))
    printf("Calendar source '%s': %s\n", source.Title().c_str(), error.c_str());
  printf("Calendar source '%s': %s %s (%d requests)\n", source.Title().c_str(), SyncStatusName(next.state.status),
         next.state.detail.c_str(), http.Requests());
  report.state = next.state;
  report.calendars = next.calendars;
  return report;
}

bool ProbeSource(HttpClient& http, CalendarSource* source, std::vector<RemoteCalendar>* calendars,
                 SyncFailure* failure)
{
  calendars->clear();
  const bool feedFirst = GuessSourceType(source->url) == CalendarSource::kFeed;
  auto tryFeed = [&]() {
    source->type = CalendarSource::kFeed;
    const SyncResult feed = SyncFeed(http, *source, CacheState(), false);
    *failure = feed.failure;
    return !failure->Failed();
  };
  if (feedFirst)
    return tryFeed();
  CalDavFound found;
  if (FindCalendars(http, QUrl(QString::fromStdString(source->FetchUrl())), &found, failure)) {
    source->type = CalendarSource::kCalDav;
    *calendars = found.calendars;
    return true;
  }
  // A page that is no CalDAV server may still be a feed.
  if (failure->status != SyncStatus::kNotCalendar)
    return false;
  const SyncFailure asCalDav = *failure;
  if (tryFeed())
    return true;
  if (failure->status == SyncStatus::kNotCalendar)
    *failure = asCalDav;
  return false;
}
