// When slow work gives up: once its time budget is spent, or at once when
// the one waiting for it stops (a worker whose program quits). The work
// asks between its steps.
//
//   std::atomic<bool> stopping{false};
//   const Deadline giveUp(std::chrono::milliseconds(250), &stopping);
//   while (more() && !giveUp.Passed())
//     step();
#pragma once

#include <atomic>
#include <chrono>

class Deadline {
public:
  // Never passes.
  Deadline() = default;
  explicit Deadline(std::chrono::steady_clock::duration budget, const std::atomic<bool>* stop = nullptr)
      : fAt(std::chrono::steady_clock::now() + budget), fStop(stop)
  {
  }

  bool Passed() const
  {
    if (fStop != nullptr && fStop->load(std::memory_order_relaxed))
      return true;
    return fAt != std::chrono::steady_clock::time_point::max() && std::chrono::steady_clock::now() > fAt;
  }

private:
  std::chrono::steady_clock::time_point fAt = std::chrono::steady_clock::time_point::max();
  const std::atomic<bool>* fStop = nullptr;
};
