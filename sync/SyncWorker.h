// The thread that talks to calendar servers, so that the window never
// waits for the network, a keyring or a large calendar. It takes jobs in
// order (read a source's cache, sync a source, look at a new address,
// store a password) and hands each result whole to a function that runs
// on the worker thread; CalendarSync passes them on to the window's
// thread. A job waits in a local event loop of its own for the network,
// which the first job that needs it loads (sync/SyncNetwork.h).
//
//   SyncWorker worker([](std::unique_ptr<SyncReport> report) { ... });
//   worker.start();
//   worker.Sync(source);
//   worker.Stop();      // ends a running exchange at once; the destructor waits
#pragma once

#include <QThread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sync/CalendarSource.h"
#include "sync/Keyring.h"
#include "sync/SourceSync.h"
#include "sync/SyncNetwork.h"

struct SyncReport {
  enum Kind {
    kLoaded,          // source: the cache read at start
    kSynced,          // source: a sync ended, well or not
    kProbed,          // probed / calendars / failure: a new address looked at
    kPasswordStored,  // inKeyring / detail: where a password went
    kDropped,         // (no report) a removed source's cache and password are gone
  };
  Kind kind = kLoaded;
  SourceReport source;
  CalendarSource probed;
  std::vector<RemoteCalendar> calendars;
  SyncFailure failure;
  bool inKeyring = false;
  // kSynced: the sync wanted a password and there is no keyring to ask;
  // kPasswordStored: the password is kept in memory only.
  bool noKeyring = false;
  std::string detail;
};

class SyncWorker : public QThread {
public:
  using Deliver = std::function<void(std::unique_ptr<SyncReport>)>;

  explicit SyncWorker(Deliver deliver, const HttpLimits& limits = HttpLimits());
  ~SyncWorker() override;

  // Both work out the marks of `years` for a source whose marks change.
  void Load(const CalendarSource& source, const std::vector<int32>& years);
  // A sync already waiting for the same source is not queued again.
  void Sync(const CalendarSource& source, const std::vector<int32>& years);
  void Probe(const CalendarSource& source, const std::string& password);
  // Into the keyring; without one, kept in this session's memory.
  void StorePassword(const CalendarSource& source, const std::string& password);
  // For this session only, as the user typed it when there is no keyring.
  void RememberPassword(const std::string& id, const std::string& password);
  // A removed source: its cache goes, and its password out of the keyring
  // and this session's memory.
  void Drop(const CalendarSource& source);
  // Drops queued jobs and ends the running one; no report follows.
  void Stop();

protected:
  void run() override;

private:
  struct Job {
    SyncReport::Kind kind;
    CalendarSource source;
    std::string password;
    std::vector<int32> years;
  };

  void Queue(Job job);
  void RunJob(const Job& job);
  // The network, loaded on first use; null with the reason in *why when
  // it cannot be.
  SyncNetwork* Network(std::string* why);
  // The password of a source: this session's, else the keyring's. False
  // with the state to report when there is none.
  bool PasswordOf(const CalendarSource& source, std::string* password, SourceState* missing, bool* noKeyring);

  Deliver fDeliver;
  HttpLimits fLimits;
  std::mutex fLock;
  std::condition_variable fWake;
  std::deque<Job> fJobs;
  bool fStopping = false;
  std::unique_ptr<SyncNetwork> fNetwork;         // set on the worker thread, under fLock
  Keyring::Stop fKeyringStop;                    // ends a keyring call at Stop
  std::map<std::string, std::string> fSession;  // passwords by source id, under fLock
};
