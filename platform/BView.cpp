#include "platform/BView.h"

#include "platform/BBitmap.h"
#include "platform/BMessage.h"
#include "platform/BWindow.h"
#include "platform/ViewWidget.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

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
      fPainter = view->fPaintEventPainter;
      fPainter->save();
    } else if (view->fBitmap && view->fBitmap->fPainter) {
      fPainter = view->fBitmap->fPainter.get();
      fPainter->save();
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
    if (fPainter)
      fPainter->restore();
  }
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;

  explicit operator bool() const { return fPainter != nullptr; }
  QPainter* operator->() const { return fPainter; }

private:
  QPainter* fPainter = nullptr;
};

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags, nullptr)
{
}

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags, QWidget* widget)
    : BHandler(name), fFrame(frame), fResizingMode(resizingMode), fFlags(flags)
{
  fWidget = widget ? widget : new ViewWidget(this);
  fWidget->hide();
  fWidget->setFont(fFont.ToQFont());
  ApplyGeometry();
}

BView::~BView()
{
  if (fParent)
    fParent->RemoveChild(this);
  while (!fChildren.empty())
    delete fChildren.back();
  delete fWidget.data();
}

BView* BView::MakeWindowRoot(BWindow* window, QWidget* host)
{
  const QSize size = host->size();
  auto* root = new BView(BRect(0, 0, float(size.width() - 1), float(size.height() - 1)), "_top_view_",
                         B_FOLLOW_ALL_SIDES, 0);
  root->fIsRoot = true;
  root->fWindow = window;
  root->fViewColor = B_TRANSPARENT_COLOR;
  root->fWidget->setParent(host);
  root->ApplyGeometry();
  root->fWidget->show();
  static_cast<ViewWidget*>(root->fWidget.data())->FollowHost(host);
  return root;
}

BView* BView::MakeBitmapRoot(BBitmap* bitmap, BRect bounds)
{
  auto* root = new BView(bounds, "_bitmap_view_", B_FOLLOW_NONE, 0);
  root->fIsRoot = true;
  root->fBitmap = bitmap;
  return root;
}

BView* BView::Root()
{
  BView* view = this;
  while (view && !view->fIsRoot)
    view = view->fParent;
  return view;
}

// Hooks: views that do not override them ignore the input.
void BView::AttachedToWindow() {}
void BView::DetachedFromWindow() {}
void BView::Draw(BRect) {}
void BView::MouseDown(BPoint) {}
void BView::MouseUp(BPoint) {}
void BView::MouseMoved(BPoint, uint32, const BMessage*) {}
void BView::KeyDown(const char*, int32) {}
void BView::KeyUp(const char*, int32) {}

void BView::MessageReceived(BMessage* message)
{
  BHandler::MessageReceived(message);
}

void BView::AddChild(BView* child, BView* before)
{
  if (!child || child == this || child->fIsRoot) {
    printf("BView::AddChild: bad child view\n");
    return;
  }
  if (child->fParent) {
    printf("BView::AddChild: '%s' already has a parent\n", child->Name());
    return;
  }
  auto at = std::find(fChildren.begin(), fChildren.end(), before);
  fChildren.insert(at, child);
  child->fParent = this;
  child->fWidget->setParent(fWidget);
  if (at != fChildren.end() && before)
    child->fWidget->stackUnder(before->fWidget);
  child->ApplyGeometry();
  child->ApplyVisibility();
  if (!fIsRoot)
    child->SetNextHandler(this);
  else if (fWindow)
    child->SetNextHandler(fWindow);
  child->SetBitmap(fBitmap);
  if (fWindow)
    child->Attach(fWindow);
}

bool BView::RemoveChild(BView* child)
{
  if (!child || child->fParent != this)
    return false;
  child->Detach();
  fChildren.erase(std::remove(fChildren.begin(), fChildren.end(), child), fChildren.end());
  child->fParent = nullptr;
  child->SetNextHandler(nullptr);
  child->SetBitmap(nullptr);
  if (child->fWidget) {
    child->fWidget->hide();
    child->fWidget->setParent(nullptr);
  }
  return true;
}

bool BView::RemoveSelf()
{
  return fParent && fParent->RemoveChild(this);
}

BView* BView::Parent() const
{
  return fParent && !fParent->fIsRoot ? fParent : nullptr;
}

BWindow* BView::Window() const
{
  return fWindow;
}

BView* BView::ChildAt(int32 index) const
{
  if (index < 0 || index >= CountChildren())
    return nullptr;
  return fChildren[size_t(index)];
}

int32 BView::CountChildren() const
{
  return int32(fChildren.size());
}

BView* BView::FindView(const char* name) const
{
  if (!name)
    return nullptr;
  if (strcmp(Name(), name) == 0)
    return const_cast<BView*>(this);
  for (BView* child : fChildren) {
    if (BView* found = child->FindView(name))
      return found;
  }
  return nullptr;
}

void BView::Attach(BWindow* window)
{
  // Children that AttachedToWindow adds attach at once; the loop below
  // skips them.
  if (fWindow == window)
    return;
  fWindow = window;
  window->AddHandler(this);
  AttachedToWindow();
  const std::vector<BView*> children = fChildren;
  for (BView* child : children)
    child->Attach(window);
}

void BView::Detach()
{
  if (!fWindow)
    return;
  DetachedFromWindow();
  for (BView* child : fChildren)
    child->Detach();
  BView* root = Root();
  if (root && root->fFocus == this)
    root->fFocus = nullptr;
  fWindow->RemoveHandler(this);
  fWindow = nullptr;
}

void BView::SetBitmap(BBitmap* bitmap)
{
  fBitmap = bitmap;
  for (BView* child : fChildren)
    child->SetBitmap(bitmap);
}

