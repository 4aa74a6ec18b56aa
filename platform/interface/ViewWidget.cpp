#include "platform/interface/ViewWidget.h"

#include "platform/messaging/BMessage.h"
#include "platform/interface/BView.h"
#include "platform/interface/ViewAccessible.h"

#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdio>
#include <exception>
#include <set>

namespace {

// A hook that throws must not unwind through Qt's event dispatch.
template <typename Hook>
void Guarded(const char* name, Hook&& hook)
{
  try {
    hook();
  } catch (const std::exception& e) {
    printf("BView::%s failed: %s\n", name, e.what());
  } catch (...) {
    printf("BView::%s failed\n", name);
  }
}

BPoint Where(const QPointF& position)
{
  return BPoint(float(position.x()), float(position.y()));
}

// The view with this token while it lives; hooks may delete views.
BView* Living(int32 token, const BView* view)
{
  return view && BHandler::HandlerForToken(token) == view ? const_cast<BView*>(view) : nullptr;
}

} // namespace

uint32_t MouseButtons(Qt::MouseButtons buttons)
{
  uint32 result = 0;
  if (buttons & Qt::LeftButton)
    result |= B_PRIMARY_MOUSE_BUTTON;
  if (buttons & Qt::RightButton)
    result |= B_SECONDARY_MOUSE_BUTTON;
  if (buttons & Qt::MiddleButton)
    result |= B_TERTIARY_MOUSE_BUTTON;
  return result;
}

std::string KeyBytes(const QKeyEvent& event)
{
  switch (event.key()) {
  case Qt::Key_Home: return std::string(1, char(B_HOME));
  case Qt::Key_End: return std::string(1, char(B_END));
  case Qt::Key_Insert: return std::string(1, char(B_INSERT));
  case Qt::Key_Backspace: return std::string(1, char(B_BACKSPACE));
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return std::string(1, char(B_TAB));
  case Qt::Key_Return:
  case Qt::Key_Enter: return std::string(1, char(B_ENTER));
  case Qt::Key_PageUp: return std::string(1, char(B_PAGE_UP));
  case Qt::Key_PageDown: return std::string(1, char(B_PAGE_DOWN));
  case Qt::Key_Escape: return std::string(1, char(B_ESCAPE));
  case Qt::Key_Left: return std::string(1, char(B_LEFT_ARROW));
  case Qt::Key_Right: return std::string(1, char(B_RIGHT_ARROW));
  case Qt::Key_Up: return std::string(1, char(B_UP_ARROW));
  case Qt::Key_Down: return std::string(1, char(B_DOWN_ARROW));
  case Qt::Key_Delete: return std::string(1, char(B_DELETE));
  default: break;
  }
  if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F35)
    return std::string(1, char(B_FUNCTION_KEY));
  return event.text().toStdString();
}

