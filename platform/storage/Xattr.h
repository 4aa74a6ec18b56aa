// The kernel's extended-attribute calls, one wrapper each, every one
// returning its error as a status (the negated errno) instead of -1/errno.
// A missing attribute (ENODATA) is reported as B_ENTRY_NOT_FOUND.
//
// These are the raw calls: BNode builds named, typed attributes on top.
//
//   char value[16];
//   ssize_t got = xattr_get(fd, "user.m_win_rect", value, sizeof value);
//   if (got < 0) printf("%s\n", StatusText(got));
#pragma once

#include "platform/support/SupportDefs.h"

#include <cstddef>

// Reads the value into `value`; with size 0 returns the value's size.
ssize_t xattr_get(int fd, const char* name, void* value, size_t size);

// Creates or replaces the whole value.
status_t xattr_set(int fd, const char* name, const void* value, size_t size);

// Fills `list` with the NUL-separated names; with size 0 returns the size needed.
ssize_t xattr_list(int fd, char* list, size_t size);

status_t xattr_remove(int fd, const char* name);
