// Real Qt input for the entry controls: wheel turns, keys and clicks sent to
// the widget that shows a view, and a window that records what reaches its handler.
#pragma once

#include "tests/platform/GuiApp.h"

#include "platform/messaging/BMessage.h"
#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <vector>

// The first base of a fixture whose members are widgets: the application
// must exist before them.
struct WithGuiApp {
  WithGuiApp() { EnsureGuiApp(); }
};

class ReportWindow : public BWindow {
public:
  ReportWindow() : BWindow(BRect(0, 0, 320, 76), "reports", B_TITLED_WINDOW, 0) {}
  void MessageReceived(BMessage* message) override { received.push_back(*message); }
  std::vector<uint32> Codes() const
  {
    std::vector<uint32> codes;
    for (const BMessage& m : received)
      codes.push_back(m.what);
    return codes;
  }
  std::vector<BMessage> received;
};

// One notch away from the user (up) for +1, toward the user for -1.
inline void TurnWheel(BView* view, int notches)
{
  QPoint offset;
  QWidget* host = view->Host(&offset);
  const QPointF at = QPointF(2, 2) + offset;
  QWheelEvent wheel(at, at, QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QCoreApplication::sendEvent(host, &wheel);
}

inline void PressKey(QWidget* widget, int key, const char* text = "")
{
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text));
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromUtf8(text));
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

inline void PressKey(BView* view, int key, const char* text = "")
{
  PressKey(view->Host(), key, text);
}

// A press of `buttons` at a point of the view, sent to the widget that
// shows it (its parent's, for a view drawn by its parent).
inline void Press(BView* view, BPoint where, Qt::MouseButtons buttons)
{
  QPoint offset;
  QWidget* host = view->Host(&offset);
  const QPointF p = QPointF(where.x, where.y) + offset;
  const Qt::MouseButton button = buttons & Qt::LeftButton ? Qt::LeftButton : Qt::RightButton;
  QMouseEvent press(QEvent::MouseButtonPress, p, p, button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(host, &press);
}

inline void Click(BView* view, float x, float y)
{
  Press(view, BPoint(x, y), Qt::LeftButton);
}
