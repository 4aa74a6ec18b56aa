#include "platform/interface/ImageFormats.h"

#include "platform/interface/BBitmap.h"
#include "platform/storage/BFile.h"

#include <QBuffer>
#include <QImageWriter>

#include <gif_lib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

// Reduces the picture to at most 256 colours. A picture of at most 256
// colours keeps them all. Otherwise the colours that cover at least 1/256
// of it (flat areas: panels, fills, backgrounds; at most 128 of them) keep
// entries of their own, and giflib's median cut shares the other entries
// among the remaining pixels.
bool Quantise(const QImage& image, std::vector<GifByteType>* indexes,
              std::array<GifColorType, 256>* palette)
{
  const size_t count = size_t(image.width()) * size_t(image.height());
  std::vector<QRgb> pixels;
  pixels.reserve(count);
  for (int y = 0; y < image.height(); y++) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    pixels.insert(pixels.end(), line, line + image.width());
  }
  std::unordered_map<QRgb, uint32> tally;
  for (QRgb pixel : pixels)
    tally[pixel | 0xff000000u]++;

  std::vector<std::pair<uint32, QRgb>> own;
  for (const auto& [colour, pixelCount] : tally) {
    if (tally.size() <= palette->size() || pixelCount * palette->size() >= count)
      own.emplace_back(pixelCount, colour);
  }
  std::sort(own.rbegin(), own.rend());
  if (tally.size() > palette->size() && own.size() > palette->size() / 2)
    own.resize(palette->size() / 2);
  std::unordered_map<QRgb, GifByteType> entries;
  for (size_t k = 0; k < own.size(); k++) {
    entries[own[k].second] = GifByteType(k);
    (*palette)[k] = {GifByteType(qRed(own[k].second)), GifByteType(qGreen(own[k].second)),
                     GifByteType(qBlue(own[k].second))};
  }

  indexes->assign(count, 0);
  std::vector<size_t> rest;
  std::vector<GifByteType> red, green, blue;
  for (size_t i = 0; i < count; i++) {
    auto found = entries.find(pixels[i] | 0xff000000u);
    if (found != entries.end()) {
      (*indexes)[i] = found->second;
      continue;
    }
    rest.push_back(i);
    red.push_back(GifByteType(qRed(pixels[i])));
    green.push_back(GifByteType(qGreen(pixels[i])));
    blue.push_back(GifByteType(qBlue(pixels[i])));
  }
  if (rest.empty())
    return true;
  std::vector<GifByteType> shared(rest.size());
  int size = int(palette->size() - own.size());
  if (GifQuantizeBuffer(unsigned(rest.size()), 1, &size, red.data(), green.data(), blue.data(),
                        shared.data(), palette->data() + own.size()) != GIF_OK)
    return false;
  for (size_t j = 0; j < rest.size(); j++)
    (*indexes)[rest[j]] = GifByteType(own.size() + shared[j]);
  return true;
}

bool EncodeGif(const QImage& source, QByteArray* out)
{
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  std::vector<GifByteType> indexes;
  std::array<GifColorType, 256> palette{};
  if (!Quantise(image, &indexes, &palette))
    return false;

  ColorMapObject* map = GifMakeMapObject(int(palette.size()), palette.data());
  int error = 0;
  GifFileType* gif = map ? EGifOpen(out, AppendToBuffer, &error) : nullptr;
  if (!gif) {
    GifFreeMapObject(map);
    return false;
  }
  const int width = image.width(), height = image.height();
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < height; y++)
    ok = EGifPutLine(gif, indexes.data() + size_t(y) * size_t(width), width) == GIF_OK;
  // Closing writes the trailer and frees the writer, also after a failure.
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  GifFreeMapObject(map);
  return ok;
}

void AppendPng(png_structp png, png_bytep data, size_t length)
{
  static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void FlushPng(png_structp) {}

// Red, green and blue, every row unfiltered, at zlib's fastest level.
// Pictures of flat colours and text come out smaller this way than with
// libpng's adaptive filters and take a quarter of the time. libpng reports
// errors by a long jump back to setjmp, so nothing in this frame has a
// destructor.
bool EncodePng(const QImage& image, QByteArray* out)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendPng, FlushPng);
  png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, Z_BEST_SPEED);
  png_write_info(png, info);
  // A Format_RGB32 pixel is one 32-bit word 0xffRRGGBB: the unused byte
  // comes last in memory on little-endian machines and first on big-endian.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
  png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
  for (int y = 0; y < image.height(); y++)
    png_write_row(png, image.constScanLine(y));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool EncodeJpeg(const QImage& image, QByteArray* out)
{
  QBuffer buffer(out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  return writer.write(image);
}

} // namespace

status_t WriteBitmap(const BBitmap& bitmap, BFile* file, uint32 format)
{
  if (bitmap.InitCheck() != B_OK || file == nullptr)
    return B_BAD_VALUE;
  QByteArray bytes;
  bool encoded = false;
  switch (format) {
  case B_PNG_FORMAT: encoded = EncodePng(bitmap.Image().convertToFormat(QImage::Format_RGB32), &bytes); break;
  case B_JPEG_FORMAT: encoded = EncodeJpeg(bitmap.Image(), &bytes); break;
  case B_GIF_FORMAT: encoded = EncodeGif(bitmap.Image(), &bytes); break;
  default: return B_BAD_VALUE;
  }
  if (!encoded)
    return B_ERROR;
  const ssize_t written = file->Write(bytes.constData(), size_t(bytes.size()));
  if (written < 0)
    return status_t(written);
  return written == bytes.size() ? B_OK : B_IO_ERROR;
}
