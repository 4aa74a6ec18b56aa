#include "platform/interface/BWindow.h"

#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BApplication.h"
#include "platform/interface/BView.h"
#include "platform/interface/XdgActivation.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <memory>

// The window's top-level widget: hands Qt's window events to the BWindow.
class BWindow::Surface : public QWidget {
public:
  explicit Surface(BWindow* window) : fWindow(window) {}

protected:
  void moveEvent(QMoveEvent* event) override
  {
    QWidget::moveEvent(event);
    fWindow->WidgetMoved();
  }

  void resizeEvent(QResizeEvent* event) override
  {
    QWidget::resizeEvent(event);
    fWindow->WidgetResized();
  }

  void changeEvent(QEvent* event) override
  {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
      fWindow->WidgetActivationChanged();
  }

  // The window decides in QuitRequested; Qt never closes it by itself.
  void closeEvent(QCloseEvent* event) override
  {
    event->ignore();
    fWindow->WidgetCloseRequested();
  }

private:
  BWindow* fWindow;
};

namespace {

int Pixels(float coordinate)
{
  return int(std::lround(coordinate));
}

bool OnX11()
{
  return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Wayland neither places a client's windows where it asks nor tells it
// where they are.
bool PlatformPlacesWindows()
{
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

window_look LookOfType(window_type type)
{
  switch (type) {
  case B_MODAL_WINDOW: return B_MODAL_WINDOW_LOOK;
  case B_DOCUMENT_WINDOW: return B_DOCUMENT_WINDOW_LOOK;
  case B_BORDERED_WINDOW: return B_BORDERED_WINDOW_LOOK;
  case B_FLOATING_WINDOW: return B_FLOATING_WINDOW_LOOK;
  default: return B_TITLED_WINDOW_LOOK;
  }
}

window_feel FeelOfType(window_type type)
{
  switch (type) {
  case B_MODAL_WINDOW: return B_MODAL_APP_WINDOW_FEEL;
  case B_FLOATING_WINDOW: return B_FLOATING_APP_WINDOW_FEEL;
  default: return B_NORMAL_WINDOW_FEEL;
  }
}

} // namespace

BWindow::BWindow(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
                 uint32)
    : BLooper(title), fSurface(std::make_unique<Surface>(this)), fTitle(title != nullptr ? title : ""),
      fLook(look), fFeel(feel), fFlags(flags)
{
  fSurface->setWindowTitle(QString::fromUtf8(fTitle.c_str()));
  ApplyWindowFlags();
  fPlace = BPoint(Pixels(frame.left), Pixels(frame.top));
  fSurface->setGeometry(int(fPlace.x), int(fPlace.y), Pixels(frame.Width()) + 1, Pixels(frame.Height()) + 1);
  ApplySizeLimits();
  fTopView = BView::MakeWindowRoot(this, fSurface.get());
  if (be_app != nullptr)
    be_app->AddWindow(this);
}

BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags, uint32 workspace)
    : BWindow(frame, title, LookOfType(type), FeelOfType(type), flags, workspace)
{
}

BWindow::~BWindow()
{
  if (be_app != nullptr)
    be_app->RemoveWindow(this);
  // The views go first: their widgets live inside the window's widget.
  delete fTopView;
  fSurface.reset();
}

void BWindow::Show()
{
  if (--fHideLevel == 0)
    fSurface->show();
}

void BWindow::Hide()
{
  if (fHideLevel++ == 0)
    fSurface->hide();
}

void BWindow::Activate(bool active)
{
  if (active) {
    ActivateFor(nullptr);
    return;
  }
  if (!IsActive())
    return;
  // The keyboard focus goes to no window; the window keeps its place in the
  // stacking order. Only X11 lets a program give its focus away.
  // (The offscreen platform may offer the X11 interface without a
  // connection.)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (!OnX11() || connection == nullptr)
    return;
  xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_NONE, XCB_CURRENT_TIME);
  // The server now refuses focus requests stamped earlier than this change,
  // and Qt stamps its own with the time of the last event it saw. A property
  // change on the window gives Qt an event from after the change, so that
  // the window can be activated again.
  static const xcb_atom_t kStampAtom = [connection] {
    const char name[] = "_ORVELLA_FOCUS_STAMP";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  }();
  if (kStampAtom != XCB_ATOM_NONE)
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(fSurface->winId()), kStampAtom,
                        XCB_ATOM_CARDINAL, 32, 0, nullptr);
  xcb_flush(connection);
}

