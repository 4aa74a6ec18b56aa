#include "export/MonthImage.h"

#include "export/CalendarFolder.h"
#include "platform/interface/BBitmap.h"
#include "platform/interface/ImageFormats.h"
#include "platform/storage/BDirectory.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/FindDirectory.h"
#include "views/DayView.h"
#include "views/MonView.h"

#include <cstdio>
#include <cstring>

void ImageFromMon(long year, long month, int)
{
  const std::string folder = CalendarFolder();
  BDirectory directory;
  if (directory.SetTo(folder.c_str()) != B_OK) {
    // The home folder may lack "people" on a fresh system; make it too.
    create_directory(folder.c_str(), 0755);
    printf("mkdir");
  }

  // Make sure the picture can be written before painting it. The probe
  // only makes and removes a temporary file beside it: an old picture stays
  // whole until the new one replaces it.
  std::string path = FileIn(folder, "Orvel%ld%02ld.png", year, month);
  status_t status = AtomicFile(path.c_str()).InitCheck();
  if (status != B_OK) {
    printf("Err\t%s %ld\n", path.c_str(), long(status));
    BPath runtime;
    find_directory(B_USER_RUNTIME_DIRECTORY, &runtime);
    path = FileIn(runtime.Path(), "Orvel%ld%ld.png", year, month);
    status = AtomicFile(path.c_str()).InitCheck();
    if (status != B_OK) {
      printf("\n and no ramdisk..\n\t%s %ld\n", path.c_str(), long(status));
      return;
    }
  }

  BBitmap bitmap(BRect(0, 0, 225, 170), B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS, B_RGB32,
                 B_ANY_BYTES_PER_ROW, B_MAIN_SCREEN_ID);
  bitmap.Lock();
  auto* view = new MonView(bitmap.Bounds(), "iMon", year, int(month), 31, true);
  view->fTextOffset = 10;
  bitmap.AddChild(view);

  view->fYear = int32(year);
  view->fMonth = int32(month);
  view->fDay = 1;
  view->DrawMonInfo();
  view->Draw(view->Bounds());
  view->DrawTable(false);
  // The picture shows no day as today. The index past the last cell finds
  // no child and says so.
  for (int32 index = 0; index <= view->CountChildren(); index++) {
    DayView* cell = view->CellAt(index);
    if (cell == nullptr) {
      printf("-");
      continue;
    }
    cell->fIsToday = false;
    cell->Draw(cell->Bounds());
  }

  // Views paint straight into the locked bitmap: nothing to wait for.
  LocalImageSave(path.c_str(), &bitmap);

  view->RemoveSelf();
  delete view;
  bitmap.Unlock();
}

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
  // Written beside the old picture and put in its place when complete.
  AtomicFile file(name);
  if (file.InitCheck() != B_OK) {
    printf("Error creat '%s'\n", name);
    return -1;
  }
  status_t status = WriteBitmap(*bitmap, &file.File(), format);
  if (status == B_OK)
    status = file.Commit();
  if (status != B_OK) {
    printf("Error writing '%s' %ld\n", name, long(status));
    return status;
  }
  return 0;
}
