#include "client/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "client/Ask_Script.h"

namespace {

// The years Orvella's panel shows (docs/ipc.md, section 9.1): a preset
// outside them would be shown and answered as 1 January 1970.
constexpr int kFirstPresetYear = 1900;
constexpr int kLastPresetYear = 2037;
// Longest answer printed; a format that makes a longer one is refused.
constexpr size_t kMaxAnswerBytes = 1 << 20;

// The preset's form: "YYYY-MM-DD HH:MM", a real local date and time.
bool ParsePreset(const std::string& text, time_t* preset)
{
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':')
    return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15}) {
    if (text[i] < '0' || text[i] > '9')
      return false;
  }
  auto number = [&text](size_t at, size_t length) { return std::stoi(text.substr(at, length)); };
  struct tm local = {};
  local.tm_year = number(0, 4) - 1900;
  local.tm_mon = number(5, 2) - 1;
  local.tm_mday = number(8, 2);
  local.tm_hour = number(11, 2);
  local.tm_min = number(14, 2);
  local.tm_isdst = -1;
  const int month = local.tm_mon;
  const int day = local.tm_mday;
  if (number(0, 4) < 1 || month < 0 || month > 11 || day < 1 || local.tm_hour > 23 || local.tm_min > 59)
    return false;
  *preset = mktime(&local);
  // mktime moves a day that does not exist (31 April) into the next month;
  // a clock time skipped by summer time only moves the hour.
  return local.tm_mon == month && local.tm_mday == day;
}

bool ParseSeconds(const std::string& text, int32* seconds)
{
  if (text.empty() || text.size() > 9)
    return false;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
  }
  *seconds = std::stoi(text);
  return *seconds > 0;
}

CommandLine Wrong(const std::string& error)
{
  CommandLine wrong;
  wrong.action = CommandLine::Action::kUsage;
  wrong.error = error;
  return wrong;
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments)
{
  CommandLine line;
  if (arguments.empty())
    return line;
  const char* mode = nullptr;
  bool formatGiven = false;
  for (size_t i = 0; i < arguments.size(); i++) {
    std::string option = arguments[i];
    std::string value;
    bool hasValue = false;
    const size_t equals = option.find('=');
    if (option.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
      hasValue = true;
    }
    if (option == "--help" || option == "--version") {
      if (hasValue)
        return Wrong("option '" + option + "' takes no value");
      line.action = option == "--help" ? Action::kHelp : Action::kVersion;
      return line;
    }
    if (option == "--date" || option == "--time" || option == "--datetime") {
      if (hasValue)
        return Wrong("option '" + option + "' takes no value");
      if (mode != nullptr && option != mode)
        return Wrong("choose one of --date, --time and --datetime");
      mode = option == "--date" ? "--date" : option == "--time" ? "--time" : "--datetime";
      continue;
    }
    if (option != "--format" && option != "--preset" && option != "--timeout")
      return Wrong(option.compare(0, 1, "-") == 0 ? "unknown option '" + option + "'"
                                                  : "unexpected argument '" + option + "'");
    if (!hasValue) {
      if (i + 1 == arguments.size())
        return Wrong("option '" + option + "' needs a value");
      value = arguments[++i];
    }
    if (option == "--format") {
      line.format = value;
      formatGiven = true;
    } else if (option == "--preset") {
      if (!ParsePreset(value, &line.preset))
        return Wrong("--preset wants a local date and time as \"YYYY-MM-DD HH:MM\", not '" + value + "'");
      const int year = std::stoi(value.substr(0, 4));
      if (year < kFirstPresetYear || year > kLastPresetYear)
        return Wrong("--preset " + value + " lies outside the years " + std::to_string(kFirstPresetYear) + " to " +
                     std::to_string(kLastPresetYear) + " that Orvella shows");
      line.hasPreset = true;
    } else if (!ParseSeconds(value, &line.timeoutSeconds)) {
      return Wrong("--timeout wants a whole number of seconds above 0, not '" + value + "'");
    }
  }
  if (mode == nullptr)
    return Wrong("choose one of --date, --time and --datetime");
  line.action = Action::kAsk;
  line.timeOnly = std::string(mode) == "--time";
  if (!formatGiven)
    line.format = line.timeOnly ? "%H:%M" : std::string(mode) == "--date" ? "%Y-%m-%d" : "%Y-%m-%d %H:%M";
  // The answer's length hardly depends on the date: tried on the preset, a
  // format whose answer cannot be printed whole is refused before asking.
  std::string sample;
  if (!FormatAnswer(line.format, line.hasPreset ? line.preset : time(nullptr), &sample))
    return Wrong("--format makes an answer longer than " + std::to_string(kMaxAnswerBytes >> 20) + " MiB");
  return line;
}

