// Views in a window: the tree and its hooks, resizing modes, keys, mouse and
// wheel input; buttons, alerts and the clipboard.
#include "GuiApp.h"

#include "platform/interface/BAlert.h"
#include "platform/interface/BButton.h"
#include "platform/messaging/BClipboard.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class LogView : public BView {
public:
  explicit LogView(const char* name, BRect frame = BRect(0, 0, 49, 49), uint32 mode = B_FOLLOW_NONE,
                   uint32 flags = B_WILL_DRAW)
      : BView(frame, name, mode, flags)
  {
  }
  ~LogView() override = default;
  void AttachedToWindow() override
  {
    gLog.push_back(std::string("attached ") + Name());
    if (addChildOnAttach)
      AddChild(new LogView("late"));
  }
  void DetachedFromWindow() override { gLog.push_back(std::string("detached ") + Name()); }
  void KeyDown(const char* bytes, int32 n) override { keysDown.emplace_back(bytes, size_t(n)); }
  void KeyUp(const char* bytes, int32 n) override { keysUp.emplace_back(bytes, size_t(n)); }
  void MouseDown(BPoint where) override
  {
    downAt = where;
    GetMouse(&mouseAt, &buttons, true);
    if (deleteOnMouseDown)
      delete this;
  }
  void MouseMoved(BPoint where, uint32 transit, const BMessage*) override
  {
    if (transit != B_INSIDE_VIEW)
      gLog.push_back(std::string(transit == B_ENTERED_VIEW ? "entered " : "exited ") + Name());
    movedAt = where;
  }
  void MessageReceived(BMessage* message) override
  {
    if (message->what == handledCode) {
      received.push_back(*message);
      return;
    }
    BView::MessageReceived(message);
  }

  bool addChildOnAttach = false;
  bool deleteOnMouseDown = false;
  uint32 handledCode = 0;
  std::vector<BMessage> received;
  std::vector<std::string> keysDown;
  std::vector<std::string> keysUp;
  BPoint downAt;
  BPoint mouseAt;
  BPoint movedAt;
  uint32 buttons = 0;
};

class RecordingWindow : public BWindow {
public:
  RecordingWindow() : BWindow(BRect(0, 0, 199, 99), "test", B_TITLED_WINDOW, 0) {}
  void MessageReceived(BMessage* message) override { received.push_back(*message); }
  std::vector<BMessage> received;
};

void Settle()
{
  for (int i = 0; i < 5; i++)
    QCoreApplication::processEvents();
}

class ViewTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    EnsureGuiApp();
    gLog.clear();
  }
};

TEST_F(ViewTest, AttachingRunsTheHookForEveryViewOfTheTree)
{
  RecordingWindow window;
  auto* parent = new LogView("parent");
  auto* child = new LogView("child");
  parent->AddChild(child);
  child->addChildOnAttach = true;
  window.AddChild(parent);
  EXPECT_EQ(gLog, (std::vector<std::string>{"attached parent", "attached child", "attached late"}));
  EXPECT_EQ(parent->Parent(), nullptr);
  EXPECT_EQ(child->Parent(), parent);
  ASSERT_NE(window.FindView("late"), nullptr);
  EXPECT_EQ(window.FindView("late")->Window(), &window);
  EXPECT_EQ(window.CountChildren(), 1);
  EXPECT_EQ(window.ChildAt(0), parent);

  gLog.clear();
  EXPECT_TRUE(parent->RemoveSelf());
  EXPECT_EQ(gLog, (std::vector<std::string>{"detached parent", "detached child", "detached late"}));
  EXPECT_EQ(child->Window(), nullptr);
  EXPECT_EQ(window.CountChildren(), 0);
  delete parent;
}

TEST_F(ViewTest, DeletingTheWindowDetachesItsViewsThroughTheirHooks)
{
  auto* window = new RecordingWindow;
  auto* parent = new LogView("parent");
  parent->AddChild(new LogView("child"));
  window->AddChild(parent);
  gLog.clear();
  delete window;
  EXPECT_EQ(gLog, (std::vector<std::string>{"detached parent", "detached child"}));
}

