// Bitmaps written as PNG, JPEG and GIF files and read back.
#include "platform/interface/BBitmap.h"
#include "platform/interface/ImageFormats.h"
#include "platform/storage/BFile.h"
#include "tests/platform/TempHome.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Four flat colours in the corners and, in the middle, a band of some
// thousand colours: more than a GIF palette holds.
void Paint(BBitmap* bitmap)
{
  auto* bits = static_cast<uint32*>(bitmap->Bits());
  const int32 perRow = bitmap->BytesPerRow() / 4;
  const int width = int(bitmap->Bounds().Width()) + 1, height = int(bitmap->Bounds().Height()) + 1;
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      uint32 pixel = 0xffd8d8d8;  // 216, 216, 216
      if (y < 8)
        pixel = x < width / 2 ? 0xffc8c8fe : 0xff12c5c5;
      else if (y >= height - 8)
        pixel = x < width / 2 ? 0xffc8fec8 : 0xffffffff;
      else if (y >= 20 && y < 40)
        pixel = 0xff000000u | uint32((x * 255 / width) << 16) | uint32((y - 20) * 12 << 8) | 0x80;
      bits[y * perRow + x] = pixel;
    }
  }
}

int Distance(QRgb a, QRgb b)
{
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST(ImageFormats, WrittenFilesReadBack)
{
  TempHome home;
  BBitmap bitmap(BRect(0, 0, 225, 170), B_RGB32);
  Paint(&bitmap);
  const QImage original = bitmap.Image();
  const struct {
    const char* format;
    uint32 code;
    int flatTolerance;      // summed over red, green and blue
    int gradientTolerance;  // the same, on average over the band
  } rows[] = {
      {"png", B_PNG_FORMAT, 0, 0},
      {"gif", B_GIF_FORMAT, 0, 20},  // flat colours stay exact in the palette
      {"jpeg", B_JPEG_FORMAT, 24, 12},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.format);
    const std::string path = home.Path(std::string("picture.") + row.format);
    {
      BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE);
      ASSERT_EQ(WriteBitmap(bitmap, &file, row.code), B_OK);
    }
    QImage read(QString::fromStdString(path), row.format);
    ASSERT_EQ(read.size(), QSize(226, 171));
    for (QPoint p : {QPoint(10, 3), QPoint(200, 3), QPoint(10, 167), QPoint(200, 167), QPoint(100, 100)})
      EXPECT_LE(Distance(read.pixel(p), original.pixel(p)), row.flatTolerance) << p.x() << "," << p.y();
    long sum = 0;
    for (int y = 20; y < 40; y++) {
      for (int x = 0; x < 226; x++)
        sum += Distance(read.pixel(x, y), original.pixel(x, y));
    }
    EXPECT_LE(sum / (20 * 226), row.gradientTolerance);
  }
}

TEST(ImageFormats, FailuresAreReported)
{
  TempHome home;
  BBitmap bitmap(BRect(0, 0, 9, 9), B_RGB32);
  BBitmap empty(BRect(0, 0, -1, -1), B_RGB32);
  BFile file(home.Path("out").c_str(), B_READ_WRITE | B_CREATE_FILE);
  BFile full("/dev/full", B_WRITE_ONLY);
  BFile readOnly(home.Path("out").c_str(), B_READ_ONLY);
  EXPECT_EQ(WriteBitmap(bitmap, &file, 'BMP '), B_BAD_VALUE) << "unknown format";
  EXPECT_EQ(WriteBitmap(empty, &file, B_PNG_FORMAT), B_BAD_VALUE) << "no pixels";
  EXPECT_EQ(WriteBitmap(bitmap, nullptr, B_PNG_FORMAT), B_BAD_VALUE) << "no file";
  EXPECT_EQ(WriteBitmap(bitmap, &full, B_GIF_FORMAT), -ENOSPC) << "full disk";
  EXPECT_EQ(WriteBitmap(bitmap, &readOnly, B_PNG_FORMAT), -EBADF) << "file not open for writing";
}

} // namespace