void BWindow::ActivateFor(const char* activationToken)
{
  if (PlatformPlacesWindows()) {
    fSurface->raise();
    fSurface->activateWindow();
    return;
  }
  // Qt's Wayland plugin shows the compositor the token it finds in the
  // environment when a window asks to be activated. A token of our own,
  // got for no input event, is how a window asks for attention there.
  const std::string token =
      activationToken != nullptr && *activationToken != '\0' ? activationToken : RequestActivationToken();
  if (token.empty())
    return;
  qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(token));
  fSurface->activateWindow();
  // Programs this one starts must not inherit a token that was not theirs.
  qunsetenv("XDG_ACTIVATION_TOKEN");
}

bool BWindow::IsActive() const
{
  return fSurface->isActiveWindow();
}

BRect BWindow::Frame() const
{
  const QRect r = fSurface->geometry();
  // Where the platform does not place windows, the window stays where it
  // was told to be, so that a stored place survives such a session.
  const BPoint leftTop = PlatformPlacesWindows() ? BPoint(r.left(), r.top()) : fPlace;
  return BRect(leftTop.x, leftTop.y, leftTop.x + r.width() - 1, leftTop.y + r.height() - 1);
}

BRect BWindow::Bounds() const
{
  const QRect r = fSurface->geometry();
  return BRect(0, 0, r.width() - 1, r.height() - 1);
}

void BWindow::MoveTo(BPoint leftTop)
{
  const QRect r = fSurface->geometry();
  fPlace = BPoint(Pixels(leftTop.x), Pixels(leftTop.y));
  fSurface->setGeometry(int(fPlace.x), int(fPlace.y), r.width(), r.height());
}

void BWindow::MoveBy(float dx, float dy)
{
  const BRect frame = Frame();
  MoveTo(BPoint(frame.left + dx, frame.top + dy));
}

void BWindow::ResizeTo(float width, float height)
{
  width = std::fmin(std::fmax(width, fMinWidth), fMaxWidth);
  height = std::fmin(std::fmax(height, fMinHeight), fMaxHeight);
  // A window the user may not resize still follows the program.
  fSurface->setMinimumSize(0, 0);
  fSurface->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const QRect r = fSurface->geometry();
  fSurface->setGeometry(r.left(), r.top(), Pixels(width) + 1, Pixels(height) + 1);
  ApplySizeLimits();
  // A hidden widget hears of its new size only when shown; the views follow
  // at once.
  fTopView->ResizeTo(Bounds().Width(), Bounds().Height());
}

void BWindow::ResizeBy(float dx, float dy)
{
  const BRect bounds = Bounds();
  ResizeTo(bounds.Width() + dx, bounds.Height() + dy);
}

void BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
  fMinWidth = std::fmax(minWidth, 0.0f);
  fMaxWidth = std::fmax(maxWidth, fMinWidth);
  fMinHeight = std::fmax(minHeight, 0.0f);
  fMaxHeight = std::fmax(maxHeight, fMinHeight);
  const BRect bounds = Bounds();
  ResizeTo(bounds.Width(), bounds.Height());
}

void BWindow::GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight) const
{
  if (minWidth != nullptr)
    *minWidth = fMinWidth;
  if (maxWidth != nullptr)
    *maxWidth = fMaxWidth;
  if (minHeight != nullptr)
    *minHeight = fMinHeight;
  if (maxHeight != nullptr)
    *maxHeight = fMaxHeight;
}

void BWindow::SetTitle(const char* title)
{
  fTitle = title != nullptr ? title : "";
  fSurface->setWindowTitle(QString::fromUtf8(fTitle.c_str()));
}

void BWindow::SetLook(window_look look)
{
  fLook = look;
  ApplyWindowFlags();
}

void BWindow::SetFeel(window_feel feel)
{
  fFeel = feel;
  ApplyWindowFlags();
}

void BWindow::SetFlags(uint32 flags)
{
  fFlags = flags;
  ApplyWindowFlags();
  ApplySizeLimits();
}

