#include "client/Ask_Script.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "client/ActivationField.h"
#include "client/Ask_Application.h"
#include "client/AskBoundary.h"
#include "client/ProgramFile.h"
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessageRunner.h"
#include "platform/messaging/BRoster.h"
#include "platform/messaging/Launch.h"
#include "platform/storage/FindDirectory.h"

namespace {

constexpr const char* kOrvellaProgramName = "Orvella";
// Longest wait for a started Orvella to take its bus name.
constexpr time_t kStartSeconds = 20;
constexpr uint32 kTimeOut = 'AsTO';
constexpr uint32 kWatch = 'AsWa';
constexpr bigtime_t kWatchInterval = 500000;

} // namespace

Ask_Script::Ask_Script(const CommandLine& line)
    : BApplication(kAskOrvelSignature, B_MULTIPLE_LAUNCH | B_BACKGROUND_APP), fLine(line)
{
}

Ask_Script::~Ask_Script() = default;

bool Ask_Script::AcceptsRemoteMessage(const BMessage& message)
{
  return AskOrvelAccepts(message);
}

bool Ask_Script::RunOrvella(time_t deadline)
{
  if (be_roster->IsRunning(kOrvellaSignature))
    return true;
  const std::string program = FindProgramFile(kOrvellaProgramName, ExecutableFolder(), getenv("PATH"));
  if (program.empty()) {
    fprintf(stderr, "AskOrvel: Orvella is found neither beside AskOrvel nor on PATH\n");
    return false;
  }
  // Orvella outlives this program; it must not hold on to the output of a
  // script that waits for this one's end, as in d=$(AskOrvel --date). Its
  // standard error goes to a file, which says why when it ends at once
  // (without a display, for one).
  BPath runtime;
  find_directory(B_USER_RUNTIME_DIRECTORY, &runtime);
  std::string errors = std::string(runtime.Path()) + "/AskOrvel-Orvella-XXXXXX";
  const int errorFile = mkstemp(&errors[0]);
  if (errorFile < 0)
    errors = "/dev/null";
  else
    close(errorFile);
  int64 started = 0;
  if (!StartDetached(program, {}, errors, &started)) {
    fprintf(stderr, "AskOrvel: %s cannot be started\n", program.c_str());
    unlink(errors.c_str());
    return false;
  }
  const time_t giveUp = std::min(deadline, time(nullptr) + kStartSeconds);
  bool running;
  while (!(running = be_roster->IsRunning(kOrvellaSignature))) {
    // A start that hands over to another Orvella ends too, once that one
    // has its name.
    if (ProcessEnded(started)) {
      running = be_roster->IsRunning(kOrvellaSignature);
      if (!running)
        TellWhyOrvellaEnded(errors);
      break;
    }
    if (time(nullptr) >= giveUp) {
      if (giveUp < deadline) {
        // Not left behind to show a window nobody waits for.
        kill(pid_t(started), SIGTERM);
        fprintf(stderr, "AskOrvel: %s was started but did not reach the session bus within %d seconds; it was "
                        "stopped\n",
                program.c_str(), int(kStartSeconds));
      }
      break;
    }
    usleep(50000);
  }
  unlink(errors.c_str());
  return running;
}

void Ask_Script::TellWhyOrvellaEnded(const std::string& errorFile)
{
  char said[2048];
  FILE* file = fopen(errorFile.c_str(), "r");
  const size_t got = file != nullptr ? fread(said, 1, sizeof said - 1, file) : 0;
  if (file != nullptr)
    fclose(file);
  said[got] = '\0';
  if (got == 0) {
    fprintf(stderr, "AskOrvel: Orvella ended before it could take the request, without saying why\n");
    return;
  }
  fprintf(stderr, "AskOrvel: Orvella ended before it could take the request; it said:\n");
  for (const char* line = strtok(said, "\n"); line != nullptr; line = strtok(nullptr, "\n"))
    fprintf(stderr, "  %s\n", line);
}

int Ask_Script::Ask(time_t* answered)
{
  if (!be_roster->HasSessionBus()) {
    fprintf(stderr, "AskOrvel: there is no session bus to reach Orvella on\n");
    return kExitError;
  }
  const time_t start = time(nullptr);
  const time_t deadline = fLine.timeoutSeconds > 0 ? start + fLine.timeoutSeconds : time_t(INT64_MAX / 2);
  if (!RunOrvella(deadline)) {
    if (time(nullptr) < deadline)
      return kExitError;
    fprintf(stderr, "AskOrvel: no answer within %d seconds\n", int(fLine.timeoutSeconds));
    return kExitTimeOut;
  }

  BMessage request('_KXT');
  request.AddMessenger(">NewTarget", be_app_messenger);
  request.AddString("_tar_signature_", kAskOrvelSignature);
  request.AddBool("_ask", true);
  request.AddBool("_onlyTime", fLine.timeOnly);
  request.AddInt64("_presetTime", int64(fLine.hasPreset ? fLine.preset : start));
  request.AddPointer("_itor", this);
  AddActivationToken(&request);
  // Without "_okName" Orvella labels its OK button in the user's language.
  if (BMessenger(kOrvellaSignature).SendMessage(&request, this) != B_OK) {
    fprintf(stderr, "AskOrvel: the request does not reach Orvella\n");
    return kExitError;
  }

  if (fLine.timeoutSeconds > 0) {
    BMessage timeOut(kTimeOut);
    const bigtime_t left = bigtime_t(deadline - time(nullptr)) * 1000000;
    fTimeOut = std::make_unique<BMessageRunner>(be_app_messenger, &timeOut, left > 0 ? left : 1, 1);
  }
  BMessage watch(kWatch);
  fWatch = std::make_unique<BMessageRunner>(be_app_messenger, &watch, kWatchInterval);
  Run();
  fTimeOut.reset();
  fWatch.reset();
  *answered = fAnswered;
  return fStatus;
}

void Ask_Script::Finish(int status)
{
  fStatus = status;
  Quit();
}

void Ask_Script::MessageReceived(BMessage* message)
{
  switch (message->what) {
  case '_KXT': {
    // Only answers to this program's own request: requests (also its own,
    // come back as broadcasts) carry "_ask", and answers to others name
    // another target.
    BMessenger target;
    if (message->HasBool("_ask") || message->FindMessenger(">target", &target) != B_OK
        || target != be_app_messenger)
      break;
    int64 picked = 0;
    if (message->GetInt32(">stype", 0) != 0 && message->FindInt64(">time", &picked) == B_OK) {
      fAnswered = time_t(picked);
      Finish(kExitAnswered);
    } else {
      fprintf(stderr, message->GetBool(">displaced", false)
                          ? "AskOrvel: cancelled: another request took Orvella away from this one\n"
                          : "AskOrvel: cancelled in Orvella\n");
      Finish(kExitCancelled);
    }
    break;
  }
  case kTimeOut:
    fprintf(stderr, "AskOrvel: no answer within %d seconds\n", int(fLine.timeoutSeconds));
    Finish(kExitTimeOut);
    break;
  case kWatch:
    if (!be_roster->IsRunning(kOrvellaSignature)) {
      fprintf(stderr, "AskOrvel: Orvella quit before it answered\n");
      Finish(kExitError);
    }
    break;
  default:
    break;
  }
}
