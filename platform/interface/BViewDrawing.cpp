// The drawing calls of BView: how the layer's inclusive coordinates map onto
// a Qt painter.
#include "platform/interface/BView.h"

#include "platform/interface/BBitmap.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Pixel (x, y) of a view is the unit square whose top-left corner is (x, y).
// Strokes run through pixel centres, so a 1-pixel line at x = 5 lights
// column 5; fills reach to the far edge of their last pixel, so an
// inclusive rectangle covers every pixel it names.
QPointF Centre(BPoint p)
{
  return QPointF(p.x + 0.5, p.y + 0.5);
}

QRectF CentreRect(BRect r)
{
  return QRectF(r.left + 0.5, r.top + 0.5, r.Width(), r.Height());
}

QRectF EdgeRect(BRect r)
{
  return QRectF(r.left, r.top, r.Width() + 1, r.Height() + 1);
}

BRect EllipseRect(BPoint center, float xRadius, float yRadius)
{
  return BRect(center.x - xRadius, center.y - yRadius, center.x + xRadius, center.y + yRadius);
}

int Degrees16(float degrees)
{
  return int(std::lround(degrees * 16));
}

QColor ToQColor(rgb_color c, bool withAlpha)
{
  return QColor(c.red, c.green, c.blue, withAlpha ? c.alpha : 255);
}

bool IsSolid(const pattern& p, uint8 bits)
{
  return std::all_of(std::begin(p.data), std::end(p.data), [bits](uint8 row) { return row == bits; });
}

Qt::PenCapStyle QtCap(cap_mode cap)
{
  switch (cap) {
  case B_ROUND_CAP: return Qt::RoundCap;
  case B_SQUARE_CAP: return Qt::SquareCap;
  case B_BUTT_CAP: break;
  }
  return Qt::FlatCap;
}

Qt::PenJoinStyle QtJoin(join_mode join)
{
  switch (join) {
  case B_ROUND_JOIN: return Qt::RoundJoin;
  case B_BEVEL_JOIN: return Qt::BevelJoin;
  case B_MITER_JOIN: break;
  }
  return Qt::MiterJoin;
}

// One row of a shape's pixels.
struct Span {
  int y;
  int left;
  int right;
};

// The pixel rows of a rounded rectangle on whole pixels: a pixel belongs to
// it when its centre lies inside the rectangle's outer edges with corners
// of radius r + 1/2, so that its outline runs through the pixel centres of
// the rectangle's edges, as a stroke does.
std::vector<Span> RoundRectSpans(BRect rect, float xRadius, float yRadius)
{
  const int l = int(std::lround(rect.left)), t = int(std::lround(rect.top));
  const int r = int(std::lround(rect.right)), b = int(std::lround(rect.bottom));
  std::vector<Span> spans;
  if (r < l || b < t)
    return spans;
  const double rx = std::clamp(double(xRadius) + 0.5, 0.5, (r - l + 1) / 2.0);
  const double ry = std::clamp(double(yRadius) + 0.5, 0.5, (b - t + 1) / 2.0);
  for (int y = t; y <= b; y++) {
    const double centre = y + 0.5;
    double intoCorner = 0;
    if (centre < t + ry)
      intoCorner = t + ry - centre;
    else if (centre > b + 1 - ry)
      intoCorner = centre - (b + 1 - ry);
    const double halfWidth = rx * std::sqrt(std::max(0.0, 1 - (intoCorner / ry) * (intoCorner / ry)));
    const int inset = std::max(0, int(std::ceil(rx - halfWidth - 0.5)));
    if (l + inset <= r - inset)
      spans.push_back({y, l + inset, r - inset});
  }
  return spans;
}

// Device pixels per view pixel: 2 on a screen scaled by 2, 1 in pictures.
// Views draw without scaling of their own, so the painter's scale is the
// device's (also when a widget is rendered into a scaled image).
qreal DeviceScale(const QPainter& painter)
{
  return std::max(qreal(1), painter.deviceTransform().m11());
}

// A rounded rectangle of view pixels in device pixels, for shapes that are
// built pixel by pixel: on a scaled screen they are built from the
// device's finer pixels, not blown up from the view's.
struct DeviceRoundRect {
  BRect rect;
  float xRadius;
  float yRadius;
};

