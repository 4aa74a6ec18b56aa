// `Orvella --add-calendar URL [--kind K] [--user NAME] [--refresh MINUTES]`:
// adds a calendar source for scripts, without a display and without the
// window. The address is looked at first (a CalDAV server, with its
// calendars, or a feed); the password is asked for on the terminal, or read
// from standard input when that is no terminal, and stored in the keyring.
// A running Orvella picks the new source up at once (it watches
// calendars.conf).
//
// Exit status: 0 added, 1 not added (with a message why), 2 wrong options.
//
//   if (IsAddCalendarCommand(argc, argv))
//     return AddCalendarCommand(argc, argv);
#pragma once

bool IsAddCalendarCommand(int argc, char** argv);
int AddCalendarCommand(int argc, char** argv);