TEST_F(ViewTest, DeletedViewLeavesItsParentAndTheFocus)
{
  RecordingWindow window;
  auto* parent = new LogView("parent");
  auto* child = new LogView("child");
  window.AddChild(parent);
  parent->AddChild(child);
  child->MakeFocus(true);
  EXPECT_TRUE(child->IsFocus());
  EXPECT_EQ(window.CurrentFocus(), child);
  delete child;
  EXPECT_EQ(parent->CountChildren(), 0);
  EXPECT_EQ(window.CurrentFocus(), nullptr);
}

struct FollowCase {
  const char* name;
  uint32 mode;
  BRect expected;
};

TEST_F(ViewTest, ChildrenFollowTheirParentByResizingMode)
{
  const FollowCase cases[] = {
      {"left and top stay", B_FOLLOW_LEFT | B_FOLLOW_TOP, BRect(10, 10, 30, 20)},
      {"none is left and top", B_FOLLOW_NONE, BRect(10, 10, 30, 20)},
      {"right moves along", B_FOLLOW_RIGHT | B_FOLLOW_TOP, BRect(30, 10, 50, 20)},
      {"left-right grows", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, BRect(10, 10, 50, 20)},
      {"all sides grow", B_FOLLOW_ALL_SIDES, BRect(10, 10, 50, 30)},
      {"bottom moves down", B_FOLLOW_LEFT | B_FOLLOW_BOTTOM, BRect(10, 20, 30, 30)},
      {"centre moves half", B_FOLLOW_H_CENTER | B_FOLLOW_V_CENTER, BRect(20, 15, 40, 25)},
  };
  for (const FollowCase& c : cases) {
    BView parent(BRect(0, 0, 99, 49), "parent", B_FOLLOW_NONE, 0);
    auto* child = new BView(BRect(10, 10, 30, 20), "child", c.mode, 0);
    parent.AddChild(child);
    parent.ResizeBy(20, 10);
    EXPECT_EQ(child->Frame(), c.expected) << c.name;
  }
}

TEST_F(ViewTest, WindowResizeReachesItsTopViews)
{
  RecordingWindow window;
  auto* strip = new BView(BRect(0, 0, 199, 20), "strip", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, 0);
  window.AddChild(strip);
  window.ResizeTo(299, 99);
  EXPECT_EQ(strip->Frame(), BRect(0, 0, 299, 20));
}

struct KeyCase {
  const char* name;
  int key;
  const char* text;
  std::string bytes;
};

