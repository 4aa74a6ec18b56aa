#include "export/MonthImage.h"

#include "platform/interface/BBitmap.h"
#include "platform/interface/ImageFormats.h"
#include "platform/storage/BFile.h"

#include <cstdio>
#include <cstring>

int32 LocalImageSave(const char* path, BBitmap* bitmap)
{
  const char* name = path != nullptr ? path : "";
  uint32 format = B_PNG_FORMAT;
  if (strstr(name, ".gif") != nullptr)
    format = B_GIF_FORMAT;
  if (strstr(name, ".jpg") != nullptr)
    format = B_JPEG_FORMAT;

  if (bitmap == nullptr) {
    printf("Error Bitmap is NULL \n");
    return -1;
  }
  BFile file(name, B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE);
  if (file.InitCheck() != B_OK) {
    printf("Error creat '%s'\n", name);
    return -1;
  }
  const status_t status = WriteBitmap(*bitmap, &file, format);
  if (status != B_OK) {
    printf("Error writing '%s' %ld\n", name, long(status));
    return status;
  }
  return 0;
}
