#include "client/Ask_Application.h"

#include <cstdio>

int main()
{
  // Trace lines go out as they are written, also into a pipe or a file.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  auto* app = new Ask_Application();
  app->Run();
  delete app;
  return 0;
}
