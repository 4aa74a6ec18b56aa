// A second program for the two-program tests. It reports on standard
// output what reaches it and answers the test's messages.
//
// Usage: bus_peer SIGNATURE single|multiple [broadcast]
//   'ping'  -> answers 'pong' to the return address, with its own
//              application messenger as "who"
//   'bcst'  -> prints "broadcast TAG remote=0|1"; answers 'seen' to a
//              remote sender
//   'quit'  -> quits
// With "broadcast" it broadcasts 'bcst' with the tag "from-peer" at start.
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

void Say(const char* format, ...)
{
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  printf("\n");
  fflush(stdout);
}

class PeerApp : public BApplication {
public:
  PeerApp(const char* signature, uint32 flags, bool broadcast)
      : BApplication(signature, flags), fBroadcast(broadcast) {}

  void ReadyToRun() override
  {
    if (fBroadcast) {
      BMessage hello('bcst');
      hello.AddString("tag", "from-peer");
      be_roster->Broadcast(&hello);
    }
    Say("ready");
  }

  void ActivateRequested() override { Say("activated"); }

  void MessageReceived(BMessage* message) override
  {
    switch (message->what) {
    case 'ping': {
      BMessage pong('pong');
      pong.AddString("tag", message->GetString("tag", ""));
      pong.AddMessenger("who", be_app_messenger);
      pong.AddBool("remote", message->IsSourceRemote());
      status_t status = message->ReturnAddress().SendMessage(&pong);
      Say("pong sent: %s", StatusText(status));
      break;
    }
    case 'bcst': {
      const char* tag = message->GetString("tag", "");
      Say("broadcast %s remote=%d", tag, message->IsSourceRemote() ? 1 : 0);
      if (message->IsSourceRemote()) {
        BMessage seen('seen');
        seen.AddString("tag", tag);
        message->ReturnAddress().SendMessage(&seen);
      }
      break;
    }
    case 'quit': Quit(); break;
    default: BApplication::MessageReceived(message); break;
    }
  }

private:
  bool fBroadcast;
};

} // namespace

int main(int argc, char** argv)
{
  if (argc < 3) {
    fprintf(stderr, "usage: bus_peer SIGNATURE single|multiple [broadcast]\n");
    return 2;
  }
  const uint32 flags = strcmp(argv[2], "single") == 0 ? B_SINGLE_LAUNCH : B_MULTIPLE_LAUNCH;
  PeerApp app(argv[1], flags, argc > 3 && strcmp(argv[3], "broadcast") == 0);
  if (app.InitCheck() == B_ALREADY_RUNNING) {
    Say("handed over");
    return 0;
  }
  if (app.InitCheck() == B_TIMED_OUT) {
    Say("no answer");
    return 1;
  }
  app.Run();
  Say("done");
  return 0;
}
