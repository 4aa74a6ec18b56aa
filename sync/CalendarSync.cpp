#include "sync/CalendarSync.h"

#include "platform/storage/FindDirectory.h"
#include "sync/SyncWorker.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// The first retry of an offline source; each further one waits twice as
// long, up to the source's interval.
constexpr int32 kFirstRetryMinutes = 1;
// Orvella waits this long after start before it asks for the network's
// state: loading its plugin is no work for the first paint.
constexpr int kNetworkWatchDelayMs = 2000;
// The first syncs load the network module and its libraries, which holds
// the dynamic loader while the window still loads what it needs to show:
// they wait until the window has had its start.
constexpr int kFirstSyncDelayMs = 1000;

int64 NowMs()
{
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool SameSettings(const CalendarSource& one, const CalendarSource& other)
{
  return FormatSources({one}) == FormatSources({other});
}

} // namespace

std::vector<int32> CalendarSyncListener::YearsWanted() const
{
  return {};
}

void CalendarSyncListener::Probed(const CalendarSource&, const std::vector<RemoteCalendar>&, const SyncFailure&) {}

void CalendarSyncListener::PasswordWanted(const CalendarSource&) {}

CalendarSync::CalendarSync(CalendarSyncListener* listener, const std::string& sourcesPath, const HttpLimits& limits)
    : fListener(listener), fSourcesPath(sourcesPath), fLimits(limits)
{
  fWorker = std::make_unique<SyncWorker>(
      [this](std::unique_ptr<SyncReport> report) {
        // Runs on the worker; the report is handled on the window's thread.
        std::shared_ptr<SyncReport> shared(report.release());
        QMetaObject::invokeMethod(&fContext, [this, shared]() { Handle(*shared); }, Qt::QueuedConnection);
      },
      limits);
  fTimer = new QTimer(&fContext);
  fTimer->setSingleShot(true);
  QObject::connect(fTimer, &QTimer::timeout, &fContext, [this]() { SyncDue(); });
  fReread = new QTimer(&fContext);
  fReread->setSingleShot(true);
  fReread->setInterval(100);
  QObject::connect(fReread, &QTimer::timeout, &fContext, [this]() { ReadSources(); });
}

CalendarSync::~CalendarSync()
{
  // The worker ends its exchange at once; reports still queued for the
  // context go with it.
  fWorker.reset();
}

void CalendarSync::Start()
{
  if (fStarted)
    return;
  fStarted = true;
  fWorker->start();
  fStarting = true;
  ReadSources();
  WatchSourcesFile();
  QTimer::singleShot(kFirstSyncDelayMs, &fContext, [this]() {
    fStarting = false;
    SyncAll();
  });
  QTimer::singleShot(kNetworkWatchDelayMs, &fContext, [this]() {
    fFollowNetwork = true;
    FollowNetwork();
  });
}

CalendarSync::Entry* CalendarSync::FindEntry(const std::string& id)
{
  for (Entry& entry : fEntries) {
    if (entry.source.Id() == id)
      return &entry;
  }
  return nullptr;
}

const CalendarSync::Entry* CalendarSync::Find(const std::string& id) const
{
  return const_cast<CalendarSync*>(this)->FindEntry(id);
}

void CalendarSync::ReadSources()
{
  std::vector<std::string> problems;
  const std::vector<CalendarSource> sources = ::ReadSources(fSourcesPath, &problems);
  for (const std::string& problem : problems)
    printf("%s\n", problem.c_str());

  std::vector<Entry> entries;
  std::vector<size_t> fresh;
  for (const CalendarSource& source : sources) {
    const Entry* known = FindEntry(source.Id());
    if (known != nullptr && SameSettings(known->source, source)) {
      entries.push_back(*known);
      continue;
    }
    fresh.push_back(entries.size());
    entries.push_back(Entry{source, known != nullptr ? known->state : SourceState(), {}, false, 0, 0});
  }
  for (const Entry& entry : fEntries) {
    const bool stays = std::any_of(entries.begin(), entries.end(),
                                   [&](const Entry& next) { return next.source.Id() == entry.source.Id(); });
    if (!stays)
      fListener->MarksReplaced({MarksId(entry.source), nullptr, {}});
  }
  fEntries = entries;
  // Every cache first, so that all cached marks show before the network is asked.
  const std::vector<int32> years = fListener->YearsWanted();
  for (size_t index : fresh)
    fWorker->Load(fEntries[index].source, years);
  if (!fStarting) {
    for (size_t index : fresh)
      Queue(fEntries[index]);
  }
  if (fWatcher != nullptr && !fWatcher->files().contains(QString::fromStdString(fSourcesPath)))
    fWatcher->addPath(QString::fromStdString(fSourcesPath));
  FollowNetwork();
  fListener->StatesChanged();
}

void CalendarSync::WatchSourcesFile()
{
  const std::string folder = fSourcesPath.substr(0, fSourcesPath.rfind('/'));
  // Watched even before it exists: --add-calendar makes the file in it.
  create_directory(folder.c_str(), 0700);
  fWatcher = new QFileSystemWatcher(&fContext);
  fWatcher->addPath(QString::fromStdString(folder));
  fWatcher->addPath(QString::fromStdString(fSourcesPath));
  QObject::connect(fWatcher, &QFileSystemWatcher::directoryChanged, &fContext, [this]() { fReread->start(); });
  QObject::connect(fWatcher, &QFileSystemWatcher::fileChanged, &fContext, [this]() { fReread->start(); });
}