DeviceRoundRect OnDevice(BRect rect, float xRadius, float yRadius, qreal scale)
{
  const auto edge = [scale](float coordinate) { return float(std::lround(coordinate * scale)); };
  // Pixel p covers p..p+1, device pixels p*scale up to (p+1)*scale.
  const BRect device(edge(rect.left), edge(rect.top), edge(rect.right + 1) - 1, edge(rect.bottom + 1) - 1);
  // The radius runs to the pixel centres of the edges: r + 1/2 view pixels.
  return {device, float((xRadius + 0.5) * scale - 0.5), float((yRadius + 0.5) * scale - 0.5)};
}

// Rows of pixel runs gathered into rectangles: a run over the same columns
// as one in the row above extends it, so that the straight sides of a
// rounded rectangle are filled at once rather than row by row. The runs
// are in device pixels, `scale` of them to a view pixel.
class RunRects {
public:
  explicit RunRects(qreal scale = 1) : fScale(scale) {}

  void Add(int y, int from, int to)
  {
    if (from > to)
      return;
    for (QRect& rect : fRects) {
      if (rect.left() == from && rect.right() == to && rect.bottom() == y - 1) {
        rect.setBottom(y);
        return;
      }
    }
    fRects.emplace_back(from, y, to - from + 1, 1);
  }
  void Fill(QPainter& painter, const QBrush& brush) const
  {
    for (const QRect& rect : fRects) {
      painter.fillRect(QRectF(rect.x() / fScale, rect.y() / fScale, rect.width() / fScale, rect.height() / fScale),
                       brush);
    }
  }

private:
  qreal fScale;
  std::vector<QRect> fRects;
};

} // namespace

// Opens the painter that the drawing calls use: the paint event's, or the
// locked bitmap's (moved to the view's place in it and clipped to the view).
// Outside both there is nothing to paint on: the view is scheduled for a
// repaint, which runs Draw again, and the scope is empty.
class BView::DrawScope {
public:
  explicit DrawScope(BView* view)
  {
    if (view->fPaintEventPainter) {
      // The paint event's painter serves this view alone, and every call
      // sets the pen, brush and font it draws with: nothing to put back.
      fPainter = view->fPaintEventPainter;
    } else if (view->fBitmap && view->fBitmap->fPainter) {
      fPainter = view->fBitmap->fPainter.get();
      fPainter->save();
      fSaved = fPainter;
      const BPoint origin = view->OffsetInRoot();
      fPainter->translate(origin.x, origin.y);
      fPainter->setClipRect(EdgeRect(view->Bounds()), Qt::IntersectClip);
    } else {
      view->Invalidate();
      return;
    }
    // Inverting works on whole pixels; everything else is smoothed.
    const bool invert = view->fDrawingMode == B_OP_INVERT;
    fPainter->setRenderHint(QPainter::Antialiasing, !invert);
    fPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    fPainter->setCompositionMode(invert ? QPainter::RasterOp_NotDestination
                                        : QPainter::CompositionMode_SourceOver);
  }
  ~DrawScope()
  {
    if (fSaved)
      fSaved->restore();
  }
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;

  explicit operator bool() const { return fPainter != nullptr; }
  QPainter* operator->() const { return fPainter; }
  QPainter& operator*() const { return *fPainter; }

private:
  QPainter* fPainter = nullptr;
  QPainter* fSaved = nullptr;  // the bitmap's painter, moved and clipped for the view
};

QBrush BView::PatternBrush(const pattern& p) const
{
  const bool alpha = fDrawingMode == B_OP_ALPHA;
  if (fDrawingMode == B_OP_ERASE || IsSolid(p, 0))
    return QBrush(ToQColor(fLowColor, alpha));
  if (fDrawingMode == B_OP_INVERT || IsSolid(p, 0xff))
    return QBrush(ToQColor(fHighColor, alpha));
  QImage tile(8, 8, QImage::Format_ARGB32);
  const QRgb high = ToQColor(fHighColor, alpha).rgba();
  const QRgb low = ToQColor(fLowColor, alpha).rgba();
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++)
      tile.setPixel(x, y, (p.data[y] & (0x80 >> x)) ? high : low);
  }
  return QBrush(tile);
}

