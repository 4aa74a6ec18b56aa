// The application object of AskOrvel's command-line mode. It has no window
// and needs no display: it makes sure Orvella runs, sends it a request
// ('_KXT', docs/ipc.md) with its own address as return address, and waits
// for the answer that names that address as ">target". A send answer
// carries the picked time; a cancel answer ends the wait as cancelled, also
// when a second request took Orvella away from this one.
//
//   Ask_Script script(CommandLine::Parse({"--date"}));
//   time_t picked;
//   int status = script.Ask(&picked);   // kExitAnswered, kExitCancelled, ...
#pragma once

#include <ctime>
#include <memory>
#include <string>

#include "client/CommandLine.h"
#include "platform/messaging/BApplication.h"

class BMessageRunner;

class Ask_Script : public BApplication {
public:
  explicit Ask_Script(const CommandLine& line);
  ~Ask_Script() override;

  // Asks and waits; returns the exit status, with the answered time in
  // *answered when it is kExitAnswered.
  int Ask(time_t* answered);

  void MessageReceived(BMessage* message) override;
  // Only Orvella's answers, language changes and the quit request
  // (AskBoundary.h).
  bool AcceptsRemoteMessage(const BMessage& message) override;

private:
  // Starts Orvella unless it runs and waits for it until the deadline;
  // false (with a line on standard error) when it does not come.
  bool RunOrvella(time_t deadline);
  // Writes on standard error what an Orvella that ended at start wrote
  // into `errorFile`.
  static void TellWhyOrvellaEnded(const std::string& errorFile);
  void Finish(int status);

  CommandLine fLine;
  int fStatus = kExitError;
  time_t fAnswered = 0;
  std::unique_ptr<BMessageRunner> fTimeOut;
  std::unique_ptr<BMessageRunner> fWatch;
};
