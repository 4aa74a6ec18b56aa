// A regular file: its data (read, write, seek, size) and, as a BNode, its
// attributes.
//
//   BFile file(path, B_READ_WRITE | B_CREATE_FILE);
//   if (file.InitCheck() == B_OK) file.WriteAt(0, "ova_prefs", 9);
#pragma once

#include "platform/storage/BNode.h"

#include <fcntl.h>

// Open modes, combined with |: one access mode and any of the flags.
enum : uint32 {
  B_READ_ONLY = O_RDONLY,
  B_WRITE_ONLY = O_WRONLY,
  B_READ_WRITE = O_RDWR,
  B_CREATE_FILE = O_CREAT,
  B_ERASE_FILE = O_TRUNC,
  B_FAIL_IF_EXISTS = O_EXCL,
  B_OPEN_AT_END = O_APPEND,
};

class BFile : public BNode {
public:
  BFile();
  BFile(const char* path, uint32 openMode);

  // Opens (and with B_CREATE_FILE creates, mode 0666 less the umask) the file
  // at `path`, following symbolic links. A folder gives -EISDIR.
  status_t SetTo(const char* path, uint32 openMode);

  bool IsReadable() const;
  bool IsWritable() const;

  // Bytes transferred or a status. Write writes everything it is given
  // unless the system fails.
  ssize_t Read(void* buffer, size_t size);
  ssize_t Write(const void* buffer, size_t size);
  ssize_t ReadAt(off_t position, void* buffer, size_t size);
  ssize_t WriteAt(off_t position, const void* buffer, size_t size);

  // `seekMode` is SEEK_SET, SEEK_CUR or SEEK_END; returns the new position.
  off_t Seek(off_t position, uint32 seekMode);
  off_t Position() const;
  status_t GetSize(off_t* size) const;
  status_t SetSize(off_t size);

private:
  uint32 fMode = 0;
};
