// Basic types of the platform layer: fixed-width integers, status codes and
// attribute/field type codes.
//
// Status codes are 0 for success and negative otherwise; codes that come
// from a failed system call are the negated errno, so StatusText() can give
// the system's own error text:
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

enum : status_t {
  B_OK = 0,
  B_ERROR = -1,
  B_NO_MEMORY = -ENOMEM,
  B_BAD_VALUE = -EINVAL,
  B_ENTRY_NOT_FOUND = -ENOENT,
  B_NAME_NOT_FOUND = -ENOENT,
  B_FILE_EXISTS = -EEXIST,
  B_PERMISSION_DENIED = -EACCES,
  B_NOT_ALLOWED = -EPERM,
  B_TIMED_OUT = -ETIMEDOUT,
  B_NOT_SUPPORTED = -ENOTSUP,
  B_BUSY = -EBUSY,
  B_IO_ERROR = -EIO,
  B_NO_INIT = -1000,
  B_BAD_TYPE = -1001,
  B_BAD_INDEX = -1002,
  B_BAD_DATA = -1003,
  B_MISMATCHED_VALUES = -1004,
  B_BAD_PORT_ID = -1005,
  B_ALREADY_RUNNING = -1006,
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
