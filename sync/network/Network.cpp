// The module's SyncNetwork: each sync and probe on an HttpClient of its
// own, with the job's credentials, and the network's reachability from
// QNetworkInformation.
#include "sync/SyncNetwork.h"
#include "sync/network/HttpClient.h"
#include "sync/network/NetworkSync.h"

#include <QNetworkInformation>

#include <mutex>

namespace {

class Network : public SyncNetwork {
public:
  explicit Network(const HttpLimits& limits) : fLimits(limits) {}

  SourceReport Sync(const CalendarSource& source, const SourceCache& cache, const std::string& password, int64 now,
                    const std::vector<int32>& years) override
  {
    HttpClient http(fLimits);
    if (!Begin(&http))
      return SourceReport();
    http.SetCredentials(QUrl(QString::fromStdString(source.FetchUrl())), source.user, password);
    SourceReport report = SyncSource(http, source, cache, now, years);
    End();
    return http.Cancelled() ? SourceReport() : report;
  }

  bool Probe(CalendarSource* source, const std::string& password, std::vector<RemoteCalendar>* calendars,
             SyncFailure* failure) override
  {
    HttpClient http(fLimits);
    if (!Begin(&http)) {
      failure->Set(SyncStatus::kNotSynced, "cancelled");
      return false;
    }
    http.SetCredentials(QUrl(QString::fromStdString(source->FetchUrl())), source->user, password);
    const bool found = ProbeSource(http, source, calendars, failure);
    End();
    return found;
  }

  void Cancel() override
  {
    std::lock_guard<std::mutex> lock(fLock);
    fCancelled = true;
    if (fRunning != nullptr)
      fRunning->Cancel();
  }

  void FollowNetwork(QObject* context, std::function<void()> online) override
  {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
      return;
    QObject::connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, context,
                     [online](QNetworkInformation::Reachability reachability) {
                       if (reachability == QNetworkInformation::Reachability::Online)
                         online();
                     });
  }

private:
  // The exchange that Cancel ends; false once cancelled.
  bool Begin(HttpClient* http)
  {
    std::lock_guard<std::mutex> lock(fLock);
    fRunning = fCancelled ? nullptr : http;
    return !fCancelled;
  }
  void End()
  {
    std::lock_guard<std::mutex> lock(fLock);
    fRunning = nullptr;
  }

  HttpLimits fLimits;
  std::mutex fLock;
  HttpClient* fRunning = nullptr;
  bool fCancelled = false;
};

} // namespace

// The entry the program looks up when it loads the module.
extern "C" __attribute__((visibility("default"))) SyncNetwork* OrvellaSyncNetwork(const HttpLimits* limits)
{
  return new Network(*limits);
}