TEST_F(ViewTest, KeysArriveAsPlatformCodesAtTheFocusView)
{
  const KeyCase cases[] = {
      {"Home", Qt::Key_Home, "", std::string(1, char(B_HOME))},
      {"Tab stays with the view", Qt::Key_Tab, "\t", std::string(1, char(B_TAB))},
      {"Return", Qt::Key_Return, "\r", std::string(1, char(B_ENTER))},
      {"keypad Enter", Qt::Key_Enter, "\r", std::string(1, char(B_ENTER))},
      {"Escape", Qt::Key_Escape, "\x1b", std::string(1, char(B_ESCAPE))},
      {"Page Up", Qt::Key_PageUp, "", std::string(1, char(B_PAGE_UP))},
      {"Page Down", Qt::Key_PageDown, "", std::string(1, char(B_PAGE_DOWN))},
      {"Left", Qt::Key_Left, "", std::string(1, char(B_LEFT_ARROW))},
      {"Right", Qt::Key_Right, "", std::string(1, char(B_RIGHT_ARROW))},
      {"Up", Qt::Key_Up, "", std::string(1, char(B_UP_ARROW))},
      {"Down", Qt::Key_Down, "", std::string(1, char(B_DOWN_ARROW))},
      {"plus", Qt::Key_Plus, "+", "+"},
      {"a letter beyond ASCII", Qt::Key_Adiaeresis, "\xc3\xa4", "\xc3\xa4"},
  };
  RecordingWindow window;
  auto* other = new LogView("other");
  auto* focus = new LogView("focus");
  window.AddChild(other);
  window.AddChild(focus);
  focus->MakeFocus(true);
  for (const KeyCase& c : cases) {
    focus->keysDown.clear();
    focus->keysUp.clear();
    // Sent to another view's widget: keys still go to the focus view.
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, QString::fromUtf8(c.text));
    QKeyEvent release(QEvent::KeyRelease, c.key, Qt::NoModifier, QString::fromUtf8(c.text));
    QCoreApplication::sendEvent(other->Widget(), &press);
    QCoreApplication::sendEvent(other->Widget(), &release);
    EXPECT_EQ(focus->keysDown, std::vector<std::string>{c.bytes}) << c.name;
    EXPECT_EQ(focus->keysUp, std::vector<std::string>{c.bytes}) << c.name;
  }
  EXPECT_TRUE(other->keysDown.empty());

  focus->keysUp.clear();
  QKeyEvent pressAtWindow(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
  QKeyEvent atWindow(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, "\t");
  QCoreApplication::sendEvent(window.Widget(), &pressAtWindow);
  QCoreApplication::sendEvent(window.Widget(), &atWindow);
  EXPECT_EQ(focus->keysUp, std::vector<std::string>{std::string(1, char(B_TAB))})
      << "keys at the window itself belong to the focus view";

  focus->keysUp.clear();
  QKeyEvent orphan(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(focus->Widget(), &orphan);
  EXPECT_TRUE(focus->keysUp.empty()) << "a release whose press went elsewhere (a menu item chosen) is no key";

  focus->keysUp.clear();
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(focus->Widget(), &repeated);
  EXPECT_TRUE(focus->keysUp.empty()) << "a held key's repeats end in one release";
}

TEST_F(ViewTest, WheelTurnsAreMessagesThatClimbToTheWindow)
{
  RecordingWindow window;
  auto* parent = new LogView("parent", BRect(0, 0, 99, 99));
  auto* child = new LogView("child");
  window.AddChild(parent);
  parent->AddChild(child);
  parent->handledCode = B_MOUSE_WHEEL_CHANGED;

  auto turn = [&](int angle) {
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(child->Widget(), &wheel);
  };
  turn(120);  // away from the user
  turn(-240); // two notches toward the user
  ASSERT_EQ(parent->received.size(), 2u);
  EXPECT_FLOAT_EQ(parent->received[0].GetFloat("be:wheel_delta_y", 0), -1.0f);
  EXPECT_FLOAT_EQ(parent->received[1].GetFloat("be:wheel_delta_y", 0), 2.0f);

  parent->handledCode = 0;
  turn(120);
  ASSERT_EQ(window.received.size(), 1u);
  EXPECT_EQ(window.received[0].what, uint32(B_MOUSE_WHEEL_CHANGED));
}

TEST_F(ViewTest, MouseHookSeesTheClickThroughGetMouse)
{
  RecordingWindow window;
  auto* view = new LogView("view");
  window.AddChild(view);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 30), QPointF(7, 30), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(view->Widget(), &press);
  EXPECT_EQ(view->downAt, BPoint(7, 30));
  EXPECT_EQ(view->mouseAt, BPoint(7, 30));
  EXPECT_EQ(view->buttons, uint32(B_SECONDARY_MOUSE_BUTTON));
}

TEST_F(ViewTest, ViewDeletedByItsOwnMouseHook)
{
  RecordingWindow window;
  auto* parent = new LogView("parent");
  auto* child = new LogView("child");
  window.AddChild(parent);
  parent->AddChild(child);
  child->deleteOnMouseDown = true;
  QPointer<QWidget> widget = child->Widget();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  EXPECT_EQ(parent->CountChildren(), 0);
  ASSERT_FALSE(widget.isNull()) << "the widget outlives its event";
  EXPECT_TRUE(widget->isHidden());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(widget.isNull()) << "and goes once the event is over";
}