void BWindow::ApplyWindowFlags()
{
  Qt::WindowFlags qtFlags;
  bool titled = true;
  switch (fLook) {
  case B_FLOATING_WINDOW_LOOK: qtFlags = Qt::Tool; break;
  case B_MODAL_WINDOW_LOOK: qtFlags = Qt::Dialog; break;
  case B_BORDERED_WINDOW_LOOK:
  case B_NO_BORDER_WINDOW_LOOK:
    qtFlags = Qt::Window | Qt::FramelessWindowHint;
    titled = false;
    break;
  default: qtFlags = Qt::Window; break;
  }
  if (titled && (fFlags & (B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_NOT_RESIZABLE))) {
    // Spell out the title bar buttons so the desktop leaves out the others.
    qtFlags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (!(fFlags & B_NOT_CLOSABLE))
      qtFlags |= Qt::WindowCloseButtonHint;
    if (!(fFlags & B_NOT_MINIMIZABLE) && fLook != B_FLOATING_WINDOW_LOOK)
      qtFlags |= Qt::WindowMinimizeButtonHint;
    if (!(fFlags & (B_NOT_ZOOMABLE | B_NOT_RESIZABLE)) && fLook != B_FLOATING_WINDOW_LOOK)
      qtFlags |= Qt::WindowMaximizeButtonHint;
  }
  if (fFeel == B_FLOATING_ALL_WINDOW_FEEL)
    qtFlags |= Qt::WindowStaysOnTopHint;
  if (fFlags & B_AVOID_FOCUS)
    qtFlags |= Qt::WindowDoesNotAcceptFocus;

  // Changing the flags hides a shown widget; show it again.
  const bool visible = fSurface->isVisible();
  fSurface->setWindowFlags(qtFlags);
  fSurface->setWindowModality(fFeel == B_MODAL_APP_WINDOW_FEEL ? Qt::ApplicationModal : Qt::NonModal);
  if (visible)
    fSurface->show();
}

void BWindow::ApplySizeLimits()
{
  const QSize size = fSurface->size();
  int minWidth = Pixels(fMinWidth) + 1;
  int maxWidth = std::min(Pixels(fMaxWidth) + 1, QWIDGETSIZE_MAX);
  int minHeight = Pixels(fMinHeight) + 1;
  int maxHeight = std::min(Pixels(fMaxHeight) + 1, QWIDGETSIZE_MAX);
  if (fFlags & (B_NOT_RESIZABLE | B_NOT_H_RESIZABLE))
    minWidth = maxWidth = size.width();
  if (fFlags & (B_NOT_RESIZABLE | B_NOT_V_RESIZABLE))
    minHeight = maxHeight = size.height();
  fSurface->setMinimumSize(minWidth, minHeight);
  fSurface->setMaximumSize(maxWidth, maxHeight);
}

void BWindow::FrameMoved(BPoint)
{
}

void BWindow::FrameResized(float, float)
{
}

void BWindow::WindowActivated(bool)
{
}

void BWindow::WidgetMoved()
{
  fInWidgetEvent++;
  Lock();
  FrameMoved(Frame().LeftTop());
  Unlock();
  fInWidgetEvent--;
}

void BWindow::WidgetResized()
{
  fInWidgetEvent++;
  Lock();
  const BRect bounds = Bounds();
  FrameResized(bounds.Width(), bounds.Height());
  Unlock();
  fInWidgetEvent--;
}

void BWindow::WidgetActivationChanged()
{
  fInWidgetEvent++;
  Lock();
  WindowActivated(IsActive());
  Unlock();
  fInWidgetEvent--;
}

void BWindow::WidgetCloseRequested()
{
  PostMessage(B_QUIT_REQUESTED);
}

void BWindow::Quit()
{
  if ((fFlags & B_QUIT_ON_WINDOW_CLOSE) && be_app != nullptr && !be_app->fQuitting)
    be_app->PostMessage(B_QUIT_REQUESTED);
  fSurface->hide();
  fHideLevel = 1;
  if (fInWidgetEvent == 0) {
    BLooper::Quit();
    return;
  }
  // Called from a hook inside one of the widget's own events: delete the
  // window once that event is over.
  const int32 token = Token();
  QMetaObject::invokeMethod(
      fSurface.get(),
      [token]() {
        if (auto* looper = dynamic_cast<BLooper*>(BHandler::HandlerForToken(token)))
          looper->BLooper::Quit();
      },
      Qt::QueuedConnection);
}

QWidget* BWindow::Widget() const
{
  return fSurface.get();
}

void BWindow::AddChild(BView* child, BView* before)
{
  fTopView->AddChild(child, before);
}

bool BWindow::RemoveChild(BView* child)
{
  return fTopView->RemoveChild(child);
}

BView* BWindow::ChildAt(int32 index) const
{
  return fTopView->ChildAt(index);
}

int32 BWindow::CountChildren() const
{
  return fTopView->CountChildren();
}

BView* BWindow::FindView(const char* name) const
{
  for (int32 i = 0; i < CountChildren(); i++) {
    if (BView* found = ChildAt(i)->FindView(name))
      return found;
  }
  return nullptr;
}

BView* BWindow::CurrentFocus() const
{
  return fTopView->FocusOfRoot();
}
