// The Qt widget behind a view: it turns Qt's paint, mouse, key and wheel
// events into the view's hooks. Platform-internal; parts use BView.
#pragma once

#include "platform/support/BRect.h"

#include <QWidget>

#include <cstdint>
#include <string>

class BView;
class QKeyEvent;
class QPainter;

class ViewWidget : public QWidget {
public:
  explicit ViewWidget(BView* view);

  // Keeps this widget the size of `host`, the window's own widget (the
  // window's top views follow through their resizing modes), and hands keys
  // that reach the window itself to the window's focus view.
  void FollowHost(QWidget* host);

  // Called by the view's destructor. A view may be deleted by its own mouse
  // hook (a month view rebuilds its day cells while one of them is
  // clicked): the widget then forgets the view, hides, and is deleted once
  // the event is over. Otherwise it is deleted at once.
  void Release();

  // The view shown, null once it is gone.
  BView* View() const { return fView; }

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // Tab goes to the view's key hooks instead of moving the focus.
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The view that takes keys: the window's focus view, which may be one Qt
  // cannot focus (a hidden one), else this widget's own view.
  BView* KeyTarget() const;
  // Hands a key event to `target`'s KeyDown or KeyUp; false for keys
  // without bytes.
  bool DeliverKey(QKeyEvent* event, BView* target);
  // Runs a mouse hook with the event's position and buttons; nothing
  // touches the view afterwards when the hook deleted it.
  void MouseHook(QMouseEvent* event, const char* name, void (*hook)(BView*, BPoint));
  // The view that takes the mouse at a point of this widget: a view drawn
  // by it under the point, else its own; `local` in that view's coordinates.
  BView* TargetAt(const QPointF& position, BPoint* local) const;
  // Tells views drawn by this widget that the mouse entered or left them;
  // `drawn` is the one under the mouse now, or null.
  void HoverOver(BView* drawn, BPoint where);
  // Paints `view` and the views it draws into the part `area` of it.
  static void Paint(BView* view, QPainter& painter, const QRect& area);

  BView* fView;
  int fInMouseHook = 0;
  QWidget* fHost = nullptr;
  BView* fHover = nullptr;  // the drawn view under the mouse, while fHoverToken names it
  int32_t fHoverToken = 0;
};

// The bytes a key event hands to KeyDown/KeyUp: one key code byte for the
// special keys (B_HOME, B_TAB, B_UP_ARROW, ...), else the key's UTF-8 text;
// empty for keys without either (modifiers alone).
std::string KeyBytes(const QKeyEvent& event);

// Qt's mouse buttons as B_PRIMARY_MOUSE_BUTTON | B_SECONDARY_MOUSE_BUTTON | ...
uint32_t MouseButtons(Qt::MouseButtons buttons);
