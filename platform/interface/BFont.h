// Fonts: a family, a face (plain or bold) and a size in pixels. The system
// fonts are DejaVu Sans, so text measures and looks the same on every
// machine.
//
//   BFont font(be_bold_font);
//   font.SetSize(11);
//   float w = font.StringWidth("Jan.");
#pragma once

#include "platform/support/SupportDefs.h"

#include <QFont>

// Which properties SetFont copies from a font.
enum : uint32 {
  B_FONT_FAMILY_AND_STYLE = 0x1,
  B_FONT_SIZE = 0x2,
  B_FONT_ALL = 0xff,
};

class BFont {
public:
  BFont(); // the plain system font
  BFont(const BFont* font);

  void SetSize(float size);
  float Size() const { return fSize; }
  bool IsBold() const { return fBold; }
  void SetBold(bool bold) { fBold = bold; }

  // Copies the properties of `mask` from another font.
  void CopyFrom(const BFont& font, uint32 mask);

  float StringWidth(const char* text) const;
  float StringWidth(const char* text, int32 length) const;
  // Ascent, descent and leading in pixels.
  void GetHeight(float* ascent, float* descent, float* leading) const;

  // The Qt font that draws this font: pixel-sized so that it measures the
  // same on a screen, in an image and in a printout.
  QFont ToQFont() const;

  bool operator==(const BFont& o) const { return fBold == o.fBold && fSize == o.fSize; }
  bool operator!=(const BFont& o) const { return !(*this == o); }

private:
  float fSize;
  bool fBold;
};

// The plain and the bold system font, 10 pixels.
extern const BFont* const be_plain_font;
extern const BFont* const be_bold_font;
