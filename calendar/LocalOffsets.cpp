#include "calendar/LocalOffsets.h"

#include <algorithm>

namespace {

constexpr time_t kDaySeconds = 86400;

bool OffsetAt(time_t instant, long* offset)
{
  struct tm local;
  if (localtime_r(&instant, &local) == nullptr)
    return false;
  *offset = local.tm_gmtoff;
  return true;
}

} // namespace

LocalOffsets::LocalOffsets(int64 firstDay, int64 lastDay)
    : fFirst(time_t(firstDay) * kDaySeconds), fLast(time_t(lastDay + 1) * kDaySeconds - 1)
{
  long previous;
  if (fLast < fFirst || !OffsetAt(fFirst, &previous))
    return;
  fChanges.push_back({fFirst, previous});
  for (time_t known = fFirst; known < fLast;) {
    const time_t probe = std::min(known + kDaySeconds, fLast);
    long offset;
    if (!OffsetAt(probe, &offset)) {
      fChanges.clear();
      return;
    }
    if (offset != previous) {
      // The offset changes after `known` and by `probe`: halve the interval
      // down to the change's first second.
      time_t low = known, high = probe;
      while (high - low > 1) {
        const time_t middle = low + (high - low) / 2;
        long there;
        if (!OffsetAt(middle, &there)) {
          fChanges.clear();
          return;
        }
        (there == previous ? low : high) = middle;
      }
      long changed;
      if (!OffsetAt(high, &changed)) {
        fChanges.clear();
        return;
      }
      fChanges.push_back({high, changed});
      previous = changed;
      // A second change on the same day is looked for from here.
      known = high;
      continue;
    }
    known = probe;
  }
}

bool LocalOffsets::LocalTime(time_t instant, CivilDay* day, int32* minutes) const
{
  if (fChanges.empty() || instant < fFirst || instant > fLast)
    return false;
  const auto after = std::upper_bound(fChanges.begin(), fChanges.end(), instant,
                                      [](time_t time, const Change& change) { return time < change.from; });
  const time_t local = instant + std::prev(after)->offset;
  const time_t days = local >= 0 ? local / kDaySeconds : -((-local + kDaySeconds - 1) / kDaySeconds);
  *day = CivilDayFromNumber(int64(days));
  *minutes = int32((local - days * kDaySeconds) / 60);
  return true;
}
