#include "platform/interface/BView.h"

#include "platform/interface/BWindow.h"
#include "platform/interface/ViewAccessible.h"
#include "platform/interface/ViewWidget.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags, nullptr)
{
}

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags, QWidget* widget)
    : BHandler(name),
      fFrame(frame),
      fResizingMode(resizingMode),
      fFlags(flags),
      fDrawnByParent(widget == nullptr && (flags & B_DRAWN_BY_PARENT))
{
  if (fDrawnByParent)
    return;
  fWidget = widget ? widget : new ViewWidget(this);
  fWidget->hide();
  fWidget->setFont(fFont.ToQFont());
  ApplyGeometry();
}

BView::~BView()
{
  ForgetViewAccessible(this);
  // The children are still whole here, so their own hooks hear of the
  // detach (a window's root view detaches everything it holds).
  if (fParent)
    fParent->RemoveChild(this);
  else
    Detach();
  while (!fChildren.empty())
    delete fChildren.back();
  if (auto* own = dynamic_cast<ViewWidget*>(fWidget.data()))
    own->Release();
  else
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

bool BView::GetAccessibleInfo(accessible_info*) const
{
  return false;
}

void BView::AccessibleChanged(accessible_change change)
{
  AnnounceViewChange(this, change);
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
  if (fDrawnByParent && !child->fDrawnByParent) {
    printf("BView::AddChild: '%s' is drawn by its parent and cannot hold '%s'\n", Name(), child->Name());
    return;
  }
  auto at = std::find(fChildren.begin(), fChildren.end(), before);
  fChildren.insert(at, child);
  child->fParent = this;
  if (child->fWidget) {
    child->fWidget->setParent(fWidget);
    if (at != fChildren.end() && before && before->fWidget)
      child->fWidget->stackUnder(before->fWidget);
  }
  child->ApplyGeometry();
  child->ApplyVisibility();
  if (!fIsRoot)
    child->SetNextHandler(this);
  else if (fWindow)
    child->SetNextHandler(fWindow);
  child->SetBitmap(fBitmap);
  if (fWindow)
    child->Attach(fWindow);
  if (child->fDrawnByParent)
    AnnounceViewAdded(child);
}

bool BView::RemoveChild(BView* child)
{
  if (!child || child->fParent != this)
    return false;
  if (child->fDrawnByParent)
    ForgetViewAccessible(child);
  child->Detach();
  if (child->fDrawnByParent && !child->fHidden)
    child->Invalidate();
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
  // A view drawn by its parent leaves its old place to be painted over.
  if (fDrawnByParent && !fHidden)
    Invalidate();
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

QRect BView::PixelFrame() const
{
  // Rounding both edges (not the width) keeps neighbouring views with
  // fractional frames from overlapping or leaving gaps.
  const int left = int(std::lround(fFrame.left));
  const int top = int(std::lround(fFrame.top));
  const int width = std::max(0, int(std::lround(fFrame.right)) - left + 1);
  const int height = std::max(0, int(std::lround(fFrame.bottom)) - top + 1);
  return QRect(left, top, width, height);
}

QRect BView::AreaInHost() const
{
  QRect area = PixelFrame();
  for (const BView* view = fParent; view && view->fDrawnByParent; view = view->fParent)
    area.translate(view->PixelFrame().topLeft());
  return area;
}

QWidget* BView::Host(QPoint* offset) const
{
  const BView* view = this;
  while (view && view->fDrawnByParent)
    view = view->fParent;
  if (offset)
    *offset = fDrawnByParent ? AreaInHost().topLeft() : QPoint();
  return view ? view->fWidget.data() : nullptr;
}

BView* BView::DrawnViewAt(BPoint where, BPoint* local)
{
  // The last child added lies on top.
  const QPoint pixel(int(std::floor(where.x)), int(std::floor(where.y)));
  for (auto child = fChildren.rbegin(); child != fChildren.rend(); ++child) {
    if (!(*child)->fDrawnByParent || (*child)->fHidden)
      continue;
    const QRect place = (*child)->PixelFrame();
    if (place.contains(pixel))
      return (*child)->DrawnViewAt(BPoint(where.x - float(place.left()), where.y - float(place.top())), local);
  }
  if (local)
    *local = where;
  return this;
}

void BView::ApplyGeometry()
{
  if (fDrawnByParent && !fHidden)
    Invalidate();
  if (fWidget)
    fWidget->setGeometry(PixelFrame());
}

void BView::ApplyVisibility()
{
  if (fDrawnByParent) {
    Invalidate();
    return;
  }
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
  else if (QWidget* host = Host())
    host->update(AreaInHost());
}

void BView::Invalidate(BRect rect)
{
  if (!rect.IsValid())
    return;
  QRect area = QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1).toAlignedRect();
  if (fWidget) {
    fWidget->update(area);
  } else if (QWidget* host = Host()) {
    const QRect place = AreaInHost();
    host->update(area.translated(place.topLeft()).intersected(place));
  }
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
  QPoint offset;
  QWidget* host = Host(&offset);
  if (!fMouseEventActive && host && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    const QPoint p = host->mapFromGlobal(QCursor::pos()) - offset;
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
  fToolTip = text ? text : "";
  if (fWidget)
    fWidget->setToolTip(QString::fromStdString(fToolTip));
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
  // Draw paints with fFont itself. A font change of the widget schedules a
  // repaint, so one made while painting would repaint the view forever.
  if (fWidget && !fPaintEventPainter)
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
