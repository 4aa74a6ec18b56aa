#include "platform/interface/BFont.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kSystemFontSize = 10;

// Qt measures text only once its GUI application exists.
bool CanMeasure() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

BFont MakeBold()
{
  BFont font;
  font.SetBold(true);
  return font;
}

const BFont kPlain;
const BFont kBold = MakeBold();

} // namespace

const BFont* const be_plain_font = &kPlain;
const BFont* const be_bold_font = &kBold;

BFont::BFont() : fSize(kSystemFontSize), fBold(false) {}

BFont::BFont(const BFont* font) : BFont()
{
  if (font)
    *this = *font;
}

void BFont::SetSize(float size)
{
  // Qt cannot draw a font below one pixel; keep sizes drawable.
  fSize = std::isfinite(size) && size >= 1 ? size : 1;
}

void BFont::CopyFrom(const BFont& font, uint32 mask)
{
  if (mask & B_FONT_FAMILY_AND_STYLE)
    fBold = font.fBold;
  if (mask & B_FONT_SIZE)
    fSize = font.fSize;
}

QFont BFont::ToQFont() const
{
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, int(std::lround(fSize))));
  font.setBold(fBold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

float BFont::StringWidth(const char* text) const
{
  return text ? StringWidth(text, int32(strlen(text))) : 0;
}

float BFont::StringWidth(const char* text, int32 length) const
{
  if (!text || length <= 0 || !CanMeasure())
    return 0;
  QFontMetricsF metrics(ToQFont());
  return float(metrics.horizontalAdvance(QString::fromUtf8(text, length)));
}

void BFont::GetHeight(float* ascent, float* descent, float* leading) const
{
  float a = 0, d = 0, l = 0;
  if (CanMeasure()) {
    QFontMetricsF metrics(ToQFont());
    a = float(metrics.ascent());
    d = float(metrics.descent());
    l = float(metrics.leading());
  }
  if (ascent)
    *ascent = a;
  if (descent)
    *descent = d;
  if (leading)
    *leading = l;
}
