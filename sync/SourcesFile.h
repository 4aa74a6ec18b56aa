// The list of calendar sources, $XDG_CONFIG_HOME/orvella/calendars.conf
// (else ~/.config/orvella/calendars.conf; docs/calendars.md): a section
// for each source, named by its address.
//
//   [https://dav.example.org/]
//   type = caldav
//   kind = events
//   user = alice
//   refresh = 30
//   calendar = /dav/alice/work/
//
//   std::vector<std::string> problems;
//   std::vector<CalendarSource> sources = ReadSources(SourcesFilePath(), &problems);
#pragma once

#include <string>
#include <vector>

#include "sync/CalendarSource.h"

std::string SourcesFilePath();

// The sources of the file; a missing file has none. Each line or source
// that is not understood gives a line in `problems` and is left out; a
// source named twice is taken once.
std::vector<CalendarSource> ReadSources(const std::string& path, std::vector<std::string>* problems);
// The file's text for the sources.
std::string FormatSources(const std::vector<CalendarSource>& sources);
// Writes the file whole; false with the reason.
bool WriteSources(const std::string& path, const std::vector<CalendarSource>& sources, std::string* error);
