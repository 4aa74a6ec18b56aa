// The user's calendar sources kept in sync for the window: the list of
// calendars.conf, each source's state, and the schedule. At start every
// source's cached marks are read first, before any network access, then
// each source is synced; again at its interval (30 minutes unless it says
// otherwise), on SyncAll (the Reload command), sooner while it is offline,
// and when the network comes back. All of that runs on the sync worker;
// the listener hears of it on the window's thread, a source's marks always
// whole.
//
// A change of calendars.conf by another program (`Orvella --add-calendar`)
// is picked up at once.
//
//   CalendarSync sync(&listener);
//   sync.Start();
//   ...
//   sync.SyncAll();
//   for (const CalendarSync::Entry& entry : sync.Entries()) ... entry.state
#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

#include "marks/YearSource.h"
#include "sync/CalendarSource.h"
#include "sync/SyncNetwork.h"
#include "sync/SourceCache.h"
#include "sync/SourcesFile.h"
#include "sync/SyncStep.h"

class QFileSystemWatcher;
class QTimer;
class SyncWorker;
struct SyncReport;

class CalendarSyncListener {
public:
  virtual ~CalendarSyncListener() = default;
  // All marks of a source, to replace those it had (a null source: it has
  // none any more), worked out for the years YearsWanted gave.
  virtual void MarksReplaced(SourceMarks marks) = 0;
  // The years whose marks a source brings worked out when it changes: those
  // shown. Asked when a sync is queued.
  virtual std::vector<int32> YearsWanted() const;
  // The list of sources or a source's state changed.
  virtual void StatesChanged() = 0;
  // A new address was looked at: its calendars, or why it is none.
  virtual void Probed(const CalendarSource& source, const std::vector<RemoteCalendar>& calendars,
                      const SyncFailure& failure);
  // A source needs a password that the keyring does not hold, and there is
  // no keyring: ask the user, once a session.
  virtual void PasswordWanted(const CalendarSource& source);
};

class CalendarSync {
public:
  struct Entry {
    CalendarSource source;
    SourceState state;
    std::vector<RemoteCalendar> calendars;
    bool syncing = false;
    int64 nextSyncMs = 0;    // on the monotonic clock
    int32 retryMinutes = 0;  // while offline: the wait before the next try
  };

  explicit CalendarSync(CalendarSyncListener* listener, const std::string& sourcesPath = SourcesFilePath(),
                        const HttpLimits& limits = HttpLimits());
  ~CalendarSync();
  CalendarSync(const CalendarSync&) = delete;
  CalendarSync& operator=(const CalendarSync&) = delete;

  void Start();
  void SyncAll();
  void SyncNow(const std::string& id);
  // Reads calendars.conf again: new sources are read and synced, removed
  // ones lose their marks.
  void ReadSources();

  const std::vector<Entry>& Entries() const { return fEntries; }
  const Entry* Find(const std::string& id) const;
  // True once a password could not be kept in a keyring this session.
  bool KeyringMissing() const { return fKeyringMissing; }

  // The window's commands. Probe answers through the listener.
  void Probe(const CalendarSource& source, const std::string& password);
  // Adds the source to calendars.conf, stores its password (in the keyring,
  // else for this session) and syncs it; false with the reason.
  bool Add(const CalendarSource& source, const std::string& password, std::string* error);
  // Removes it from calendars.conf with its cache and its marks.
  bool Remove(const std::string& id, std::string* error);
  // A password the user typed for a source; it is stored and the source synced.
  void GivePassword(const std::string& id, const std::string& password);

private:
  void Handle(SyncReport& report);
  void Queue(Entry& entry);
  void Schedule();
  void SyncDue();
  void WatchSourcesFile();
  void FollowNetwork();
  Entry* FindEntry(const std::string& id);

  CalendarSyncListener* fListener;
  std::string fSourcesPath;
  std::vector<Entry> fEntries;
  std::vector<std::string> fAsked;  // sources whose password was asked for this session
  bool fKeyringMissing = false;
  bool fStarted = false;
  bool fStarting = false;           // the caches are read, the first syncs wait
  bool fFollowNetwork = false;      // a while after the start: the network's news are wanted
  QObject fContext;                 // the window's thread: reports and timers run there
  QTimer* fTimer = nullptr;         // the next due sync
  QTimer* fReread = nullptr;        // calendars.conf changed a moment ago
  QFileSystemWatcher* fWatcher = nullptr;
  std::unique_ptr<SyncWorker> fWorker;
  HttpLimits fLimits;
  std::unique_ptr<SyncNetwork> fNetwork;  // for the network's news, on this thread
};
