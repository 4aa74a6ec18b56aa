#include "client/Ask_Application.h"
#include "client/CommandLine.h"

#include <cstdio>

int main(int argc, char** argv)
{
  // Options make a script's request; without them AskOrvel is the window client.
  const CommandLine line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
  if (line.action != CommandLine::Action::kWindow)
    return RunCommandLine(line);

  // Trace lines go out as they are written, also into a pipe or a file.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  auto* app = new Ask_Application();
  app->Run();
  delete app;
  return 0;
}