BPoint BView::OffsetInRoot() const
{
  BPoint offset;
  for (const BView* view = this; view && !view->fIsRoot; view = view->fParent)
    offset = offset + view->fFrame.LeftTop();
  return offset;
}

void BView::MoveTo(float x, float y)
{
  BRect frame = fFrame;
  frame.OffsetTo(x, y);
  SetFrame(frame);
}

void BView::ResizeTo(float width, float height)
{
  SetFrame(BRect(fFrame.left, fFrame.top, fFrame.left + width, fFrame.top + height));
}

void BView::SetFrame(BRect frame)
{
  const float dw = frame.Width() - fFrame.Width();
  const float dh = frame.Height() - fFrame.Height();
  fFrame = frame;
  ApplyGeometry();
  if (dw != 0 || dh != 0) {
    for (BView* child : fChildren)
      child->FollowParent(dw, dh);
  }
}

void BView::FollowParent(float dw, float dh)
{
  BRect frame = fFrame;
  switch (fResizingMode & 0x0f) {
  case B_FOLLOW_RIGHT: frame.OffsetBy(dw, 0); break;
  case B_FOLLOW_LEFT_RIGHT: frame.right += dw; break;
  case B_FOLLOW_H_CENTER: frame.OffsetBy(dw / 2, 0); break;
  default: break;
  }
  switch (fResizingMode & 0xf0) {
  case B_FOLLOW_BOTTOM: frame.OffsetBy(0, dh); break;
  case B_FOLLOW_TOP_BOTTOM: frame.bottom += dh; break;
  case B_FOLLOW_V_CENTER: frame.OffsetBy(0, dh / 2); break;
  default: break;
  }
  if (frame != fFrame)
    SetFrame(frame);
}

void BView::ApplyGeometry()
{
  if (!fWidget)
    return;
  // Rounding both edges (not the width) keeps neighbouring views with
  // fractional frames from overlapping or leaving gaps.
  const int left = int(std::lround(fFrame.left));
  const int top = int(std::lround(fFrame.top));
  const int width = std::max(0, int(std::lround(fFrame.right)) - left + 1);
  const int height = std::max(0, int(std::lround(fFrame.bottom)) - top + 1);
  fWidget->setGeometry(left, top, width, height);
}

void BView::ApplyVisibility()
{
  // A view outside a window has no place on screen: its widget stays
  // hidden, or Qt would show it as a window of its own.
  if (fWidget && fWidget->parentWidget())
    fWidget->setVisible(!fHidden);
}

void BView::SetFlags(uint32 flags)
{
  fFlags = flags;
  Invalidate();
}

void BView::Show()
{
  fHidden = false;
  ApplyVisibility();
}

void BView::Hide()
{
  fHidden = true;
  ApplyVisibility();
}

void BView::Invalidate()
{
  if (fWidget)
    fWidget->update();
}

void BView::Invalidate(BRect rect)
{
  if (fWidget && rect.IsValid())
    fWidget->update(EdgeRect(rect).toAlignedRect());
}

void BView::MakeFocus(bool focus)
{
  BView* root = Root();
  if (!fWindow || !root)
    return;
  if (focus) {
    root->fFocus = this;
    if (fWidget)
      fWidget->setFocus(Qt::OtherFocusReason);
  } else if (root->fFocus == this) {
    root->fFocus = nullptr;
    if (fWidget)
      fWidget->clearFocus();
  }
}

bool BView::IsFocus() const
{
  const BView* view = this;
  while (view && !view->fIsRoot)
    view = view->fParent;
  return view && view->fFocus == this;
}

void BView::SetMouseEvent(BPoint where, uint32 buttons)
{
  fMouseWhere = where;
  fMouseButtons = buttons;
  fMouseEventActive = true;
}

void BView::GetMouse(BPoint* location, uint32* buttons, bool)
{
  BPoint where = fMouseWhere;
  uint32 pressed = fMouseButtons;
  if (!fMouseEventActive && fWidget && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    const QPoint p = fWidget->mapFromGlobal(QCursor::pos());
    where = BPoint(float(p.x()), float(p.y()));
    pressed = MouseButtons(QGuiApplication::mouseButtons());
  }
  if (location)
    *location = where;
  if (buttons)
    *buttons = pressed;
}

void BView::SetToolTip(const char* text)
{
  if (fWidget)
    fWidget->setToolTip(QString::fromUtf8(text ? text : ""));
}

void BView::SetViewColor(rgb_color color)
{
  fViewColor = color;
  fViewColorSet = true;
  Invalidate();
}

void BView::SetFont(const BFont* font, uint32 mask)
{
  if (!font)
    return;
  fFont.CopyFrom(*font, mask);
  if (fWidget)
    fWidget->setFont(fFont.ToQFont());
}

void BView::GetFont(BFont* font) const
{
  if (font)
    *font = fFont;
}

void BView::SetFontSize(float size)
{
  BFont font(fFont);
  font.SetSize(size);
  SetFont(&font, B_FONT_SIZE);
}

void BView::SetLineMode(cap_mode cap, join_mode join, float miterLimit)
{
  fCapMode = cap;
  fJoinMode = join;
  fMiterLimit = miterLimit;
}

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
  scope->setPen(StrokePen(p));
  scope->setBrush(Qt::NoBrush);
  scope->drawRoundedRect(CentreRect(rect), xRadius, yRadius);
}

void BView::FillRoundRect(BRect rect, float xRadius, float yRadius, const pattern& p)
{
  DrawScope scope(this);
  if (!scope || !rect.IsValid())
    return;
  QPainterPath path;
  path.addRoundedRect(EdgeRect(rect), xRadius, yRadius);
  scope->fillPath(path, PatternBrush(p));
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