// Views drawn by their parent: painted into the parent's widget in their
// order, children over their parent, and given the mouse, the wheel and
// tool tips over their frames.
TEST_F(ViewTest, ViewsDrawnByTheirParent)
{
  RecordingWindow window;
  auto* parent = new LogView("parent", BRect(0, 0, 99, 99));
  parent->SetViewColor(255, 255, 255);
  window.AddChild(parent);
  auto drawn = [&](BView* holder, const char* name, BRect frame, rgb_color colour) {
    auto* view = new LogView(name, frame, B_FOLLOW_NONE, B_WILL_DRAW | B_DRAWN_BY_PARENT);
    view->SetViewColor(colour);
    holder->AddChild(view);
    return view;
  };
  LogView* a = drawn(parent, "a", BRect(10, 10, 29, 29), {255, 0, 0, 255});
  LogView* b = drawn(parent, "b", BRect(20, 20, 39, 39), {0, 0, 255, 255});
  LogView* hidden = drawn(parent, "hidden", BRect(50, 50, 59, 59), {0, 255, 0, 255});
  hidden->Hide();
  LogView* inner = drawn(b, "inner", BRect(5, 5, 9, 9), {255, 255, 0, 255});
  EXPECT_EQ(a->Widget(), nullptr);
  QPoint offset;
  EXPECT_EQ(inner->Host(&offset), parent->Widget());
  EXPECT_EQ(offset, QPoint(25, 25));

  const QImage image = parent->Widget()->grab().toImage();
  struct Pixel {
    int x, y;
    QRgb colour;
  } pixels[] = {{12, 12, qRgb(255, 0, 0)},    {25, 22, qRgb(0, 0, 255)}, {27, 27, qRgb(255, 255, 0)},
                {39, 39, qRgb(0, 0, 255)},    {40, 40, qRgb(255, 255, 255)}, {55, 55, qRgb(255, 255, 255)}};
  for (const Pixel& p : pixels)
    EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;

  auto press = [&](QPointF at) {
    QMouseEvent event(QEvent::MouseButtonPress, at, at, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(parent->Widget(), &event);
  };
  struct Click {
    QPointF at;
    LogView* view;
    BPoint local;
  } clicks[] = {{{12, 13}, a, BPoint(2, 3)},
                {{26, 27}, inner, BPoint(1, 2)},
                {{22, 22}, b, BPoint(2, 2)},
                {{55, 55}, parent, BPoint(55, 55)}};
  for (const Click& click : clicks) {
    press(click.at);
    EXPECT_EQ(click.view->downAt, click.local) << click.view->Name();
    EXPECT_EQ(click.view->mouseAt, click.local) << "GetMouse in the hook";
    EXPECT_EQ(click.view->buttons, uint32(B_SECONDARY_MOUSE_BUTTON));
  }

  auto move = [&](QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(parent->Widget(), &event);
  };
  gLog.clear();
  move({12, 12});
  move({13, 12});
  move({26, 26});
  move({80, 80});
  EXPECT_EQ(gLog, (std::vector<std::string>{"entered a", "exited a", "entered inner", "exited inner"}));
  EXPECT_EQ(parent->movedAt, BPoint(80, 80));

  a->handledCode = B_MOUSE_WHEEL_CHANGED;
  QWheelEvent wheel(QPointF(12, 12), QPointF(12, 12), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(parent->Widget(), &wheel);
  EXPECT_EQ(a->received.size(), 1u) << "the wheel turns over a view drawn by its parent reach that view";

  a->SetToolTip("a's tip");
  QHelpEvent help(QEvent::ToolTip, QPoint(12, 12), parent->Widget()->mapToGlobal(QPoint(12, 12)));
  QCoreApplication::sendEvent(parent->Widget(), &help);
  EXPECT_EQ(QToolTip::text().toStdString(), "a's tip");
  QToolTip::hideText();

  LogView widget("widget");
  testing::internal::CaptureStdout();
  b->AddChild(&widget);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "BView::AddChild: 'b' is drawn by its parent and cannot hold 'widget'\n");
  EXPECT_EQ(b->CountChildren(), 1);

  inner->deleteOnMouseDown = true;
  press({26, 26});
  EXPECT_EQ(b->CountChildren(), 0) << "a view may delete itself in its own hook";
  press({26, 26});
  EXPECT_EQ(b->downAt, BPoint(6, 6));
}

TEST_F(ViewTest, ButtonClickSendsItsMessageToItsTarget)
{
  RecordingWindow window;
  auto* message = new BMessage('Qmod');
  message->AddInt32("_QuitMod", -1);
  auto* button = new BButton(BRect(10, 10, 80, 32), "bcast", "Broadcast", message);
  window.AddChild(button);

  auto click = [&] {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(button->Widget(), &press);
    QCoreApplication::sendEvent(button->Widget(), &release);
    Settle();
  };
  click();
  ASSERT_EQ(window.received.size(), 1u);
  EXPECT_EQ(window.received[0].what, uint32('Qmod'));
  EXPECT_EQ(window.received[0].GetInt32("_QuitMod", 0), -1);

  button->SetEnabled(false);
  click();
  EXPECT_EQ(window.received.size(), 1u) << "a disabled button sends nothing";

  auto* target = new LogView("target");
  target->handledCode = 'Qmod';
  window.AddChild(target);
  button->SetEnabled(true);
  EXPECT_EQ(button->SetTarget(target), B_OK);
  click();
  EXPECT_EQ(target->received.size(), 1u);
  EXPECT_EQ(window.received.size(), 1u);
}

TEST_F(ViewTest, AlertAnswersWithoutAPersonInTests)
{
  BAlert::SetAutoAnswer(1);
  const int32 before = BAlert::AutoAnsweredCount();
  auto* alert = new BAlert("info", "no Memo for this day..", "Thanks", "More");
  alert->SetShortcut(0, B_ENTER);
  EXPECT_EQ(alert->Go(), 1);
  EXPECT_EQ(BAlert::AutoAnsweredCount(), before + 1);
  EXPECT_EQ(BAlert::LastTitle(), "info");
  EXPECT_EQ(BAlert::LastText(), "no Memo for this day..");
  EXPECT_EQ((new BAlert("err", "one button", " Autch "))->Go(), -1) << "no button 1 to press";
  BAlert::SetAutoAnswer(-1);
}

TEST_F(ViewTest, ClipboardCommitsPlainTextToTheDesktop)
{
  const char text[] = " 2008/04/15 09:30";
  ASSERT_TRUE(be_clipboard->Lock());
  EXPECT_TRUE(be_clipboard->IsLocked());
  be_clipboard->Clear();
  be_clipboard->Data()->AddData("text/plain", B_MIME_TYPE, text, ssize_t(strlen(text)));
  EXPECT_EQ(be_clipboard->Commit(), B_OK);
  be_clipboard->Unlock();
  EXPECT_FALSE(be_clipboard->IsLocked());
  EXPECT_EQ(be_clipboard->Data(), nullptr);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);

  QGuiApplication::clipboard()->setText("from another program");
  ASSERT_TRUE(be_clipboard->Lock());
  const void* data = nullptr;
  ssize_t size = 0;
  ASSERT_EQ(be_clipboard->Data()->FindData("text/plain", B_MIME_TYPE, &data, &size), B_OK);
  EXPECT_EQ(std::string(static_cast<const char*>(data), size_t(size)), "from another program");
  be_clipboard->Unlock();
  EXPECT_EQ(be_clipboard->Commit(), B_NOT_ALLOWED) << "committing needs the lock";
}

} // namespace
