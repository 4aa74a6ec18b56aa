#include "app/AddCalendarCommand.h"

#include "app/SourceStateText.h"
#include "sync/Keyring.h"
#include "sync/SourcesFile.h"
#include "sync/SyncNetwork.h"

#include <QCoreApplication>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace {

const char kUsage[] = "usage: Orvella --add-calendar URL [--kind KIND] [--user NAME] [--refresh MINUTES]\n"
                      "  KIND: a region code (deDE) for holidays, \"user\" for user days, anything else\n"
                      "  for events (the default); the password is read from the terminal, or from\n"
                      "  standard input when that is no terminal.\n";

int Usage(const char* problem)
{
  fprintf(stderr, "Orvella: %s\n%s", problem, kUsage);
  return 2;
}

// One line from standard input; on a terminal asked for, without echo.
bool ReadPassword(const std::string& prompt, std::string* password)
{
  const bool terminal = isatty(STDIN_FILENO) != 0;
  struct termios saved;
  if (terminal) {
    fprintf(stderr, "%s", prompt.c_str());
    fflush(stderr);
    tcgetattr(STDIN_FILENO, &saved);
    struct termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  char buffer[1024];
  const bool read = fgets(buffer, sizeof buffer, stdin) != nullptr;
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    fprintf(stderr, "\n");
  }
  if (read) {
    password->assign(buffer, strcspn(buffer, "\r\n"));
  }
  memset(buffer, 0, sizeof buffer);
  return read && !password->empty();
}

} // namespace

bool IsAddCalendarCommand(int argc, char** argv)
{
  return argc > 1 && strcmp(argv[1], "--add-calendar") == 0;
}

int AddCalendarCommand(int argc, char** argv)
{
  CalendarSource source;
  for (int index = 1; index < argc; index++) {
    const std::string option = argv[index];
    if (index + 1 >= argc)
      return Usage(("'" + option + "' needs a value").c_str());
    const std::string value = argv[++index];
    if (option == "--add-calendar")
      source.url = value;
    else if (option == "--kind")
      source.kind = value;
    else if (option == "--user")
      source.user = value;
    else if (option == "--refresh") {
      char* end = nullptr;
      const long minutes = strtol(value.c_str(), &end, 10);
      if (*end != '\0' || minutes < kMinRefreshMinutes || minutes > kMaxRefreshMinutes)
        return Usage("the refresh interval is a number of minutes from 1 to 10080");
      source.refreshMinutes = int32(minutes);
    } else {
      return Usage(("unknown option '" + option + "'").c_str());
    }
  }
  QCoreApplication app(argc, argv);
  std::string reason;
  if (!CheckSourceAddress(source.url, source.user, &reason)) {
    fprintf(stderr, "Orvella: %s not added: %s\n", source.url.c_str(), reason.c_str());
    return 1;
  }
  const std::string path = SourcesFilePath();
  std::vector<std::string> problems;
  std::vector<CalendarSource> sources = ReadSources(path, &problems);
  for (const CalendarSource& known : sources) {
    if (known.Id() == source.Id()) {
      fprintf(stderr, "Orvella: %s is a calendar source already\n", source.url.c_str());
      return 1;
    }
  }
  std::string password;
  if (!source.user.empty()
      && !ReadPassword("Password of " + source.user + " at " + QUrl(QString::fromStdString(source.url)).host().toStdString() + ": ",
                       &password)) {
    fprintf(stderr, "Orvella: %s not added: no password given\n", source.url.c_str());
    return 1;
  }

  std::string why;
  const std::unique_ptr<SyncNetwork> network = LoadSyncNetwork(HttpLimits(), &why);
  if (network == nullptr) {
    fprintf(stderr, "Orvella: %s not added: %s\n", source.url.c_str(), why.c_str());
    return 1;
  }
  std::vector<RemoteCalendar> calendars;
  SyncFailure failure;
  if (!network->Probe(&source, password, &calendars, &failure)) {
    SourceState state;
    state.status = failure.status;
    fprintf(stderr, "Orvella: %s not added: %s (%s)\n", source.url.c_str(),
            SourceStateText(state, false, 0).c_str(), failure.detail.c_str());
    return 1;
  }
  if (!source.user.empty()) {
    std::string why;
    if (Keyring::Store(source.url, source.user, password, &why) != Keyring::kDone)
      printf("No keyring: the password is not stored (%s); Orvella asks for it once a session.\n", why.c_str());
  }
  std::fill(password.begin(), password.end(), '\0');
  sources.push_back(source);
  std::string error;
  if (!WriteSources(path, sources, &error)) {
    fprintf(stderr, "Orvella: %s not added: %s\n", source.url.c_str(), error.c_str());
    return 1;
  }
  if (source.type == CalendarSource::kFeed) {
    printf("Added the feed %s (%s)\n", source.url.c_str(), source.kind.c_str());
  } else {
    std::string names;
    for (const RemoteCalendar& calendar : calendars)
      names += (names.empty() ? "" : ", ") + calendar.name;
    printf("Added the CalDAV account %s (%s) with %d calendars: %s\n", source.url.c_str(), source.kind.c_str(),
           int(calendars.size()), names.c_str());
  }
  return 0;
}
