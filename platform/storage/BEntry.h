// A named entry in a folder: a file, a folder or a symbolic link, or a name
// not taken yet in an existing folder.
//
// The entry is the link itself unless it was set with `traverse`, which
// follows links to their target.
//
//   BEntry entry("/home/me/people/MarkDays");
//   if (entry.Exists() && entry.IsFile()) ...
#pragma once

#include "platform/storage/BPath.h"

// A file name plus its terminator; GetName fills a buffer of this size.
enum { B_FILE_NAME_LENGTH = 256 };

class BEntry {
public:
  BEntry() = default;
  explicit BEntry(const char* path, bool traverse = false);

  // Fails with B_ENTRY_NOT_FOUND when the folder holding the entry is missing
  // or when a link to be followed leads nowhere.
  status_t SetTo(const char* path, bool traverse = false);
  status_t InitCheck() const { return fPath.InitCheck(); }
  void Unset() { fPath.Unset(); }

  bool Exists() const;
  status_t GetPath(BPath* path) const;
  status_t GetName(char* buffer) const;

  bool IsFile() const;
  bool IsDirectory() const;
  bool IsSymLink() const;

private:
  BPath fPath;
};
