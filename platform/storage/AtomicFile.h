// A file written whole. The new content goes to a temporary file in the
// same folder, and Commit() renames it over the file at the path: until the
// rename the old file is untouched, after it the new one is there complete.
// So a crash, a kill or a full disk leaves either the old file or the new
// one, never a part. Without Commit() (a failed write, an early return) the
// destructor removes the temporary file.
//
//   AtomicFile picture(path);
//   status_t status = picture.InitCheck();
//   if (status == B_OK)
//     status = WriteBitmap(bitmap, &picture.File(), B_PNG_FORMAT);
//   if (status == B_OK)
//     status = picture.Commit();       // the old picture until here
//
// The temporary file is hidden, ".NAME.tmp-PID-N"; a process killed before
// Commit leaves it behind. A symbolic link at the path is followed: its
// target is replaced and the link stays. The new file keeps the old one's
// permissions (a new file gets 0666 less the umask); the old file's
// extended attributes are not carried over. A path that names something
// other than a regular file, such as /dev/null, is written in place: it has
// no content to keep.
#pragma once

#include "platform/storage/BFile.h"

#include <string>

class AtomicFile {
public:
  // Creates the temporary file for `path`; InitCheck() tells whether that
  // worked (the folder's status when it is missing or not writable).
  explicit AtomicFile(const char* path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  status_t InitCheck() const { return fStatus; }
  // Where the new content goes, open for writing.
  BFile& File() { return fFile; }
  // Flushes the new content to the disk and puts it in the old file's
  // place. On failure the old file stays and the temporary file is removed.
  // Once called, the object is spent.
  status_t Commit();

private:
  void Discard();

  BFile fFile;
  status_t fStatus = B_NO_INIT;
  std::string fTarget;    // the file replaced (a link's target)
  std::string fTemporary; // empty when written in place or done
};

// Replaces the file at `path` by the `size` bytes at `data`, whole.
status_t WriteFileWhole(const char* path, const void* data, size_t size);