QPen BView::StrokePen(const pattern& p) const
{
  // A 1-pixel line covers both of its end points.
  const bool thin = fPenSize <= 1;
  QPen pen(PatternBrush(p), thin ? 1.0 : fPenSize, Qt::SolidLine, thin ? Qt::SquareCap : QtCap(fCapMode),
           QtJoin(fJoinMode));
  pen.setMiterLimit(fMiterLimit);
  return pen;
}

void BView::StrokeLine(BPoint start, BPoint end, const pattern& p)
{
  DrawScope scope(this);
  if (!scope)
    return;
  scope->setPen(StrokePen(p));
  scope->drawLine(Centre(start), Centre(end));
}

void BView::StrokeRect(BRect rect, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  // The frame between two rectangles, so that the corners are as solid as
  // the edges.
  const qreal half = std::max(1.0f, fPenSize) / 2;
  const QRectF line = CentreRect(rect);
  QPainterPath frame;
  frame.setFillRule(Qt::OddEvenFill);
  frame.addRect(line.adjusted(-half, -half, half, half));
  if (line.width() > 2 * half && line.height() > 2 * half)
    frame.addRect(line.adjusted(half, half, -half, -half));
  scope->fillPath(frame, PatternBrush(p));
}

void BView::FillRect(BRect rect, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  scope->fillRect(EdgeRect(rect), PatternBrush(p));
}

void BView::StrokeRoundRect(BRect rect, float xRadius, float yRadius, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  if (fPenSize > 1) {
    scope->setPen(StrokePen(p));
    scope->setBrush(Qt::NoBrush);
    scope->drawRoundedRect(CentreRect(rect), xRadius, yRadius);
    return;
  }
  const qreal scale = DeviceScale(*scope);
  if (scale > 1) {
    // A view pixel wide on a scaled screen: the shape less the one a view
    // pixel inside it, both in device pixels.
    const DeviceRoundRect outer = OnDevice(rect, xRadius, yRadius, scale);
    const DeviceRoundRect inner =
        OnDevice(rect.InsetByCopy(1, 1), std::max(0.0f, xRadius - 1), std::max(0.0f, yRadius - 1), scale);
    const std::vector<Span> inside = RoundRectSpans(inner.rect, inner.xRadius, inner.yRadius);
    RunRects runs(scale);
    for (const Span& row : RoundRectSpans(outer.rect, outer.xRadius, outer.yRadius)) {
      const auto hole = std::find_if(inside.begin(), inside.end(), [&row](const Span& s) { return s.y == row.y; });
      if (hole == inside.end()) {
        runs.Add(row.y, row.left, row.right);
        continue;
      }
      runs.Add(row.y, row.left, hole->left - 1);
      runs.Add(row.y, hole->right + 1, row.right);
    }
    runs.Fill(*scope, PatternBrush(p));
    return;
  }
  // A thin outline is the edge of the filled shape, pixel by pixel: crisp,
  // the same on all four corners, and its straight runs end exactly where
  // the rectangle says (the entry fields join their boxes from pieces).
  const std::vector<Span> spans = RoundRectSpans(rect, xRadius, yRadius);
  RunRects runs;
  for (size_t i = 0; i < spans.size(); i++) {
    const Span& row = spans[i];
    const bool edge = i == 0 || i + 1 == spans.size();
    if (edge) {
      runs.Add(row.y, row.left, row.right);
      continue;
    }
    const Span& above = spans[i - 1];
    const Span& below = spans[i + 1];
    const int leftEnd = std::max(row.left, std::max(above.left, below.left) - 1);
    const int rightStart = std::min(row.right, std::min(above.right, below.right) + 1);
    runs.Add(row.y, row.left, std::min(leftEnd, rightStart - 1));
    runs.Add(row.y, std::max(rightStart, leftEnd + 1), row.right);
  }
  runs.Fill(*scope, PatternBrush(p));
}

void BView::FillRoundRect(BRect rect, float xRadius, float yRadius, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  const qreal scale = DeviceScale(*scope);
  const DeviceRoundRect shape = OnDevice(rect, xRadius, yRadius, scale);
  RunRects runs(scale);
  for (const Span& row : RoundRectSpans(shape.rect, shape.xRadius, shape.yRadius))
    runs.Add(row.y, row.left, row.right);
  runs.Fill(*scope, PatternBrush(p));
}

void BView::StrokeEllipse(BRect rect, const pattern& p)
{
  StrokeArc(rect, 0, 360, p);
}

