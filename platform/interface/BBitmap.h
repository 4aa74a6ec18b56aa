// A bitmap: pixels in memory, in one of two colour spaces. B_CMAP8 holds
// one byte a pixel, an index into the system colour map (system_colors());
// B_RGB32 holds blue, green, red and an unused byte.
//
// A bitmap made with B_BITMAP_ACCEPTS_VIEWS is an offscreen drawing target:
// views added to it draw into its pixels while it is locked.
//
//   BBitmap bitmap(BRect(0, 0, 225, 170), B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS, B_RGB32);
//   bitmap.Lock();
//   bitmap.AddChild(view);
//   view->Draw(view->Bounds());   // paints into the bitmap
//   view->RemoveSelf();
//   bitmap.Unlock();
#pragma once

#include "platform/support/BRect.h"
#include "platform/interface/GraphicsDefs.h"

#include <QImage>

#include <memory>

class BView;
class QPainter;

enum : uint32 {
  B_BITMAP_CLEAR_TO_WHITE = 0x1,
  B_BITMAP_ACCEPTS_VIEWS = 0x2,
};
enum : int32 { B_ANY_BYTES_PER_ROW = -1 };

struct screen_id {
  int32 id;
};
inline constexpr screen_id B_MAIN_SCREEN_ID = {0};

// The 256 colours of B_CMAP8 pixels: indices 0..31 a grey ramp (index i is
// grey 8 i), 32..62 ramps of blue, red, green and yellow, 63 white, and
// 64..255 a colour cube of 4 reds, 8 greens and 6 blues.
const rgb_color* system_colors();
// The index of the system colour nearest to `color`.
uint8 index_for_color(rgb_color color);

class BBitmap {
public:
  BBitmap(BRect bounds, color_space space, bool acceptsViews = false, bool needsContiguous = false);
  BBitmap(BRect bounds, uint32 flags, color_space space, int32 bytesPerRow = B_ANY_BYTES_PER_ROW,
          screen_id screen = B_MAIN_SCREEN_ID);
  ~BBitmap(); // deletes the views still added to it
  BBitmap(const BBitmap&) = delete;
  BBitmap& operator=(const BBitmap&) = delete;

  // B_BAD_VALUE for bounds that hold no pixel, B_NO_MEMORY when the pixels
  // could not be had.
  status_t InitCheck() const;
  bool IsValid() const { return InitCheck() == B_OK; }
  BRect Bounds() const { return fBounds; }
  color_space ColorSpace() const { return fSpace; }

  void* Bits();
  const void* Bits() const;
  int32 BitsLength() const;
  int32 BytesPerRow() const;
  // Copies `length` bytes of pixels, row after row at BytesPerRow(), to
  // byte `offset` of the bits; bytes beyond the bitmap are not written.
  // `space` must be the bitmap's own colour space.
  void SetBits(const void* data, int32 length, int32 offset, color_space space);

  // Views. AddChild needs B_BITMAP_ACCEPTS_VIEWS.
  void AddChild(BView* view);
  bool RemoveChild(BView* view);
  int32 CountChildren() const;
  BView* ChildAt(int32 index) const;
  BView* FindView(const char* name) const;

  // While locked (recursively), the bitmap's views draw into its pixels.
  bool Lock();
  void Unlock();
  bool IsLocked() const { return fLockCount > 0; }

  // The pixels as a Qt image, for drawing the bitmap and saving it.
  const QImage& Image() const { return fImage; }

private:
  friend class BView;

  QImage fImage;
  BRect fBounds;
  color_space fSpace;
  uint32 fFlags;
  int32 fLockCount = 0;
  std::unique_ptr<QPainter> fPainter;
  BView* fRoot = nullptr;
};
