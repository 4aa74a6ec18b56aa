// Keeps "today" with the wall clock while Orvella runs for days: it posts
// a message to the window at the next local midnight, and at the latest a
// minute after its last look, so that a day begun while the machine slept,
// a clock set by hand and a new system time zone are noticed within a
// minute. It wakes no more often than that.
//
//   TodayWatch watch(BMessenger(window), 'TODY');
//   case 'TODY': {                      // in the window
//     const CivilDay today = watch.Look();
//     if (today.Code() != shownCode) ...   // move today's mark
//   }
#pragma once

#include "calendar/CivilDay.h"
#include "platform/messaging/BMessenger.h"

#include <ctime>
#include <functional>
#include <memory>

class BMessageRunner;

class TodayWatch {
public:
  TodayWatch(BMessenger target, uint32 what);
  ~TodayWatch();

  // The local day now, the system's time zone read again if it changed;
  // posts the next message.
  CivilDay Look();

  // Seconds from `now` to the next look: to the next local midnight, at
  // most a minute, at least one second.
  static time_t Wait(time_t now);

  // The clock read; tests set one of their own.
  std::function<time_t()> clock = [] { return time(nullptr); };

private:
  void Schedule(time_t now);

  BMessenger fTarget;
  uint32 fWhat;
  std::unique_ptr<BMessageRunner> fRunner;
};