void BView::StrokeEllipse(BPoint center, float xRadius, float yRadius, const pattern& p)
{
  StrokeArc(EllipseRect(center, xRadius, yRadius), 0, 360, p);
}

void BView::FillEllipse(BRect rect, const pattern& p)
{
  FillArc(rect, 0, 360, p);
}

void BView::FillEllipse(BPoint center, float xRadius, float yRadius, const pattern& p)
{
  FillArc(EllipseRect(center, xRadius, yRadius), 0, 360, p);
}

void BView::StrokeArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
                      const pattern& p)
{
  StrokeArc(EllipseRect(center, xRadius, yRadius), startAngle, arcAngle, p);
}

void BView::StrokeArc(BRect rect, float startAngle, float arcAngle, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  scope->setPen(StrokePen(p));
  scope->setBrush(Qt::NoBrush);
  scope->drawArc(CentreRect(rect), Degrees16(startAngle), Degrees16(arcAngle));
}

void BView::FillArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
                    const pattern& p)
{
  FillArc(EllipseRect(center, xRadius, yRadius), startAngle, arcAngle, p);
}

void BView::FillArc(BRect rect, float startAngle, float arcAngle, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  scope->setPen(Qt::NoPen);
  scope->setBrush(PatternBrush(p));
  if (std::fabs(arcAngle) >= 360)
    scope->drawEllipse(EdgeRect(rect));
  else
    scope->drawPie(EdgeRect(rect), Degrees16(startAngle), Degrees16(arcAngle));
}

void BView::StrokeTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p)
{
  DrawTriangle(p1, p2, p3, p, false);
}

void BView::FillTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p)
{
  DrawTriangle(p1, p2, p3, p, true);
}

void BView::DrawTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p, bool fill)
{
  DrawScope scope(this);
  if (!scope)
    return;
  // Drawn on whole pixels: a smoothed sharp corner would cover its corner
  // pixel only in part. Unsmoothed, a point lights the pixel it names.
  scope->setRenderHint(QPainter::Antialiasing, false);
  const QPointF corners[3] = {QPointF(p1.x, p1.y), QPointF(p2.x, p2.y), QPointF(p3.x, p3.y)};
  const QBrush brush = PatternBrush(p);
  scope->setPen(fill ? QPen(brush, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin) : StrokePen(p));
  scope->setBrush(fill ? brush : QBrush(Qt::NoBrush));
  scope->drawPolygon(corners, 3);
}

void BView::BeginLineArray(int32 count)
{
  fLineArray.clear();
  fLineArrayCapacity = std::max<int32>(0, count);
}

void BView::AddLine(BPoint start, BPoint end, rgb_color color)
{
  if (fLineArrayCapacity < 0 || int32(fLineArray.size()) >= fLineArrayCapacity)
    return;
  fLineArray.push_back({start, end, color});
}

void BView::EndLineArray()
{
  const std::vector<Line> lines = std::move(fLineArray);
  fLineArray.clear();
  fLineArrayCapacity = -1;
  const rgb_color high = fHighColor;
  for (const Line& line : lines) {
    fHighColor = line.color;
    StrokeLine(line.start, line.end);
  }
  fHighColor = high;
}

void BView::DrawString(const char* text, BPoint where)
{
  DrawScope scope(this);
  if (!scope || !text || !*text)
    return;
  scope->setFont(fFont.ToQFont());
  scope->setPen(QPen(PatternBrush(B_SOLID_HIGH), 1));
  scope->drawText(QPointF(where.x, where.y), QString::fromUtf8(text));
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
  if (!bitmap)
    return;
  // Bitmaps land on whole pixels, so they are never resampled.
  const BRect bounds = bitmap->Bounds();
  const float x = std::floor(where.x + 0.5f), y = std::floor(where.y + 0.5f);
  DrawBitmap(bitmap, bounds, BRect(x, y, x + bounds.Width(), y + bounds.Height()));
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
  DrawScope scope(this);
  if (!scope || !bitmap || !source.IsValid() || !destination.IsValid())
    return;
  // `source` is in the bitmap's bounds, which need not start at 0, 0.
  source.OffsetBy(-bitmap->Bounds().left, -bitmap->Bounds().top);
  scope->drawImage(EdgeRect(destination), bitmap->Image(), EdgeRect(source));
}
