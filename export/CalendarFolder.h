// Where the calendar export puts its files: the month pictures and the HTML
// pages lie side by side in $HOME/people/OrvelCal, since the pages name the
// pictures without a folder.
//
//   std::string page = FileIn(CalendarFolder(), "MON%ld%02ld.htm", 2004L, 3L);
#pragma once

#include <string>

// $HOME/people/OrvelCal.
std::string CalendarFolder();

// `folder`, a slash and the file name formatted as printf does.
std::string FileIn(const std::string& folder, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
