#include "sync/SyncWorker.h"

#include "sync/Keyring.h"

#include <sys/resource.h>
#include <unistd.h>
#include <ctime>

SyncWorker::SyncWorker(Deliver deliver, const HttpLimits& limits) : fDeliver(std::move(deliver)), fLimits(limits)
{
  setObjectName("calendar sync");
}

SyncWorker::~SyncWorker()
{
  Stop();
  wait();
  for (auto& [id, password] : fSession)
    std::fill(password.begin(), password.end(), '\0');
}

void SyncWorker::Queue(Job job)
{
  std::lock_guard<std::mutex> lock(fLock);
  if (fStopping)
    return;
  if (job.kind == SyncReport::kSynced) {
    for (const Job& waiting : fJobs) {
      if (waiting.kind == SyncReport::kSynced && waiting.source.Id() == job.source.Id())
        return;
    }
  }
  fJobs.push_back(std::move(job));
  fWake.notify_one();
}

void SyncWorker::Load(const CalendarSource& source, const std::vector<int32>& years)
{
  Queue({SyncReport::kLoaded, source, {}, years});
}

void SyncWorker::Sync(const CalendarSource& source, const std::vector<int32>& years)
{
  Queue({SyncReport::kSynced, source, {}, years});
}

void SyncWorker::Probe(const CalendarSource& source, const std::string& password)
{
  Queue({SyncReport::kProbed, source, password, {}});
}

void SyncWorker::StorePassword(const CalendarSource& source, const std::string& password)
{
  Queue({SyncReport::kPasswordStored, source, password, {}});
}

void SyncWorker::RememberPassword(const std::string& id, const std::string& password)
{
  std::lock_guard<std::mutex> lock(fLock);
  fSession[id] = password;
}

void SyncWorker::Drop(const CalendarSource& source)
{
  {
    std::lock_guard<std::mutex> lock(fLock);
    fSession.erase(source.Id());
  }
  Queue({SyncReport::kDropped, source, {}, {}});
}

void SyncWorker::Stop()
{
  std::lock_guard<std::mutex> lock(fLock);
  fStopping = true;
  fJobs.clear();
  if (fNetwork != nullptr)
    fNetwork->Cancel();
  fKeyringStop.Now();
  fWake.notify_all();
}

SyncNetwork* SyncWorker::Network(std::string* why)
{
  if (fNetwork == nullptr) {
    std::unique_ptr<SyncNetwork> loaded = LoadSyncNetwork(fLimits, why);
    std::lock_guard<std::mutex> lock(fLock);
    fNetwork = std::move(loaded);
    if (fNetwork != nullptr && fStopping)
      fNetwork->Cancel();
  }
  return fNetwork.get();
}

void SyncWorker::run()
{
  // The window comes first when both want the processor: reading a large
  // cache or loading the network must not slow its start or its clicks.
  setpriority(PRIO_PROCESS, id_t(gettid()), 10);
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(fLock);
      fWake.wait(lock, [this]() { return fStopping || !fJobs.empty(); });
      if (fStopping)
        return;
      job = std::move(fJobs.front());
      fJobs.pop_front();
    }
    RunJob(job);
    std::fill(job.password.begin(), job.password.end(), '\0');
  }
}

bool SyncWorker::PasswordOf(const CalendarSource& source, std::string* password, SourceState* missing,
                            bool* noKeyring)
{
  {
    std::lock_guard<std::mutex> lock(fLock);
    auto known = fSession.find(source.Id());
    if (known != fSession.end()) {
      *password = known->second;
      return true;
    }
  }
  std::string why;
  switch (Keyring::Lookup(source.url, source.user, password, &why, &fKeyringStop)) {
  case Keyring::kDone:
    return true;
  case Keyring::kNotFound:
    missing->detail = "no password for " + source.user + " in the keyring";
    break;
  case Keyring::kUnavailable:
    missing->detail = why;
    *noKeyring = true;
    break;
  }
  missing->status = SyncStatus::kPasswordNeeded;
  return false;
}

void SyncWorker::RunJob(const Job& job)
{
  auto report = std::make_unique<SyncReport>();
  report->kind = job.kind;
  const SourceCache cache(job.source.Id());
  switch (job.kind) {
  case SyncReport::kLoaded:
    report->source = LoadSource(job.source, cache, job.years);
    break;
  case SyncReport::kSynced: {
    std::string password;
    if (!job.source.user.empty()) {
      SourceState missing;
      if (!PasswordOf(job.source, &password, &missing, &report->noKeyring)) {
        // The cached data stays; the state says what is missing.
        report->source.id = job.source.Id();
        CacheState cached = cache.ReadState();
        missing.lastSync = cached.state.lastSync;
        missing.entries = cached.state.entries;
        report->source.state = missing;
        report->source.calendars = cached.calendars;
        break;
      }
    }
    std::string why;
    SyncNetwork* network = Network(&why);
    if (network == nullptr) {
      report->source.id = job.source.Id();
      report->source.state = cache.ReadState().state;
      report->source.state.status = SyncStatus::kNotSynced;
      report->source.state.detail = why;
      break;
    }
    report->source = network->Sync(job.source, cache, password, time(nullptr), job.years);
    std::fill(password.begin(), password.end(), '\0');
    if (report->source.id.empty())
      return;  // cancelled
    break;
  }
  case SyncReport::kProbed: {
    report->probed = job.source;
    std::string why;
    SyncNetwork* network = Network(&why);
    if (network == nullptr)
      report->failure.Set(SyncStatus::kNotSynced, why);
    else if (!network->Probe(&report->probed, job.password, &report->calendars, &report->failure)
             && report->failure.status == SyncStatus::kNotSynced)
      return;  // cancelled
    break;
  }
  case SyncReport::kPasswordStored: {
    report->source.id = job.source.Id();
    const Keyring::Result stored =
        Keyring::Store(job.source.url, job.source.user, job.password, &report->detail, &fKeyringStop);
    report->inKeyring = stored == Keyring::kDone;
    report->noKeyring = !report->inKeyring;
    // In memory as well: the next sync needs no keyring lookup.
    RememberPassword(job.source.Id(), job.password);
    break;
  }
  case SyncReport::kDropped: {
    cache.Remove();
    std::string why;
    if (!job.source.user.empty())
      Keyring::Clear(job.source.url, job.source.user, &why, &fKeyringStop);
    return;
  }
  }
  fDeliver(std::move(report));
}
