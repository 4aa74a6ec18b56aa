// Writing a bitmap as a picture file: PNG through libpng, JPEG through
// Qt's image writer, GIF through giflib with the colours reduced to a 256-entry
// palette. This stands in for the translation kit's bitmap translators.
//
//   BFile file(path, B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE);
//   status_t status = WriteBitmap(bitmap, &file, B_GIF_FORMAT);
#pragma once

#include "platform/support/SupportDefs.h"

class BBitmap;
class BFile;

// Picture formats by their translator codes.
enum : uint32 {
  B_PNG_FORMAT = 'PNG ',
  B_GIF_FORMAT = 'GIF ',
  B_JPEG_FORMAT = 'JPEG',
};

// Encodes the bitmap in `format` and writes it to `file` at its current
// position. B_BAD_VALUE for another format, a bitmap without pixels or no
// file; B_ERROR when the encoder fails; the file's status when writing
// fails (B_IO_ERROR for a short write).
status_t WriteBitmap(const BBitmap& bitmap, BFile* file, uint32 format);
