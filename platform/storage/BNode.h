// A node of the file system (a file or a folder) and its attributes.
//
// Attributes are named, typed values kept beside a node's data. They are the
// node's Linux extended attributes in the "user." namespace: the attribute
// NAME is the xattr "user.NAME" and holds exactly the bytes written, so
// getfattr/setfattr and other programs see the same values. The type code is
// kept in a companion xattr that copies along with the file; the scheme is
// described in docs/attributes.md.
//
//   BNode node("/home/me/events/dentist");
//   char summary[1024];
//   ssize_t got = node.ReadAttr("EVENT:Summary", B_STRING_TYPE, 0, summary, sizeof summary);
//   if (got == B_ENTRY_NOT_FOUND) ...  // no such attribute
//   else if (got < 0) printf("%s\n", StatusText(got));
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>
#include <vector>

// Longest attribute name plus its terminator; GetNextAttrName fills a buffer
// of this size.
enum { B_ATTR_NAME_LENGTH = 256 };

struct attr_info {
  type_code type; // B_RAW_TYPE when the attribute was written without a type
  off_t size;
};

class BNode {
public:
  BNode();
  explicit BNode(const char* path);
  virtual ~BNode();

  BNode(const BNode&) = delete;
  BNode& operator=(const BNode&) = delete;

  // Opens the node at `path`, following symbolic links. Only files and
  // folders carry user attributes on Linux, so other kinds give
  // B_NOT_SUPPORTED.
  status_t SetTo(const char* path);
  status_t InitCheck() const { return fCStatus; }
  virtual void Unset();
  // Flushes the node's data and attributes to the disk.
  status_t Sync();

  // Copies up to `length` bytes of the value from `offset` on; returns the
  // number copied (0 past the end) or a status: B_ENTRY_NOT_FOUND when the
  // attribute is missing, the negated errno otherwise (-ENOTSUP on a file
  // system without user attributes). The type is not checked, so values
  // written by other tools read the same.
  ssize_t ReadAttr(const char* name, type_code type, off_t offset, void* buffer,
                   size_t length) const;

  // Writes `length` bytes at `offset` and records the type. The value becomes
  // its first `offset` bytes (zero-filled when shorter) followed by the data,
  // so a write at offset 0 replaces the whole value. Returns `length` or a
  // status.
  ssize_t WriteAttr(const char* name, type_code type, off_t offset, const void* buffer,
                    size_t length);

  status_t RemoveAttr(const char* name);
  status_t GetAttrInfo(const char* name, attr_info* info) const;

  // Walks the attribute names (without "user." and without the type
  // companions); B_ENTRY_NOT_FOUND after the last one.
  status_t GetNextAttrName(char* buffer);
  status_t RewindAttrs();

protected:
  // Takes ownership of an open descriptor (or records the failure when `fd`
  // is negative and `status` says why).
  status_t Adopt(int fd, status_t status);

  int fFd = -1;
  status_t fCStatus = B_NO_INIT;

private:
  std::vector<std::string> fAttrNames;
  size_t fNextAttr = 0;
  bool fAttrsListed = false;
};
