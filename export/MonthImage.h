// Month pictures: one month of the calendar painted offscreen by the same
// month view the window shows, saved as a picture file for the HTML pages.
//
//   ImageFromMon(2004, 3, 0);   // $HOME/people/OrvelCal/Orvel200403.png
//   LocalImageSave("/tmp/march.gif", &bitmap);   // GIF, by the name
#pragma once

#include "platform/support/SupportDefs.h"

class BBitmap;

// Paints the month (1..12) into a 226 x 171 picture and writes it as PNG to
// the calendar folder, made when missing; when the picture cannot be made
// there it goes to the runtime folder ($XDG_RUNTIME_DIR, else the system's
// temporary folder) as Orvel<year><month>.png, the month without a leading
// zero. Today is not highlighted and no day is selected. The last argument
// is not used.
void ImageFromMon(long year, long month, int unused);

// Writes the bitmap to `path`, in the format its name asks for: PNG, or GIF
// when the path contains ".gif", or JPEG when it contains ".jpg" (this test
// comes last and wins). Returns 0 when written, -1 for no bitmap or a file
// that cannot be created, and the writer's negative status when encoding or
// writing failed; every failure is reported on standard output. The file is
// written whole: an old file at the path stays as it was until the new one
// is complete (platform/storage/AtomicFile.h). The bitmap stays the
// caller's.
int32 LocalImageSave(const char* path, BBitmap* bitmap);
