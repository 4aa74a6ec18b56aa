#include "app/TodayWatch.h"

#include "calendar/LocalTime.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessageRunner.h"

#include <algorithm>

namespace {

constexpr time_t kLongestWait = 60;

} // namespace

TodayWatch::TodayWatch(BMessenger target, uint32 what) : fTarget(target), fWhat(what)
{
  // Notes the zone the program starts in, to see it change.
  FollowSystemTimeZone();
  Schedule(clock());
}

TodayWatch::~TodayWatch() = default;

CivilDay TodayWatch::Look()
{
  FollowSystemTimeZone();
  const time_t now = clock();
  Schedule(now);
  return LocalDay(now);
}

time_t TodayWatch::Wait(time_t now)
{
  return std::clamp(NextLocalMidnight(now) - now, time_t(1), kLongestWait);
}

void TodayWatch::Schedule(time_t now)
{
  // Timers count time the machine is awake: after a sleep the next look
  // comes at most a minute late.
  const BMessage look(fWhat);
  fRunner = std::make_unique<BMessageRunner>(fTarget, &look, bigtime_t(Wait(now)) * 1000000, 1);
}
