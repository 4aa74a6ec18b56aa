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
  case B_ENTRY_NOT_FOUND: return "Entry not found";
  case B_NAME_NOT_FOUND: return "Name not found";
  default: break;
  }
  if (status < 0 && status > B_GENERAL_ERROR_BASE)
    return strerror(-status);
  return "Unknown error";
}
