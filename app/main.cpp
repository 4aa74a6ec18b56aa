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
  if (app->InitCheck() == B_OK)
    app->Run();
  printf("\n-OVA end-\n");
  delete app;
  return 0;
}
