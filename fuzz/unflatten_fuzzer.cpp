// Feeds arbitrary bytes to BMessage::Unflatten. Whatever it accepts must
// flatten back to exactly the same bytes, and every field must read and
// print without fault; everything else must be refused cleanly.
#include "platform/messaging/BMessage.h"
#include "platform/messaging/BMessenger.h"

#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // The dump is exercised, not read.
  if (freopen("/dev/null", "w", stdout) == nullptr)
    abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  BMessage message;
  if (message.Unflatten(reinterpret_cast<const char*>(data), size) != B_OK) {
    if (!message.IsEmpty() || message.what != 0)
      abort();
    return 0;
  }
  std::string flat;
  if (message.Flatten(&flat) != B_OK || flat != std::string(reinterpret_cast<const char*>(data), size))
    abort();

  const char* name;
  type_code type;
  int32 count;
  for (int32 i = 0; message.GetInfo(B_ANY_TYPE, i, &name, &type, &count) == B_OK; i++) {
    for (int32 v = 0; v < count; v++) {
      const void* bytes;
      ssize_t length;
      if (message.FindData(name, type, v, &bytes, &length) != B_OK)
        abort();
      if (type == B_MESSAGE_TYPE) {
        BMessage nested;
        if (message.FindMessage(name, v, &nested) != B_OK)
          abort();
      } else if (type == B_MESSENGER_TYPE) {
        BMessenger messenger;
        if (message.FindMessenger(name, v, &messenger) != B_OK)
          abort();
      }
    }
  }
  message.PrintToStream();
  return 0;
}
