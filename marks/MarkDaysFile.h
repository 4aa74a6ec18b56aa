// Lines of the MarkDays file (format: docs/markdays.md). A record line is
// "[HD]" (or "[MD]") followed by three bracketed fields: a date and a name
// in either order, then the kind:
//
//   [HD][ever/12/25][Christmas Day][enUS]
//   [HD][Birthday][1970/05/17][user]
#pragma once

#include <string>

class MarkDay;

// Longest piece of a line read at once; a longer line goes on as the next piece.
constexpr int kMarkDaysPieceLength = 1022;

// True when a piece is a record line: not a ";" comment, holding "[MD]" or
// "[HD]" and "][".
bool IsMarkDaysRecord(const char* piece);

// Reads the fields of a record line, from its sixth character on, into the
// record; stops at the first field without a closing "]".
void ReadMarkDaysFields(const char* piece, MarkDay* record);

// $HOME/people/MarkDays (the home folder is created when missing).
std::string DefaultMarkDaysPath();
