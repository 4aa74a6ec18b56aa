// A folder: walking its entries, finding, creating files and folders in it,
// and, as a BNode, its attributes.
//
// Paths given to its operations are relative to the folder unless absolute.
//
//   BDirectory dir(eventsPath);
//   BEntry entry;
//   while (dir.GetNextEntry(&entry) == B_OK) {  // links are not followed
//     BPath path;
//     entry.GetPath(&path);
//     BNode node(path.Path()); ...
//   }
#pragma once

#include "platform/storage/BEntry.h"
#include "platform/storage/BNode.h"

#include <dirent.h>

class BFile;

// Kinds of node Contains() accepts, combined with |.
enum : int32 {
  B_FILE_NODE = 0x01,
  B_SYMLINK_NODE = 0x02,
  B_DIRECTORY_NODE = 0x04,
  B_ANY_NODE = 0x07,
};

class BDirectory : public BNode {
public:
  BDirectory();
  explicit BDirectory(const char* path);
  ~BDirectory() override;

  // Opens the folder at `path` (following links); anything else gives
  // -ENOTDIR.
  status_t SetTo(const char* path);
  void Unset() override;

  // The next entry, without "." and ".."; B_ENTRY_NOT_FOUND after the last.
  // With `traverse` a link is replaced by its target, unless it leads nowhere.
  status_t GetNextEntry(BEntry* entry, bool traverse = false);
  status_t Rewind();
  // Number of entries (without "." and ".."), or a negative status.
  int32 CountEntries() const;

  // The entry at `path` (relative to this folder or absolute);
  // B_ENTRY_NOT_FOUND when there is none.
  status_t FindEntry(const char* path, BEntry* entry, bool traverse = false) const;
  // Whether `path` names an existing entry of one of the kinds in `nodeFlags`
  // in this folder or below it.
  bool Contains(const char* path, int32 nodeFlags = B_ANY_NODE) const;

  // Creates the file, or empties an existing one unless `failIfExists`, and
  // leaves it open for reading and writing in `file` (when given).
  status_t CreateFile(const char* path, BFile* file, bool failIfExists = false);
  // Creates the folder with mode 0755 (less the umask); opens it in `dir`
  // when given.
  status_t CreateDirectory(const char* path, BDirectory* dir);

private:
  std::string Resolve(const char* path) const;

  BPath fPath;
  DIR* fDir = nullptr;
};
