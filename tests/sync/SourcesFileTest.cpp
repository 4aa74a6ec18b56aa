// calendars.conf: what a user or a script writes there and what Orvella
// makes of it, and the rules for a source's address and kind.
#include "sync/SourcesFile.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::vector<CalendarSource> Parse(const std::string& text, std::vector<std::string>* problems)
{
  TempHome home;
  const std::string path = home.Path("calendars.conf");
  std::ofstream(path) << text;
  return ReadSources(path, problems);
}

bool Mentions(const std::vector<std::string>& problems, const std::string& text)
{
  for (const std::string& problem : problems) {
    if (problem.find(text) != std::string::npos)
      return true;
  }
  return false;
}

} // namespace

TEST(SourcesFileTest, ReadsWhatAPersonWrites)
{
  std::vector<std::string> problems;
  const std::vector<CalendarSource> sources = Parse("# my calendars\n"
                                                    "[https://dav.example.org/]\n"
                                                    "  kind = deDE  \n"
                                                    "user=alice\n"
                                                    "refresh = 15\n"
                                                    "calendar = /alice/work/\n"
                                                    "calendar = /alice/home/\n"
                                                    "\n"
                                                    "[webcal://example.org/team.ics]\n",
                                                    &problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  ASSERT_EQ(sources.size(), 2u);
  EXPECT_EQ(sources[0].type, CalendarSource::kCalDav);
  EXPECT_EQ(sources[0].kind, "deDE");
  EXPECT_EQ(sources[0].user, "alice");
  EXPECT_EQ(sources[0].refreshMinutes, 15);
  EXPECT_EQ(sources[0].calendars, (std::vector<std::string>{"/alice/work/", "/alice/home/"}));
  EXPECT_EQ(sources[1].type, CalendarSource::kFeed);
  EXPECT_EQ(sources[1].kind, "events");
  EXPECT_EQ(sources[1].refreshMinutes, kDefaultRefreshMinutes);
  EXPECT_TRUE(sources[1].user.empty());
}

TEST(SourcesFileTest, WhatIsNotUnderstoodIsToldAndLeftOut)
{
  const struct {
    const char* edge;
    const char* text;
    size_t sources;
    const char* problem;
  } rows[] = {
      {"a line without =", "[https://a.example/]\nkind deDE\n", 1, "line 2"},
      {"a key before any source", "kind = deDE\n[https://a.example/]\n", 1, "before the first"},
      {"an ftp address", "[ftp://a.example/cal]\n", 0, "only https://"},
      {"no address at all", "[just words]\n", 0, "no address"},
      {"a password inside the address", "[https://bob:pw@a.example/]\n", 0, "holds a password"},
      {"a password over plain http", "[http://a.example/]\nuser = bob\n", 0, "plain http://"},
      {"plain http to this machine", "[http://localhost:5232/]\nuser = bob\n", 1, nullptr},
      {"refresh of no minutes", "[https://a.example/]\nrefresh = often\n", 1, "refresh 'often'"},
      {"refresh of zero", "[https://a.example/]\nrefresh = 0\n", 1, "refresh '0'"},
      {"an unknown key", "[https://a.example/]\ncolour = red\n", 1, "unknown key 'colour'"},
      {"an unknown type", "[https://a.example/x.ics]\ntype = ftp\n", 1, "type 'ftp'"},
      {"a source named twice", "[https://a.example/]\n[https://a.example/]\n", 1, "named twice"},
      {"the same address for two users", "[https://a.example/]\nuser = a\n[https://a.example/]\nuser = b\n", 2,
       nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    std::vector<std::string> problems;
    const std::vector<CalendarSource> sources = Parse(row.text, &problems);
    EXPECT_EQ(sources.size(), row.sources);
    if (row.problem == nullptr)
      EXPECT_TRUE(problems.empty()) << problems.front();
    else
      EXPECT_TRUE(Mentions(problems, row.problem)) << (problems.empty() ? "no problem told" : problems.front());
    // A bad refresh falls back on the default.
    for (const CalendarSource& source : sources)
      EXPECT_EQ(source.refreshMinutes, kDefaultRefreshMinutes);
  }
}

TEST(SourcesFileTest, WrittenSourcesReadBackAlike)
{
  TempHome home;
  CalendarSource caldav;
  caldav.url = "https://dav.example.org/";
  caldav.type = CalendarSource::kCalDav;
  caldav.kind = "user";
  caldav.user = "alice";
  caldav.refreshMinutes = 60;
  caldav.calendars = {"/alice/birthdays/"};
  CalendarSource feed;
  feed.url = "https://example.org/holidays";  // no .ics: the type says feed
  feed.type = CalendarSource::kFeed;
  feed.kind = "frFR";
  const std::string path = home.Path("config/orvella/calendars.conf");
  std::string error;
  ASSERT_TRUE(WriteSources(path, {caldav, feed}, &error)) << error;
  std::vector<std::string> problems;
  const std::vector<CalendarSource> read = ReadSources(path, &problems);
  EXPECT_TRUE(problems.empty());
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(FormatSources(read), FormatSources({caldav, feed}));
  EXPECT_EQ(read[1].type, CalendarSource::kFeed);
}

TEST(SourcesFileTest, MissingFileHasNoSources)
{
  TempHome home;
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadSources(home.Path("nothing.conf"), &problems).empty());
  EXPECT_TRUE(problems.empty());
}

TEST(SourcesFileTest, ValuesCannotStartLinesOfTheirOwn)
{
  TempHome home;
  CalendarSource source;
  source.url = "https://a.example/";
  source.kind = "deDE\n[https://evil.example/]";
  const std::string path = home.Path("calendars.conf");
  std::string error;
  ASSERT_TRUE(WriteSources(path, {source}, &error));
  std::vector<std::string> problems;
  EXPECT_EQ(ReadSources(path, &problems).size(), 1u);
}

TEST(CalendarSourceTest, KindFollowsTheCalendarFolderRule)
{
  const struct {
    const char* kind;
    uint32 code;
  } rows[] = {
      {"deDE", 'deDE'}, {"user", 'user'}, {"events", 'evnt'}, {"work", 'evnt'},
      {"DEde", 'evnt'}, {"", 'evnt'},     {".hidden", 'evnt'},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.kind);
    CalendarSource source;
    source.kind = row.kind;
    EXPECT_EQ(source.KindCode(), row.code);
  }
}

TEST(CalendarSourceTest, AddressesAndNames)
{
  CalendarSource source;
  source.url = "webcal://Example.org/holidays/de.ics";
  EXPECT_EQ(source.FetchUrl(), "https://example.org/holidays/de.ics");
  EXPECT_EQ(GuessSourceType(source.url), CalendarSource::kFeed);
  EXPECT_EQ(GuessSourceType("https://dav.example.org/"), CalendarSource::kCalDav);
  EXPECT_EQ(GuessSourceType("https://example.org/team.ICS"), CalendarSource::kFeed);

  // The cache's name depends on address and user only.
  CalendarSource other = source;
  other.kind = "frFR";
  EXPECT_EQ(other.Id(), source.Id());
  other.user = "bob";
  EXPECT_NE(other.Id(), source.Id());
  EXPECT_EQ(source.Id().size(), 16u);

  for (const char* local : {"localhost", "127.0.0.1", "127.8.9.1", "::1", "LOCALHOST"})
    EXPECT_TRUE(IsLocalHost(local)) << local;
  for (const char* remote : {"example.org", "10.0.0.1", "localhost.example.org", "::2"})
    EXPECT_FALSE(IsLocalHost(remote)) << remote;
}
