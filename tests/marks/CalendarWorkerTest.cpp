// The calendar folder read and its years worked out on the worker's
// thread, handed to the registry on the test's thread.
#include "marks/CalendarWorker.h"
#include "marks/IcsFolder.h"
#include "platform/storage/FindDirectory.h"
#include "tests/marks/MarksFixture.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::string Calendar(const std::string& entries)
{
  return "BEGIN:VCALENDAR\nVERSION:2.0\n" + entries + "END:VCALENDAR\n";
}

std::string Yearly(const char* date, const char* summary, const char* rule = "RRULE:FREQ=YEARLY\n")
{
  return std::string("BEGIN:VEVENT\nDTSTART;VALUE=DATE:") + date + "\nSUMMARY:" + summary + "\n" + rule
         + "END:VEVENT\n";
}

class CalendarWorkerTest : public MarksTest {
protected:
  void SetUp() override
  {
    MarksTest::SetUp();
    fFolder = fHome.Path("calendars");
    ASSERT_EQ(create_directory(fFolder.c_str(), 0755), B_OK);
  }

  // What the window does when the worker says results are ready; waits
  // (at most ten seconds) until `done` holds after a hand-over.
  bool HandOverUntil(CalendarWorker& worker, const std::function<bool()>& done)
  {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_lock<std::mutex> hold(fLock);
    for (;;) {
      if (!fWake.wait_until(hold, giveUp, [this] { return fReady > 0; }))
        return false;
      fReady = 0;
      hold.unlock();
      if (worker.HandOver(fMarks))
        fMarks->CheckHolidays();
      hold.lock();
      if (done())
        return true;
    }
  }

  std::function<void()> Ready()
  {
    return [this] {
      std::lock_guard<std::mutex> hold(fLock);
      fReady++;
      fWorkerThread = std::this_thread::get_id();
      fWake.notify_all();
    };
  }

  std::string Text(int32 month, int32 day, int32 year)
  {
    std::string text;
    fMarks->GetMarkText(month, day, year, &text, false);
    return text;
  }

  std::string fFolder;
  std::mutex fLock;
  std::condition_variable fWake;
  int fReady = 0;
  std::thread::id fWorkerThread;
};

TEST_F(CalendarWorkerTest, FolderAndYearsArriveWhole)
{
  WriteFile("calendars/user.ics", Calendar(Yearly("19700517", "Birthday")));
  WriteFile("calendars/deDE.ics", Calendar(Yearly("19901003", "Einheit")));
  CalendarWorker worker(Ready());
  fMarks->SetYearWorker(&worker);
  EXPECT_EQ(Text(5, 17, 2030), "") << "a lookup before the folder is read finds nothing";

  worker.ReadFolder(fFolder, fMarks->LookedUpYears());
  EXPECT_TRUE(worker.Reading());
  ASSERT_TRUE(HandOverUntil(worker, [&] { return !worker.Reading(); }));
  EXPECT_NE(fWorkerThread, std::this_thread::get_id());
  EXPECT_TRUE(fMarks->YearReady(2030)) << "the years looked up came with the files";
  EXPECT_EQ(Text(5, 17, 2030), "Birthday | ");
  EXPECT_EQ(fMarks->fUsers, 1);

  // Another year is asked of the worker and arrives later.
  EXPECT_EQ(Text(5, 17, 2031), "");
  ASSERT_TRUE(HandOverUntil(worker, [&] { return fMarks->YearReady(2031); }));
  EXPECT_EQ(Text(5, 17, 2031), "Birthday | ");

  // Read again, the folder replaces its files' days: the old ones stay
  // until then, and a file that is gone leaves.
  remove((fFolder + "/deDE.ics").c_str());
  WriteFile("calendars/user.ics", Calendar(Yearly("19700518", "Moved")));
  worker.ReadFolder(fFolder, fMarks->LookedUpYears());
  EXPECT_EQ(Text(5, 17, 2031), "Birthday | ");
  ASSERT_TRUE(HandOverUntil(worker, [&] { return !worker.Reading(); }));
  EXPECT_EQ(Text(5, 17, 2031), "");
  EXPECT_EQ(Text(5, 18, 2031), "Moved | ");
  EXPECT_EQ(fMarks->CountYearSources(), 1);
  fMarks->SetYearWorker(nullptr);
}

} // namespace