ViewWidget::ViewWidget(BView* view) : fView(view)
{
  InstallViewAccessibility();
  // Views take the focus only through MakeFocus, never by a click.
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

void ViewWidget::FollowHost(QWidget* host)
{
  fHost = host;
  host->installEventFilter(this);
}

bool ViewWidget::eventFilter(QObject* watched, QEvent* event)
{
  if (watched != fHost)
    return QWidget::eventFilter(watched, event);
  switch (event->type()) {
  case QEvent::Resize: {
    const QSize size = fHost->size();
    fView->ResizeTo(float(size.width() - 1), float(size.height() - 1));
    break;
  }
  case QEvent::KeyPress:
  case QEvent::KeyRelease: {
    // Keys reach the window itself when Qt could not focus the focus view
    // (a hidden one); they still belong to that view.
    BView* focus = fView->FocusOfRoot();
    if (focus && DeliverKey(static_cast<QKeyEvent*>(event), focus))
      return true;
    break;
  }
  default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void ViewWidget::paintEvent(QPaintEvent* event)
{
  if (!fView)
    return;
  QPainter painter(this);
  Paint(fView, painter, event->rect());
}

void ViewWidget::Paint(BView* view, QPainter& painter, const QRect& area)
{
  if (view->ViewColor() != B_TRANSPARENT_COLOR) {
    const rgb_color c = view->ViewColor();
    painter.fillRect(area, QColor(c.red, c.green, c.blue));
  }
  if (view->Flags() & B_WILL_DRAW) {
    view->fPaintEventPainter = &painter;
    Guarded("Draw", [&] {
      view->Draw(BRect(float(area.left()), float(area.top()), float(area.right()), float(area.bottom())));
    });
    view->fPaintEventPainter = nullptr;
  }
  // The children drawn by this widget, over the view and in their order,
  // each moved to its place and clipped to it.
  for (BView* child : view->fChildren) {
    if (!child->fDrawnByParent || child->fHidden)
      continue;
    const QRect place = child->PixelFrame();
    const QRect part = place.intersected(area);
    if (part.isEmpty())
      continue;
    painter.save();
    painter.translate(place.topLeft());
    const QRect local = part.translated(-place.topLeft());
    painter.setClipRect(local, Qt::IntersectClip);
    Paint(child, painter, local);
    painter.restore();
  }
}

void ViewWidget::Release()
{
  if (fInMouseHook == 0) {
    delete this;
    return;
  }
  fView = nullptr;
  hide();
  deleteLater();
}

BView* ViewWidget::TargetAt(const QPointF& position, BPoint* local) const
{
  return fView->DrawnViewAt(Where(position), local);
}

void ViewWidget::MouseHook(QMouseEvent* event, const char* name, void (*hook)(BView*, BPoint))
{
  if (!fView)
    return;
  BPoint where;
  BView* target = TargetAt(event->position(), &where);
  const int32 token = target->Token();
  target->SetMouseEvent(where, MouseButtons(event->buttons()));
  fInMouseHook++;
  Guarded(name, [&] { hook(target, where); });
  fInMouseHook--;
  // The hook may have deleted its view, or this widget's view with it.
  if (BView* living = Living(token, target))
    living->ClearMouseEvent();
}

void ViewWidget::HoverOver(BView* drawn, BPoint where)
{
  BView* last = Living(fHoverToken, fHover);
  if (last == drawn)
    return;
  fHover = drawn;
  fHoverToken = drawn ? drawn->Token() : 0;
  if (last) {
    const QPoint at = mapFromGlobal(QCursor::pos()) - last->AreaInHost().topLeft();
    Guarded("MouseMoved", [&] { last->MouseMoved(Where(at), B_EXITED_VIEW, nullptr); });
  }
  if (BView* entered = Living(fHoverToken, drawn))
    Guarded("MouseMoved", [&] { entered->MouseMoved(where, B_ENTERED_VIEW, nullptr); });
}

void ViewWidget::mousePressEvent(QMouseEvent* event)
{
  MouseHook(event, "MouseDown", [](BView* view, BPoint where) { view->MouseDown(where); });
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
  MouseHook(event, "MouseUp", [](BView* view, BPoint where) { view->MouseUp(where); });
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event)
{
  if (!fView)
    return;
  // A view drawn by this widget hears of the mouse entering and leaving it,
  // as a view with a widget of its own does.
  BPoint where;
  BView* target = TargetAt(event->position(), &where);
  HoverOver(target != fView ? target : nullptr, where);
  MouseHook(event, "MouseMoved", [](BView* view, BPoint where) { view->MouseMoved(where, B_INSIDE_VIEW, nullptr); });
}

void ViewWidget::enterEvent(QEnterEvent* event)
{
  if (!fView)
    return;
  const BPoint where = Where(event->position());
  Guarded("MouseMoved", [&] { fView->MouseMoved(where, B_ENTERED_VIEW, nullptr); });
}

void ViewWidget::leaveEvent(QEvent*)
{
  if (!fView)
    return;
  HoverOver(nullptr, BPoint());
  const BPoint where = Where(mapFromGlobal(QCursor::pos()));
  Guarded("MouseMoved", [&] { fView->MouseMoved(where, B_EXITED_VIEW, nullptr); });
}

BView* ViewWidget::KeyTarget() const
{
  BView* root = fView->Root();
  BView* focus = root ? root->FocusOfRoot() : nullptr;
  return focus ? focus : fView;
}

bool ViewWidget::DeliverKey(QKeyEvent* event, BView* target)
{
  // The keys pressed while a view had them, of all windows' views.
  static std::set<int> pressed;
  const std::string bytes = KeyBytes(*event);
  if (bytes.empty())
    return false;
  if (event->type() == QEvent::KeyPress) {
    pressed.insert(event->key());
    Guarded("KeyDown", [&] { target->KeyDown(bytes.c_str(), int32(bytes.size())); });
  } else if (!event->isAutoRepeat() && pressed.erase(event->key()) > 0) {
    // A held key repeats its KeyDown only; KeyUp comes once, on the
    // release. A release whose press went elsewhere (Return that chose a
    // menu item, a window shortcut) is no key for the view.
    Guarded("KeyUp", [&] { target->KeyUp(bytes.c_str(), int32(bytes.size())); });
  }
  return true;
}

void ViewWidget::keyPressEvent(QKeyEvent* event)
{
  if (!fView)
    return;
  if (!DeliverKey(event, KeyTarget()))
    event->ignore();
}

void ViewWidget::keyReleaseEvent(QKeyEvent* event)
{
  if (!fView)
    return;
  if (!DeliverKey(event, KeyTarget()))
    event->ignore();
}

void ViewWidget::wheelEvent(QWheelEvent* event)
{
  if (!fView)
    return;
  // Qt counts a notch as 120 and positive away from the user; views count
  // a notch as 1 and negative away from the user.
  const QPoint delta = event->angleDelta();
  if (delta.isNull()) {
    event->ignore();
    return;
  }
  BMessage message(B_MOUSE_WHEEL_CHANGED);
  message.AddFloat("be:wheel_delta_x", -delta.x() / 120.0f);
  message.AddFloat("be:wheel_delta_y", -delta.y() / 120.0f);
  BView* target = TargetAt(event->position(), nullptr);
  Guarded("MessageReceived", [&] { target->MessageReceived(&message); });
}

bool ViewWidget::focusNextPrevChild(bool)
{
  return false;
}

bool ViewWidget::event(QEvent* event)
{
  // A view drawn by this widget shows its own tool tip over its frame; one
  // without a tip leaves the widget's own.
  if (event->type() == QEvent::ToolTip && fView) {
    const auto* help = static_cast<QHelpEvent*>(event);
    BView* target = TargetAt(help->pos(), nullptr);
    if (target != fView && !target->ToolTipText().empty()) {
      QToolTip::showText(help->globalPos(), QString::fromStdString(target->ToolTipText()), this,
                         target->AreaInHost());
      return true;
    }
  }
  return QWidget::event(event);
}
