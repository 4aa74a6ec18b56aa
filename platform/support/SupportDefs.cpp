#include "platform/support/SupportDefs.h"

#include <cstring>

const char* StatusText(status_t status)
{
  switch (status) {
  case B_OK: return "No error";
  case B_ERROR: return "General error";
  case B_NO_INIT: return "Not initialized";
  case B_BAD_TYPE: return "Bad type";
  case B_BAD_INDEX: return "Bad index";
  case B_BAD_DATA: return "Bad data";
  case B_MISMATCHED_VALUES: return "Mismatched values";
  case B_BAD_PORT_ID: return "Bad port ID";
  case B_ALREADY_RUNNING: return "Already running";
  default: break;
  }
  if (status < 0 && status > -4096)
    return strerror(-status);
  return "Unknown error";
}
