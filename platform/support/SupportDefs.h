// Basic types of the platform layer: fixed-width integers, status codes and
// attribute/field type codes.
//
// Status codes are 0 for success and negative otherwise. A failed system
// call gives the negated errno, so StatusText() can give the system's own
// error text; the names below that stand for an errno (B_NO_MEMORY,
// B_BAD_VALUE, ...) are those values. The platform's own codes (B_ERROR,
// B_ENTRY_NOT_FOUND, ...) lie below every negated errno, so no failure is
// taken for another and each prints its own text: a missing attribute is
// B_ENTRY_NOT_FOUND, a file that could not be opened -ENOENT.
//
//   status_t err = node.InitCheck();
//   if (err != B_OK) printf("open failed: %s\n", StatusText(err));
#pragma once

#include <cerrno>
#include <cstdint>
#include <sys/types.h>

typedef int8_t int8;
typedef int16_t int16;
typedef int32_t int32;
typedef int64_t int64;
typedef uint8_t uint8;
typedef uint16_t uint16;
typedef uint32_t uint32;
typedef uint64_t uint64;

typedef int32 status_t;
typedef uint32 type_code;
typedef int64 bigtime_t;

// Negated errno values lie above this; the platform's own codes from it on
// downwards.
constexpr status_t B_GENERAL_ERROR_BASE = -0x10000;

enum : status_t {
  B_OK = 0,
  B_NO_MEMORY = -ENOMEM,
  B_BAD_VALUE = -EINVAL,
  B_FILE_EXISTS = -EEXIST,
  B_PERMISSION_DENIED = -EACCES,
  B_NOT_ALLOWED = -EPERM,
  B_TIMED_OUT = -ETIMEDOUT,
  B_NOT_SUPPORTED = -ENOTSUP,
  B_BUSY = -EBUSY,
  B_IO_ERROR = -EIO,
  B_ERROR = B_GENERAL_ERROR_BASE,
  B_NO_INIT = B_GENERAL_ERROR_BASE - 1,
  B_BAD_TYPE = B_GENERAL_ERROR_BASE - 2,
  B_BAD_INDEX = B_GENERAL_ERROR_BASE - 3,
  B_BAD_DATA = B_GENERAL_ERROR_BASE - 4,
  B_MISMATCHED_VALUES = B_GENERAL_ERROR_BASE - 5,
  B_BAD_PORT_ID = B_GENERAL_ERROR_BASE - 6,
  B_ALREADY_RUNNING = B_GENERAL_ERROR_BASE - 7,
  // An entry (a file, a folder entry, an attribute) that a lookup did not
  // find, and a name missing from a message.
  B_ENTRY_NOT_FOUND = B_GENERAL_ERROR_BASE - 8,
  B_NAME_NOT_FOUND = B_GENERAL_ERROR_BASE - 9,
};

// Waits without a time limit.
constexpr bigtime_t B_INFINITE_TIMEOUT = INT64_MAX;

// Readable text of a status code (the system's text for errno-based codes).
const char* StatusText(status_t status);

// Status of the last failed system call: the negated errno.
inline status_t StatusFromErrno(int error) { return error > 0 ? -error : B_ERROR; }

// Field and attribute type codes: four characters, first one most significant.
enum : type_code {
  B_ANY_TYPE = 'ANYT',
  B_BOOL_TYPE = 'BOOL',
  B_CHAR_TYPE = 'CHAR',
  B_INT8_TYPE = 'BYTE',
  B_INT16_TYPE = 'SHRT',
  B_INT32_TYPE = 'LONG',
  B_INT64_TYPE = 'LLNG',
  B_FLOAT_TYPE = 'FLOT',
  B_DOUBLE_TYPE = 'DBLE',
  B_STRING_TYPE = 'CSTR',
  B_POINTER_TYPE = 'PNTR',
  B_MESSENGER_TYPE = 'MSNG',
  B_RECT_TYPE = 'RECT',
  B_POINT_TYPE = 'BPNT',
  B_RAW_TYPE = 'RAWT',
  B_MESSAGE_TYPE = 'MSGG',
  B_MIME_TYPE = 'MIME',
};
