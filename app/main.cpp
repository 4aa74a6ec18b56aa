#include "app/AddCalendarCommand.h"
#include "app/OVA_Application.h"
#include "platform/support/HeapReserve.h"

#include <cstdio>

int main(int argc, char** argv)
{
  KeepHeapReserve();
  // Trace lines go out as they are written, also into a pipe or a file.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // Scripts add calendar sources without the window.
  if (IsAddCalendarCommand(argc, argv))
    return AddCalendarCommand(argc, argv);
  printf("-OVA begin-\n");
  auto* app = new OVA_Application();
  const status_t status = app->InitCheck();
  if (status == B_OK)
    app->Run();
  else if (status == B_TIMED_OUT)
    fprintf(stderr, "Orvella: an Orvella already runs but does not answer; not started. End the running one "
                    "and start Orvella again.\n");
  printf("\n-OVA end-\n");
  delete app;
  return status == B_OK || status == B_ALREADY_RUNNING ? 0 : 1;
}