const char* CommandLineUsage()
{
  return "usage: AskOrvel [--date | --time | --datetime] [--format FORMAT] [--preset \"YYYY-MM-DD HH:MM\"] "
         "[--timeout SECONDS]";
}

std::string CommandLineHelp()
{
  return std::string(CommandLineUsage()) + "\n"
         "\n"
         "Without options AskOrvel opens its window. With them it asks Orvella for a\n"
         "date or a time, starting Orvella when it does not run, and prints the answer.\n"
         "\n"
         "  --date              ask for a date (the answer is \"%Y-%m-%d\" unless --format)\n"
         "  --time              ask for a time only (\"%H:%M\")\n"
         "  --datetime          ask for a date and a time (\"%Y-%m-%d %H:%M\")\n"
         "  --format FORMAT     print the answer in this strftime format\n"
         "  --preset \"YYYY-MM-DD HH:MM\"\n"
         "                      show this local date and time first (else now)\n"
         "  --timeout SECONDS   give up after this many seconds\n"
         "  --help              print this text\n"
         "  --version           print the version\n"
         "\n"
         "Exit status: 0 answered, 1 cancelled, 2 wrong options, 3 Orvella cannot be\n"
         "reached (or another failure), 5 no answer in time.\n";
}

bool FormatAnswer(const std::string& format, time_t time, std::string* text)
{
  text->clear();
  struct tm local;
  if (format.empty())
    return true;
  if (localtime_r(&time, &local) == nullptr)
    return false;
  // strftime gives 0 both for a text too long and for an empty one; a
  // character after the format tells them apart.
  const std::string marked = format + "|";
  // Room for the longest answer, the mark and the terminator.
  const size_t most = kMaxAnswerBytes + 2;
  for (size_t size = 256;; size = std::min(size * 4, most)) {
    text->resize(size);
    const size_t length = strftime(&(*text)[0], size, marked.c_str(), &local);
    if (length > 0) {
      text->resize(length - 1);
      return true;
    }
    if (size == most)
      break;
  }
  text->clear();
  return false;
}

int RunCommandLine(const CommandLine& line)
{
  switch (line.action) {
  case CommandLine::Action::kHelp:
    fputs(CommandLineHelp().c_str(), stdout);
    return kExitAnswered;
  case CommandLine::Action::kVersion:
    printf("AskOrvel %s\n", ORVELLA_VERSION);
    return kExitAnswered;
  case CommandLine::Action::kUsage:
    fprintf(stderr, "AskOrvel: %s\n%s\n", line.error.c_str(), CommandLineUsage());
    return kExitUsage;
  default:
    break;
  }
  // Standard output carries the answer and nothing else: the lines the
  // program writes on its way go to standard error.
  fflush(stdout);
  const int answerOut = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (answerOut < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    perror("AskOrvel");
    return kExitError;
  }
  int status;
  time_t answered = 0;
  {
    Ask_Script script(line);
    status = script.Ask(&answered);
  }
  fflush(stdout);
  std::string text;
  if (status == kExitAnswered && !FormatAnswer(line.format, answered, &text)) {
    fprintf(stderr, "AskOrvel: the answer in --format is longer than %zu MiB\n", kMaxAnswerBytes >> 20);
    status = kExitUsage;
  }
  if (status == kExitAnswered) {
    text += "\n";
    for (size_t done = 0; done < text.size();) {
      const ssize_t wrote = write(answerOut, text.data() + done, text.size() - done);
      if (wrote < 0 && errno == EINTR)
        continue;
      if (wrote <= 0) {
        perror("AskOrvel: the answer cannot be written");
        status = kExitError;
        break;
      }
      done += size_t(wrote);
    }
  }
  close(answerOut);
  return status;
}
