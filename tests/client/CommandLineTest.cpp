// AskOrvel's command line: which options make which request, which are
// refused, and the answer's text. Tests run under TZ=Europe/Berlin.
#include "client/CommandLine.h"

#include <gtest/gtest.h>

namespace {

// 10 March 2024, 09:30 in Berlin.
constexpr time_t kMarch10 = 1710059400;

TEST(CommandLineTest, OptionsMakeTheRequest)
{
  using Action = CommandLine::Action;
  const struct {
    std::vector<std::string> arguments;
    Action action;
    bool timeOnly;
    const char* format;
    time_t preset;  // 0: none
    int32 timeout;
  } rows[] = {
      {{}, Action::kWindow, false, "", 0, 0},
      {{"--date"}, Action::kAsk, false, "%Y-%m-%d", 0, 0},
      {{"--time"}, Action::kAsk, true, "%H:%M", 0, 0},
      {{"--datetime"}, Action::kAsk, false, "%Y-%m-%d %H:%M", 0, 0},
      {{"--date", "--format", "%d.%m.%Y"}, Action::kAsk, false, "%d.%m.%Y", 0, 0},
      {{"--format=%d.%m.%Y", "--date"}, Action::kAsk, false, "%d.%m.%Y", 0, 0},
      {{"--time", "--format", ""}, Action::kAsk, true, "", 0, 0},
      {{"--date", "--date"}, Action::kAsk, false, "%Y-%m-%d", 0, 0},
      {{"--datetime", "--preset", "2024-03-10 09:30"}, Action::kAsk, false, "%Y-%m-%d %H:%M", kMarch10, 0},
      {{"--date", "--preset=2024-03-10 09:30", "--timeout=30"}, Action::kAsk, false, "%Y-%m-%d", kMarch10, 30},
      {{"--timeout", "5", "--time"}, Action::kAsk, true, "%H:%M", 0, 5},
      {{"--help"}, Action::kHelp, false, "", 0, 0},
      {{"--date", "--version", "--bogus"}, Action::kVersion, false, "", 0, 0},
  };
  for (const auto& row : rows) {
    std::string trace;
    for (const std::string& argument : row.arguments)
      trace += "[" + argument + "]";
    SCOPED_TRACE(trace);
    const CommandLine line = CommandLine::Parse(row.arguments);
    EXPECT_EQ(line.action, row.action) << line.error;
    EXPECT_EQ(line.timeOnly, row.timeOnly);
    EXPECT_EQ(line.format, row.format);
    EXPECT_EQ(line.hasPreset, row.preset != 0);
    if (row.preset != 0) {
      EXPECT_EQ(line.preset, row.preset);
    }
    EXPECT_EQ(line.timeoutSeconds, row.timeout);
  }
}

TEST(CommandLineTest, WrongOptionsAreNamed)
{
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } rows[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-d"}, "unknown option '-d'"},
      {{"--date", "today"}, "unexpected argument 'today'"},
      {{"--format", "%d"}, "choose one of --date, --time and --datetime"},
      {{"--date", "--time"}, "choose one of --date, --time and --datetime"},
      {{"--date", "--format"}, "option '--format' needs a value"},
      {{"--date=yes"}, "option '--date' takes no value"},
      {{"--help=me"}, "option '--help' takes no value"},
      {{"--date", "--timeout", "0"}, "--timeout wants a whole number of seconds above 0, not '0'"},
      {{"--date", "--timeout", "-5"}, "--timeout wants a whole number of seconds above 0, not '-5'"},
      {{"--date", "--timeout", "1.5"}, "--timeout wants a whole number of seconds above 0, not '1.5'"},
      {{"--date", "--timeout", "99999999999"}, "--timeout wants a whole number of seconds above 0, not '99999999999'"},
      {{"--date", "--preset", "2024-03-10"},
       "--preset wants a local date and time as \"YYYY-MM-DD HH:MM\", not '2024-03-10'"},
      {{"--date", "--preset", "2024-02-30 09:30"},
       "--preset wants a local date and time as \"YYYY-MM-DD HH:MM\", not '2024-02-30 09:30'"},
      {{"--date", "--preset", "2024-03-10 24:00"},
       "--preset wants a local date and time as \"YYYY-MM-DD HH:MM\", not '2024-03-10 24:00'"},
      {{"--date", "--preset", "2024-3-10 09:30"},
       "--preset wants a local date and time as \"YYYY-MM-DD HH:MM\", not '2024-3-10 09:30'"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.error);
    const CommandLine line = CommandLine::Parse(row.arguments);
    EXPECT_EQ(line.action, CommandLine::Action::kUsage);
    EXPECT_EQ(line.error, row.error);
  }
  // The years the panel shows, and no others: before, a later preset was
  // answered as 1 January 1970 with exit status 0.
  const struct {
    const char* preset;
    bool taken;
  } years[] = {
      {"1899-12-31 23:59", false}, {"1900-01-01 00:00", true}, {"2037-12-31 23:59", true},
      {"2038-01-19 04:14", false}, {"2038-06-01 12:00", false}, {"9999-12-31 23:59", false},
  };
  for (const auto& year : years) {
    SCOPED_TRACE(year.preset);
    const CommandLine line = CommandLine::Parse({"--date", "--preset", year.preset});
    EXPECT_EQ(line.action, year.taken ? CommandLine::Action::kAsk : CommandLine::Action::kUsage);
    if (!year.taken) {
      EXPECT_EQ(line.error, std::string("--preset ") + year.preset + " lies outside the years 1900 to 2037 that Orvella shows");
    }
  }
  // An answer past 1 MiB is refused before asking, never cut or left empty;
  // up to that it is printed whole, past 64 KiB too (the road test).
  std::string tooLong;
  for (int i = 0; i < 300000; i++)
    tooLong += "%Y";
  EXPECT_EQ(CommandLine::Parse({"--date", "--format", tooLong}).error, "--format makes an answer longer than 1 MiB");
  // Summer time skips 02:30 on 31 March 2024 in Berlin; the preset moves to
  // the same instant as the clock shows then rather than being refused.
  const CommandLine skipped = CommandLine::Parse({"--date", "--preset", "2024-03-31 02:30"});
  EXPECT_EQ(skipped.action, CommandLine::Action::kAsk) << skipped.error;
}

TEST(CommandLineTest, AnswerText)
{
  const struct {
    const char* format;
    const char* text;
  } rows[] = {
      {"%Y-%m-%d", "2024-03-10"},
      {"%H:%M", "09:30"},
      {"%d.%m.%Y", "10.03.2024"},
      {"%A, %B %e, %Y %I:%M %p", "Sunday, March 10, 2024 09:30 AM"},
      {"week %V, day %j", "week 10, day 070"},
      {"%s", "1710059400"},
      {"", ""},
      {"no fields", "no fields"},
  };
  std::string text;
  for (const auto& row : rows) {
    EXPECT_TRUE(FormatAnswer(row.format, kMarch10, &text)) << row.format;
    EXPECT_EQ(text, row.text) << row.format;
  }
  // Longer than any first guess of the room it needs.
  const std::string longFormat(5000, 'x');
  ASSERT_TRUE(FormatAnswer(longFormat + "%Y", kMarch10, &text));
  EXPECT_EQ(text, longFormat + "2024");
}

} // namespace
