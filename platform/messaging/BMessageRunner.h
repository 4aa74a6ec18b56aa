// Sends a message to a target again and again at an interval, or a given
// number of times, from the event loop; destroying the runner stops it.
//
//   BMessageRunner tick(BMessenger(this), &BMessage('TICK'), 500000);      // every half second
//   BMessageRunner once(BMessenger(this), &BMessage('TOUT'), 5000000, 1);  // once, after 5 s
#pragma once

#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"

#include <memory>

class QTimer;

class BMessageRunner {
public:
  // interval in microseconds (at least one millisecond is waited); count -1
  // sends for ever.
  BMessageRunner(BMessenger target, const BMessage* message, bigtime_t interval, int32 count = -1);
  ~BMessageRunner();

  BMessageRunner(const BMessageRunner&) = delete;
  BMessageRunner& operator=(const BMessageRunner&) = delete;

  // B_OK; B_BAD_VALUE for a null message, an invalid target, an interval
  // below one or a count of 0; B_NO_INIT without an event loop.
  status_t InitCheck() const { return fStatus; }

private:
  void Send();

  BMessenger fTarget;
  BMessage fMessage;
  int32 fCount;
  status_t fStatus = B_OK;
  std::unique_ptr<QTimer> fTimer;
};
