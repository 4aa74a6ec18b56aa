// Times the sync of a CalDAV account of 10,000 events against Radicale on
// this machine, with Orvella's own code:
//   - the first sync (finding the calendars, listing, fetching, writing the
//     cache, reading the events and working out this year's marks);
//   - a sync where nothing changed (its requests, and the time, median and
//     longest of 20), beside Radicale's own time for the same request (it
//     works out the calendar's ctag and sync token from all its events),
//     and the same for an account of 100 events;
//   - the window during a first sync of 10,000 events: the longest time its
//     event loop was held up, which is the longest a click waited, and the
//     sync's own time, against the same event loop with no sync running.
// Run on a session bus without a keyring (bench/sync-bench.sh does that):
// the window's password stays in memory. The figures go to standard error,
// the window's trace lines to standard output.
#include "app/OVA_Application.h"
#include "app/OVA_Window.h"
#include "platform/messaging/BMessage.h"
#include "sync/network/DavExchange.h"
#include "sync/network/HttpClient.h"
#include "sync/network/NetworkSync.h"
#include "tests/platform/TempHome.h"
#include "tests/sync/SyncServers.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kEvents = 10000;

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Writes the calendar's events straight into Radicale's storage, as a PUT of
// each would leave them: a file for each event.
bool FillCalendar(const Radicale& radicale, const QString& calendar, int events, int year)
{
  const QString folder = radicale.Storage() + "/" + calendar;
  char text[512];
  for (int i = 0; i < events; i++) {
    QFile file(QString("%1/e%2.ics").arg(folder).arg(i));
    const int month = 1 + i % 12, day = 1 + i % 28, hour = 8 + i % 9, minute = i % 4 * 15;
    const int length = snprintf(text, sizeof text,
                                "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\n"
                                "UID:e%d@bench\r\nDTSTART:%04d%02d%02dT%02d%02d00\r\nDTEND:%04d%02d%02dT%02d%02d00\r\n"
                                "SUMMARY:Meeting %d\r\nLOCATION:Room %d\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
                                i, year, month, day, hour, minute, year, month, day, hour + 1, minute, i, i % 40);
    if (!file.open(QIODevice::WriteOnly) || file.write(text, length) != length)
      return false;
  }
  return true;
}

// Syncs with nothing changed: the median time, and the most requests one took.
double UnchangedSyncs(const Radicale& radicale, const CalendarSource& source, int year, int* requests, double* longest)
{
  std::vector<double> times;
  for (int round = 0; round < 20; round++) {
    HttpLimits patient;
    patient.answerMs = patient.pauseMs = patient.totalMs = 600000;
    HttpClient http(patient);
    http.SetCredentials(QUrl(radicale.Url("/")), "alice", kRadicalePassword);
    QElapsedTimer clock;
    clock.start();
    SyncSource(http, source, SourceCache(source.Id()), time(nullptr), {year});
    times.push_back(clock.nsecsElapsed() / 1e6);
    *requests = std::max(*requests, int(http.Requests()));
  }
  *longest = *std::max_element(times.begin(), times.end());
  return Median(times);
}

