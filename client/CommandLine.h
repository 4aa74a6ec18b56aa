// AskOrvel's command line. Without options AskOrvel is the window client;
// with them it asks Orvella for a date or a time on behalf of a script and
// prints the answer (docs/AskOrvel.1):
//
//   d=$(AskOrvel --date --format %d.%m.%Y) || exit
//   AskOrvel --datetime --preset "2024-03-10 09:30" --timeout 60
//
// Exit status: 0 answered, 1 cancelled (also when a second request takes
// Orvella away from this one), 2 wrong options, 3 any other failure
// (Orvella cannot be reached or quit before it answered, the answer cannot
// be written), 5 no answer in time.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/support/SupportDefs.h"

enum : int {
  kExitAnswered = 0,
  kExitCancelled = 1,
  kExitUsage = 2,
  kExitError = 3,
  kExitTimeOut = 5,
};

struct CommandLine {
  enum class Action { kWindow, kAsk, kHelp, kVersion, kUsage };

  // Reads the arguments that follow the program's name.
  static CommandLine Parse(const std::vector<std::string>& arguments);

  Action action = Action::kWindow;
  bool timeOnly = false;
  std::string format;            // strftime format of the answer
  bool hasPreset = false;
  time_t preset = 0;             // the time shown first; now when not given
  int32 timeoutSeconds = 0;      // 0: wait as long as it takes
  std::string error;             // what is wrong, for kUsage
};

// The usage line, without a line break.
const char* CommandLineUsage();
// The text of --help.
std::string CommandLineHelp();
// The answer as the script gets it: the local time formatted by strftime,
// into *text. False when it would be longer than 1 MiB (or the time has no
// local date): the answer is never cut or left empty.
bool FormatAnswer(const std::string& format, time_t time, std::string* text);

// Runs the command-line mode (any action but kWindow) and returns the
// program's exit status.
int RunCommandLine(const CommandLine& line);
