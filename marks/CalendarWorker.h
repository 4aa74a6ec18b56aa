// The calendar folder's work on a thread of its own, so that the window
// never waits for it: reading and parsing the files, and working out the
// years the month grids show (libical's repetitions may take a quarter of
// a second a year). The worker hands whole results back: it tells the GUI
// thread that some are ready, and HandOver puts them into the registry
// there. The registry and the views are never touched on the worker's
// thread, and the sources it reads are not changed once made.
//
//   CalendarWorker worker([messenger] { messenger.SendMessage('rCal'); });
//   marks->SetYearWorker(&worker);                  // years come from it now
//   worker.ReadFolder(DefaultCalendarFolder(), marks->LookedUpYears());
//   ...
//   case 'rCal':                                    // on the GUI thread
//     if (worker.HandOver(marks)) { marks->CheckHolidays(); ... draw again }
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "marks/YearSource.h"

class STMarkups;

class CalendarWorker : public YearWorker {
public:
  // `ready` runs on the worker's thread whenever results wait for
  // HandOver; it only wakes the GUI thread.
  explicit CalendarWorker(std::function<void()> ready);
  // Stops the work in hand (at its next step) and waits for the thread.
  ~CalendarWorker() override;

  CalendarWorker(const CalendarWorker&) = delete;
  CalendarWorker& operator=(const CalendarWorker&) = delete;

  // Reads the folder anew and works out the years for its files; a read
  // asked for earlier and not yet begun is dropped.
  void ReadFolder(const std::string& folder, std::vector<int32> years);
  // The newest year asked for is worked out first.
  void WorkOut(int32 year, std::vector<std::shared_ptr<const YearSource>> sources) override;

  // Whether a folder read is under way or waits to be handed over.
  bool Reading() const;
  // Puts the finished work into the registry; true when anything was put.
  // GUI thread only.
  bool HandOver(STMarkups* marks);

private:
  struct FolderJob {
    std::string folder;
    std::vector<int32> years;
  };
  struct YearJob {
    int32 year;
    std::vector<std::shared_ptr<const YearSource>> sources;
  };
  struct Done {
    std::optional<FolderJob> folder;      // a folder read: its files in `files`
    std::vector<SourceMarks> files;
    int32 year = 0;                       // else a year
    std::vector<SourceYear> worked;
  };

  void Start();
  void Run();

  std::function<void()> fReady;
  mutable std::mutex fLock;
  std::condition_variable fWake;
  std::optional<FolderJob> fFolderJob;
  std::deque<YearJob> fYearJobs;
  std::vector<Done> fDone;
  int32 fReadsInHand = 0;  // asked for and not yet handed over
  std::atomic<bool> fStop{false};
  std::thread fThread;
};
