// Reading a dictionary file: a plain-text file beside the program whose
// lines pair a built-in label text with its translation (the format is on
// docs/dictionaries.md). This class only opens the file and hands out its
// lines; KXLabel matches them.
//
//   DictionaryFile file("/opt/orvella/Dictionaries/Orvella.deDE");
//   if (file.InitCheck() == B_OK && file.HasData()) {
//     std::string line;
//     while (file.NextLine(&line)) ...
//   }
#pragma once

#include "platform/support/SupportDefs.h"

#include <cstdio>
#include <string>

class DictionaryFile {
public:
  // Opens the file for reading. Only a regular file named by an absolute
  // path is opened: a relative path would depend on the current folder, and
  // a pipe or a device could block or never end.
  explicit DictionaryFile(const char* path);
  ~DictionaryFile();
  DictionaryFile(const DictionaryFile&) = delete;
  DictionaryFile& operator=(const DictionaryFile&) = delete;

  // B_OK, B_BAD_VALUE for a path that is not absolute or names no regular
  // file, or the status of the failed open.
  status_t InitCheck() const { return fStatus; }
  off_t Size() const { return fSize; }

  // Whether anything can be read (false for an empty or unreadable file);
  // the next line read is the first again.
  bool HasData();
  // The next line without its newline, of any length; false at the end.
  // A UTF-8 byte-order mark at the start of the file is skipped.
  bool NextLine(std::string* line);

private:
  FILE* fFile = nullptr;
  status_t fStatus = B_NO_INIT;
  off_t fSize = 0;
  bool fAtStart = true;
};