void CalendarSync::FollowNetwork()
{
  // Only sources need the network's news: without any, nothing is loaded.
  if (!fFollowNetwork || fEntries.empty() || fNetwork != nullptr)
    return;
  std::string why;
  fNetwork = LoadSyncNetwork(fLimits, &why);
  if (fNetwork == nullptr) {
    printf("Calendar sources: %s\n", why.c_str());
    return;
  }
  fNetwork->FollowNetwork(&fContext, [this]() {
    for (Entry& entry : fEntries) {
      if (entry.state.status == SyncStatus::kOffline && !entry.syncing)
        Queue(entry);
    }
  });
}

void CalendarSync::Queue(Entry& entry)
{
  entry.syncing = true;
  fWorker->Sync(entry.source, fListener->YearsWanted());
}

void CalendarSync::SyncAll()
{
  for (Entry& entry : fEntries) {
    if (!entry.syncing)
      Queue(entry);
  }
  fListener->StatesChanged();
}

void CalendarSync::SyncNow(const std::string& id)
{
  Entry* entry = FindEntry(id);
  if (entry != nullptr && !entry->syncing) {
    Queue(*entry);
    fListener->StatesChanged();
  }
}

void CalendarSync::Schedule()
{
  int64 next = 0;
  for (const Entry& entry : fEntries) {
    if (!entry.syncing && entry.nextSyncMs > 0 && (next == 0 || entry.nextSyncMs < next))
      next = entry.nextSyncMs;
  }
  if (next == 0)
    fTimer->stop();
  else
    fTimer->start(int(std::clamp<int64>(next - NowMs(), 0, std::numeric_limits<int>::max())));
}

void CalendarSync::SyncDue()
{
  const int64 now = NowMs();
  bool queued = false;
  for (Entry& entry : fEntries) {
    if (!entry.syncing && entry.nextSyncMs > 0 && entry.nextSyncMs <= now) {
      Queue(entry);
      queued = true;
    }
  }
  Schedule();
  if (queued)
    fListener->StatesChanged();
}

void CalendarSync::Handle(SyncReport& report)
{
  switch (report.kind) {
  case SyncReport::kLoaded:
  case SyncReport::kSynced: {
    Entry* entry = FindEntry(report.source.id);
    if (entry == nullptr)
      return;  // removed meanwhile
    entry->state = report.source.state;
    entry->calendars = report.source.calendars;
    if (report.source.marksChanged)
      fListener->MarksReplaced(std::move(report.source.marks));
    if (report.kind == SyncReport::kSynced) {
      entry->syncing = false;
      int32 wait = entry->source.refreshMinutes;
      if (entry->state.status == SyncStatus::kOffline) {
        entry->retryMinutes = entry->retryMinutes == 0 ? kFirstRetryMinutes : entry->retryMinutes * 2;
        wait = std::min(wait, entry->retryMinutes);
      } else {
        entry->retryMinutes = 0;
      }
      entry->nextSyncMs = NowMs() + int64(wait) * 60000;
      Schedule();
      if (report.noKeyring && entry->state.status == SyncStatus::kPasswordNeeded) {
        fKeyringMissing = true;
        const std::string id = entry->source.Id();
        if (std::find(fAsked.begin(), fAsked.end(), id) == fAsked.end()) {
          fAsked.push_back(id);
          fListener->PasswordWanted(entry->source);
        }
      }
    }
    fListener->StatesChanged();
    break;
  }
  case SyncReport::kProbed:
    fListener->Probed(report.probed, report.calendars, report.failure);
    break;
  case SyncReport::kPasswordStored:
    if (report.noKeyring) {
      fKeyringMissing = true;
      printf("No keyring (%s): the password of %s is kept until Orvella quits\n", report.detail.c_str(),
             report.source.id.c_str());
    }
    fListener->StatesChanged();
    break;
  case SyncReport::kDropped:
    break;
  }
}

void CalendarSync::Probe(const CalendarSource& source, const std::string& password)
{
  fWorker->Probe(source, password);
}

bool CalendarSync::Add(const CalendarSource& source, const std::string& password, std::string* error)
{
  std::vector<std::string> problems;
  std::vector<CalendarSource> sources = ::ReadSources(fSourcesPath, &problems);
  for (const CalendarSource& known : sources) {
    if (known.Id() == source.Id()) {
      *error = source.url + " is a calendar source already";
      return false;
    }
  }
  sources.push_back(source);
  if (!WriteSources(fSourcesPath, sources, error))
    return false;
  if (!source.user.empty() && !password.empty())
    fWorker->StorePassword(source, password);
  ReadSources();
  return true;
}

bool CalendarSync::Remove(const std::string& id, std::string* error)
{
  std::vector<std::string> problems;
  std::vector<CalendarSource> sources = ::ReadSources(fSourcesPath, &problems);
  auto gone = std::find_if(sources.begin(), sources.end(), [&](const CalendarSource& source) { return source.Id() == id; });
  if (gone == sources.end()) {
    *error = "no such calendar source";
    return false;
  }
  const CalendarSource removed = *gone;
  sources.erase(gone);
  if (!WriteSources(fSourcesPath, sources, error))
    return false;
  fWorker->Drop(removed);
  ReadSources();
  return true;
}

void CalendarSync::GivePassword(const std::string& id, const std::string& password)
{
  Entry* entry = FindEntry(id);
  if (entry == nullptr)
    return;
  fWorker->StorePassword(entry->source, password);
  if (!entry->syncing)
    Queue(*entry);
  fListener->StatesChanged();
}
