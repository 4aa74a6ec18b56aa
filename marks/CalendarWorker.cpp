#include "marks/CalendarWorker.h"

#include <sys/resource.h>
#include <unistd.h>

#include "marks/IcsFolder.h"
#include "marks/STMarkups.h"
#include "marks/YearWork.h"

CalendarWorker::CalendarWorker(std::function<void()> ready) : fReady(std::move(ready)) {}

CalendarWorker::~CalendarWorker()
{
  {
    std::lock_guard<std::mutex> hold(fLock);
    fStop = true;
  }
  fWake.notify_all();
  if (fThread.joinable())
    fThread.join();
}

void CalendarWorker::Start()
{
  // The thread is made with the first job: a program that never reads a
  // calendar folder has none.
  if (!fThread.joinable())
    fThread = std::thread([this] { Run(); });
}

void CalendarWorker::ReadFolder(const std::string& folder, std::vector<int32> years)
{
  {
    std::lock_guard<std::mutex> hold(fLock);
    if (!fFolderJob)
      fReadsInHand++;
    fFolderJob = FolderJob{folder, std::move(years)};
    Start();
  }
  fWake.notify_one();
}

void CalendarWorker::WorkOut(int32 year, std::vector<std::shared_ptr<const YearSource>> sources)
{
  {
    std::lock_guard<std::mutex> hold(fLock);
    fYearJobs.push_back({year, std::move(sources)});
    Start();
  }
  fWake.notify_one();
}

bool CalendarWorker::Reading() const
{
  std::lock_guard<std::mutex> hold(fLock);
  return fReadsInHand > 0;
}

void CalendarWorker::Run()
{
  // The window comes first when both want the processor.
  setpriority(PRIO_PROCESS, id_t(gettid()), 10);
  std::unique_lock<std::mutex> hold(fLock);
  for (;;) {
    fWake.wait(hold, [this] { return fStop || fFolderJob || !fYearJobs.empty(); });
    if (fStop)
      return;
    Done done;
    std::optional<YearJob> yearJob;
    // A folder read goes first: the years asked of the files it replaces
    // would be worked out in vain.
    if (fFolderJob) {
      done.folder = std::move(fFolderJob);
      fFolderJob.reset();
    } else {
      yearJob = std::move(fYearJobs.back());
      fYearJobs.pop_back();
    }
    hold.unlock();
    if (done.folder) {
      done.files = ReadCalendarFolder(done.folder->folder, done.folder->years, &fStop);
    } else {
      done.year = yearJob->year;
      done.worked = WorkOutYear(yearJob->year, yearJob->sources, &fStop);
    }
    hold.lock();
    if (fStop)
      return;
    fDone.push_back(std::move(done));
    hold.unlock();
    fReady();
    hold.lock();
  }
}

bool CalendarWorker::HandOver(STMarkups* marks)
{
  std::vector<Done> done;
  {
    std::lock_guard<std::mutex> hold(fLock);
    done.swap(fDone);
  }
  for (Done& work : done) {
    if (work.folder) {
      TakeCalendarFolder(marks, work.folder->folder, std::move(work.files));
      std::lock_guard<std::mutex> hold(fLock);
      fReadsInHand--;
    } else {
      marks->TakeYearMarks(work.year, std::move(work.worked));
    }
  }
  return !done.empty();
}
