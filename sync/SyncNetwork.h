// What the sync worker needs of the network: a source synced, a new
// address looked at, and news of the network coming back. The code behind
// it talks Qt Network and lives in a module of its own
// (sync/network/, liborvella-sync-network.so beside the program), loaded
// by the first sync: loading Qt Network costs every start some
// milliseconds, which a start without calendar sources need not pay, and
// one with them pays only when the window shows.
//
//   std::string why;
//   std::unique_ptr<SyncNetwork> network = LoadSyncNetwork(HttpLimits(), &why);
//   if (!network) ... why
//   SourceReport report = network->Sync(source, SourceCache(source.Id()), password, time(nullptr), years);
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sync/SourceSync.h"

struct HttpLimits {
  long long maxBytes = 50LL * 1000 * 1000;
  int maxRedirects = 5;
  int answerMs = 60000;   // from the request until the answer's headers
  int pauseMs = 60000;    // longest pause while the body arrives
  int totalMs = 300000;   // the whole exchange, redirects included
};

class SyncNetwork {
public:
  virtual ~SyncNetwork() = default;

  // Syncs the source and writes its cache (sync/network/NetworkSync.h).
  virtual SourceReport Sync(const CalendarSource& source, const SourceCache& cache, const std::string& password,
                            int64 now, const std::vector<int32>& years) = 0;
  // Looks at a new source's address: a feed or a CalDAV server, with its
  // calendars.
  virtual bool Probe(CalendarSource* source, const std::string& password, std::vector<RemoteCalendar>* calendars,
                     SyncFailure* failure) = 0;
  // From any thread: ends the running exchange; this call and every later
  // one fail at once (Sync's report then has an empty id).
  virtual void Cancel() = 0;
  // Calls `online` on the thread of `context` whenever the network comes
  // back, as far as the system tells.
  virtual void FollowNetwork(QObject* context, std::function<void()> online) = 0;
};

// The module's network, null with the reason when the module cannot be
// loaded.
std::unique_ptr<SyncNetwork> LoadSyncNetwork(const HttpLimits& limits, std::string* why);

// The name of the module's function that makes a SyncNetwork.
#define ORVELLA_SYNC_NETWORK_ENTRY "OrvellaSyncNetwork"
using SyncNetworkEntry = SyncNetwork* (*)(const HttpLimits* limits);
