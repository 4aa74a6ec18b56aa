// Where the program keeps its files.
//
//   B_USER_DIRECTORY           $HOME (else the home folder of the user database)
//   B_USER_SETTINGS_DIRECTORY  $XDG_CONFIG_HOME, else $HOME/.config
//   B_USER_DATA_DIRECTORY      $XDG_DATA_HOME, else $HOME/.local/share: data
//                              files the user adds (calendars)
//   B_USER_CACHE_DIRECTORY     $XDG_CACHE_HOME, else $HOME/.cache: copies of
//                              data kept elsewhere (synced calendars)
//   B_USER_RUNTIME_DIRECTORY   $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp: the
//                              ram disk for short-lived files
//   B_PROGRAM_DIRECTORY        the folder of the running program's executable
//                              (links resolved), where its own files lie
//
// Relative or empty values of these variables are ignored.
//
//   BPath settings;
//   if (find_directory(B_USER_SETTINGS_DIRECTORY, &settings, true) == B_OK) ...
#pragma once

#include "platform/storage/BPath.h"

enum directory_which {
  B_USER_DIRECTORY,
  B_USER_SETTINGS_DIRECTORY,
  B_USER_DATA_DIRECTORY,
  B_USER_CACHE_DIRECTORY,
  B_USER_RUNTIME_DIRECTORY,
  B_PROGRAM_DIRECTORY,
};

// Sets `path` to the folder; with `createIt` creates it (and missing parents)
// with mode 0755 less the umask.
status_t find_directory(directory_which which, BPath* path, bool createIt = false);

// Creates `path` and any missing parents, like mkdir -p; an existing folder
// is fine.
status_t create_directory(const char* path, mode_t mode);