// Radicale's own time for the request a sync with nothing changed makes.
double ServerListing(const Radicale& radicale)
{
  std::vector<double> times;
  for (int round = 0; round < 5; round++) {
    QElapsedTimer clock;
    clock.start();
    radicale.Ask("PROPFIND", "/alice/", kCalendarsBody, {{"Depth", "1"}});
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  return Median(times);
}

CalendarSource Account(const QString& url)
{
  CalendarSource source;
  source.url = url.toStdString();
  source.type = CalendarSource::kCalDav;
  source.user = "alice";
  return source;
}

// The event loop's gaps between ticks of a 2 ms timer, until `done` or
// for `ms` milliseconds.
struct LoopWatch {
  LoopWatch(const std::function<bool()>& done, int ms)
  {
    QTimer tick;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QObject::connect(&tick, &QTimer::timeout, [&]() {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, (now - last) / 1e6);
      gaps.push_back((now - last) / 1e6);
      last = clock.nsecsElapsed();
    });
    tick.start(2);
    WaitFor(done, ms);
    total = clock.elapsed();
  }
  double longest = 0;
  double total = 0;
  std::vector<double> gaps;
};

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setvbuf(stdout, nullptr, _IOLBF, 0);
  TempHome home;
  QApplication qt(argc, argv);
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const int year = local.tm_year + 1900;

  Radicale radicale;
  if (!radicale.Running() || !radicale.MakeCalendar("/alice/work/", "Work")
      || !FillCalendar(radicale, "work", kEvents, year)) {
    fprintf(stderr, "sync_bench: Radicale could not be started and filled\n");
    return 1;
  }

  // Radicale reads the files once and keeps what it learnt: that first
  // reading is the server's, not the sync's.
  QElapsedTimer clock;
  clock.start();
  // A busy machine makes Radicale slow: the bench's own syncs wait long.
  HttpLimits patient;
  patient.answerMs = patient.pauseMs = patient.totalMs = 600000;
  {
    HttpClient warm(patient);
    warm.SetCredentials(QUrl(radicale.Url("/")), "alice", kRadicalePassword);
    DavAnswer answer;
    SyncFailure failure;
    DavExchange(warm, "PROPFIND", QUrl(radicale.Url("/alice/work/")), 1, kEtagsBody, &answer, &failure);
  }
  const double warmMs = clock.elapsed();

  // The first sync, then syncs with nothing changed.
  const CalendarSource source = Account(radicale.Url("/"));
  clock.restart();
  HttpClient first(patient);
  first.SetCredentials(QUrl(radicale.Url("/")), "alice", kRadicalePassword);
  SourceReport report = SyncSource(first, source, SourceCache(source.Id()), now, {year});
  const double firstMs = clock.elapsed();
  if (report.state.status != SyncStatus::kSynced || report.state.entries != kEvents) {
    fprintf(stderr, "sync_bench: the first sync gave %s, %d entries: %s\n", SyncStatusName(report.state.status),
            report.state.entries, report.state.detail.c_str());
    return 1;
  }
  const int firstRequests = first.Requests();
  int requests = 0, smallRequests = 0;
  double longest = 0, smallLongest = 0;
  const double unchanged = UnchangedSyncs(radicale, source, year, &requests, &longest);
  const double server = ServerListing(radicale);

  // A small account beside it.
  Radicale small;
  if (!small.Running() || !small.MakeCalendar("/alice/work/", "Work") || !FillCalendar(small, "work", 100, year))
    return 1;
  const CalendarSource smallSource = Account(small.Url("/"));
  HttpClient smallFirst(patient);
  smallFirst.SetCredentials(QUrl(small.Url("/")), "alice", kRadicalePassword);
  SyncSource(smallFirst, smallSource, SourceCache(smallSource.Id()), now, {year});
  const double smallUnchanged = UnchangedSyncs(small, smallSource, year, &smallRequests, &smallLongest);
  const double smallServer = ServerListing(small);

  // The window: its event loop with no sync, then while it syncs another
  // address of the same account (so nothing is cached) and takes its marks.
  auto* app = new OVA_Application();
  OVA_Window* window = app->Window();
  // Expanded, three months: the grids that a source's marks are drawn in.
  for (int32 layout : {1, 0}) {
    BMessage message('MENU');
    message.AddInt32("m_id", layout);
    window->MessageReceived(&message);
  }
  WaitFor([] { return false; }, 500);
  const LoopWatch idle([&]() { return false; }, 2000);
  const CalendarSource other = Account(QString("http://localhost:%1/").arg(radicale.Port()));
  std::string error;
  if (!window->Sources()->Add(other, kRadicalePassword, &error)) {
    fprintf(stderr, "sync_bench: %s\n", error.c_str());
    return 1;
  }
  const LoopWatch syncing([&]() {
    const CalendarSync::Entry* entry = window->Sources()->Find(other.Id());
    return entry != nullptr && !entry->syncing && entry->state.status != SyncStatus::kNotSynced;
  }, 600000);
  const CalendarSync::Entry* entry = window->Sources()->Find(other.Id());
  const bool synced = entry != nullptr && entry->state.status == SyncStatus::kSynced;
  std::vector<double> gaps = syncing.gaps;
  std::sort(gaps.begin(), gaps.end());
  const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];

  // The part of a sync that runs on the window's thread: the source's
  // marks replaced, the counts and the grids drawn again.
  std::vector<double> replacing;
  for (int round = 0; round < 5; round++) {
    SourceReport cached = LoadSource(other, SourceCache(other.Id()), window->YearsWanted());
    clock.restart();
    window->MarksReplaced(std::move(cached.marks));
    QCoreApplication::processEvents();
    replacing.push_back(clock.nsecsElapsed() / 1e6);
  }
  delete app;

  fprintf(stderr, "\n%d events in one calendar of Radicale on 127.0.0.1 (which first reads them in %.0f ms)\n",
          kEvents, warmMs);
  fprintf(stderr, "first sync (%d requests: discovery, list, sync-collection, multigets; cache, marks of %d): %.0f ms\n",
          firstRequests, year, firstMs);
  fprintf(stderr, "sync with nothing changed, %d events: %d request(s), median %.1f ms, longest %.1f ms;\n"
                  "  Radicale's own answer to that request: median %.1f ms\n",
          kEvents, requests, unchanged, longest, server);
  fprintf(stderr, "sync with nothing changed, 100 events: %d request(s), median %.1f ms, longest %.1f ms "
                  "(target < 50 ms);\n  Radicale's own answer to that request: median %.1f ms\n",
          smallRequests, smallUnchanged, smallLongest, smallServer);
  fprintf(stderr, "window during a first sync of %d events (%s, %.0f ms):\n", kEvents, synced ? "synced" : "NOT synced",
         syncing.total);
  fprintf(stderr, "  longest wait of the event loop (a click waits at most this): %6.1f ms  (target < 50 ms)\n", syncing.longest);
  fprintf(stderr, "  99th percentile of the 2 ms timer's gaps:                   %6.1f ms\n", p99);
  fprintf(stderr, "  the window's own part, the marks replaced and drawn: median %.1f ms, longest %.1f ms\n",
          Median(replacing), *std::max_element(replacing.begin(), replacing.end()));
  fprintf(stderr, "  the same event loop with no sync, longest gap:               %6.1f ms\n", idle.longest);
  return synced ? 0 : 1;
}
