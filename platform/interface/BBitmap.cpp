#include "platform/interface/BBitmap.h"

#include "platform/interface/BView.h"

#include <QPainter>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

std::array<rgb_color, 256> MakeSystemColors()
{
  std::array<rgb_color, 256> map{};
  for (int i = 0; i < 32; i++)
    map[i] = {uint8(i * 8), uint8(i * 8), uint8(i * 8), 255};
  for (int i = 0; i < 8; i++) {
    const uint8 level = uint8(32 * i + 31);
    map[32 + i] = {0, 0, level, 255};
    map[40 + i] = {level, 0, 0, 255};
    map[48 + i] = {0, level, 0, 255};
    if (i < 7)
      map[56 + i] = {uint8(36 * i + 39), uint8(36 * i + 39), 0, 255};
  }
  map[63] = {255, 255, 255, 255};
  static const uint8 kReds[4] = {0, 85, 170, 255};
  static const uint8 kGreens[8] = {0, 36, 73, 109, 146, 182, 219, 255};
  static const uint8 kBlues[6] = {0, 51, 102, 153, 204, 255};
  int index = 64;
  for (uint8 r : kReds) {
    for (uint8 g : kGreens) {
      for (uint8 b : kBlues)
        map[index++] = {r, g, b, 255};
    }
  }
  return map;
}

const std::array<rgb_color, 256> kSystemColors = MakeSystemColors();

QList<QRgb> SystemColorTable()
{
  QList<QRgb> table;
  table.reserve(256);
  for (const rgb_color& c : kSystemColors)
    table.append(qRgb(c.red, c.green, c.blue));
  return table;
}

QImage::Format FormatOf(color_space space)
{
  return space == B_CMAP8 ? QImage::Format_Indexed8 : QImage::Format_RGB32;
}

} // namespace

const rgb_color* system_colors()
{
  return kSystemColors.data();
}

uint8 index_for_color(rgb_color color)
{
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; i++) {
    const rgb_color& c = kSystemColors[size_t(i)];
    const long dr = c.red - color.red, dg = c.green - color.green, db = c.blue - color.blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return uint8(best);
}

BBitmap::BBitmap(BRect bounds, color_space space, bool acceptsViews, bool)
    : BBitmap(bounds, acceptsViews ? uint32(B_BITMAP_ACCEPTS_VIEWS) : 0u, space)
{
}

BBitmap::BBitmap(BRect bounds, uint32 flags, color_space space, int32, screen_id)
    : fBounds(bounds), fSpace(space), fFlags(flags)
{
  const double width = std::floor(bounds.Width()) + 1;
  const double height = std::floor(bounds.Height()) + 1;
  // Refuse empty and absurd sizes before asking for memory.
  if (!bounds.IsValid() || width * height > 1 << 28)
    return;
  fImage = QImage(int(width), int(height), FormatOf(space));
  if (fImage.isNull())
    return;
  if (space == B_CMAP8)
    fImage.setColorTable(SystemColorTable());
  if (flags & B_BITMAP_CLEAR_TO_WHITE) {
    if (space == B_CMAP8)
      fImage.fill(uint(index_for_color({255, 255, 255, 255})));
    else
      fImage.fill(Qt::white);
  } else if (space == B_CMAP8) {
    fImage.fill(0u);
  } else {
    fImage.fill(Qt::black);
  }
  if (flags & B_BITMAP_ACCEPTS_VIEWS)
    fRoot = BView::MakeBitmapRoot(this, BRect(0, 0, bounds.Width(), bounds.Height()));
}

BBitmap::~BBitmap()
{
  delete fRoot;
  fPainter.reset();
}

status_t BBitmap::InitCheck() const
{
  if (!fBounds.IsValid())
    return B_BAD_VALUE;
  return fImage.isNull() ? B_NO_MEMORY : B_OK;
}

void* BBitmap::Bits()
{
  return fImage.isNull() ? nullptr : fImage.bits();
}

const void* BBitmap::Bits() const
{
  return fImage.isNull() ? nullptr : fImage.constBits();
}

int32 BBitmap::BitsLength() const
{
  return int32(fImage.sizeInBytes());
}

int32 BBitmap::BytesPerRow() const
{
  return int32(fImage.bytesPerLine());
}

void BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space space)
{
  if (space != fSpace) {
    printf("BBitmap::SetBits: pixels of another colour space are not converted\n");
    return;
  }
  if (!data || length <= 0 || offset < 0 || offset >= BitsLength())
    return;
  memcpy(static_cast<uint8*>(Bits()) + offset, data, size_t(std::min(length, BitsLength() - offset)));
}

void BBitmap::AddChild(BView* view)
{
  if (!fRoot) {
    printf("BBitmap::AddChild: the bitmap does not accept views\n");
    return;
  }
  fRoot->AddChild(view);
}

bool BBitmap::RemoveChild(BView* view)
{
  return fRoot && fRoot->RemoveChild(view);
}

int32 BBitmap::CountChildren() const
{
  return fRoot ? fRoot->CountChildren() : 0;
}

BView* BBitmap::ChildAt(int32 index) const
{
  return fRoot ? fRoot->ChildAt(index) : nullptr;
}

BView* BBitmap::FindView(const char* name) const
{
  if (!fRoot)
    return nullptr;
  for (BView* child : fRoot->fChildren) {
    if (BView* found = child->FindView(name))
      return found;
  }
  return nullptr;
}

bool BBitmap::Lock()
{
  if (fImage.isNull())
    return false;
  // Qt paints only into colour images; views draw into B_RGB32 bitmaps.
  if (fLockCount++ == 0 && fRoot && fSpace == B_RGB32) {
    fPainter = std::make_unique<QPainter>(&fImage);
    if (!fPainter->isActive())
      fPainter.reset();
  }
  return true;
}

void BBitmap::Unlock()
{
  if (fLockCount == 0)
    return;
  if (--fLockCount == 0)
    fPainter.reset();
}
