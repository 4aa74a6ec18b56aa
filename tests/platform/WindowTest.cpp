// Windows and the application without a session bus: the program keeps
// working on its own, broadcasts included.
#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/BWindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

namespace {

class LocalApp : public BApplication {
public:
  LocalApp() : BApplication("application/x-vnd.test-window", B_SINGLE_LAUNCH) {}
  void MessageReceived(BMessage* message) override { received.push_back(*message); }
  std::vector<BMessage> received;
};

LocalApp* sApp = nullptr;

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    // No bus at all, whatever the machine running the tests has.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    sApp = new LocalApp;
  }
  void TearDown() override
  {
    delete sApp;
    sApp = nullptr;
  }
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

bool WaitFor(const std::function<bool()>& done)
{
  QDeadlineTimer deadline(5000);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Counts its hooks and may refuse to quit.
class HookWindow : public BWindow {
public:
  HookWindow(uint32 flags, bool* deleted = nullptr)
      : BWindow(BRect(100, 100, 420, 176), "hooks", B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL, flags),
        fDeleted(deleted) {}
  ~HookWindow() override
  {
    if (fDeleted != nullptr)
      *fDeleted = true;
  }
  void FrameMoved(BPoint where) override { moves.push_back(where); }
  void FrameResized(float width, float height) override { sizes.push_back(BPoint(width, height)); }
  bool QuitRequested() override { return allowQuit; }

  std::vector<BPoint> moves;
  std::vector<BPoint> sizes;
  bool allowQuit = true;

private:
  bool* fDeleted;
};

} // namespace

TEST(LocalApplication, RunsWithoutBusAndBroadcastsToItself)
{
  EXPECT_EQ(sApp->InitCheck(), B_OK) << "no bus is no reason to stop";
  EXPECT_TRUE(be_roster->IsRunning("application/x-vnd.test-window"));
  EXPECT_FALSE(be_roster->IsRunning("application/x-vnd.test-other"));
  BMessage change('kxCL');
  ASSERT_EQ(be_roster->Broadcast(&change), B_OK);
  ASSERT_TRUE(WaitFor([]() { return !sApp->received.empty(); }));
  EXPECT_EQ(sApp->received.back().what, uint32('kxCL'));
  EXPECT_EQ(sApp->received.back().ReturnAddress(), be_app_messenger);
  app_info info;
  ASSERT_EQ(sApp->GetAppInfo(&info), B_OK);
  EXPECT_STREQ(info.signature, "application/x-vnd.test-window");
}

TEST(Window, FrameIsInclusiveInScreenCoordinates)
{
  HookWindow window(0);
  EXPECT_EQ(window.Frame(), BRect(100, 100, 420, 176));
  EXPECT_EQ(window.Bounds(), BRect(0, 0, 320, 76));
  EXPECT_EQ(window.Widget()->width(), 321);
  EXPECT_EQ(window.Widget()->height(), 77);
  EXPECT_TRUE(window.IsHidden());
  window.Show();
  EXPECT_FALSE(window.IsHidden());
  window.Hide();
  window.Hide();
  window.Show();
  EXPECT_TRUE(window.IsHidden()) << "two hides need two shows";
}

TEST(Window, HooksFollowRealMovesAndResizes)
{
  HookWindow window(0);
  window.Show();
  ASSERT_TRUE(WaitFor([&]() { return window.Widget()->isVisible(); }));
  window.moves.clear();
  window.sizes.clear();
  window.MoveTo(200, 150);
  window.ResizeTo(299, 99);
  ASSERT_TRUE(WaitFor([&]() { return !window.moves.empty() && !window.sizes.empty(); }));
  EXPECT_EQ(window.moves.back(), BPoint(200, 150));
  EXPECT_EQ(window.sizes.back(), BPoint(299, 99));
  EXPECT_EQ(window.Frame(), BRect(200, 150, 499, 249));
}

TEST(Window, SizeLimitsClampResizes)
{
  HookWindow window(0);
  window.SetSizeLimits(300, 350, 76, 200);
  window.ResizeTo(100, 500);
  EXPECT_EQ(window.Bounds(), BRect(0, 0, 300, 200));
  window.ResizeTo(349, 80);
  EXPECT_EQ(window.Bounds(), BRect(0, 0, 349, 80));
}

TEST(Window, NotResizableStillFollowsTheProgram)
{
  HookWindow window(B_NOT_RESIZABLE | B_NOT_ZOOMABLE);
  EXPECT_EQ(window.Widget()->minimumSize(), window.Widget()->maximumSize()) << "the user cannot resize it";
  window.ResizeTo(225, 170);
  EXPECT_EQ(window.Bounds(), BRect(0, 0, 225, 170));
  EXPECT_EQ(window.Widget()->maximumSize(), QSize(226, 171));
  EXPECT_FALSE(window.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(Window, LooksMapToWindowKinds)
{
  HookWindow window(0);
  window.SetLook(B_FLOATING_WINDOW_LOOK);
  EXPECT_EQ(window.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  window.SetLook(B_BORDERED_WINDOW_LOOK);
  EXPECT_TRUE(window.Widget()->windowFlags() & Qt::FramelessWindowHint);
  window.SetLook(B_DOCUMENT_WINDOW_LOOK);
  EXPECT_EQ(window.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Window);
  EXPECT_FALSE(window.Widget()->windowFlags() & Qt::FramelessWindowHint);
}

TEST(Window, ClosingAsksQuitRequestedAndDeletesTheWindow)
{
  bool deleted = false;
  auto* window = new HookWindow(0, &deleted);
  window->Show();
  window->allowQuit = false;
  window->Widget()->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(deleted) << "QuitRequested said no";
  EXPECT_EQ(sApp->CountWindows(), 1);
  window->allowQuit = true;
  window->Widget()->close();
  ASSERT_TRUE(WaitFor([&]() { return deleted; }));
  EXPECT_EQ(sApp->CountWindows(), 0);
}

// Last: it ends the application's run.
TEST(Window, QuitOnWindowCloseEndsTheRun)
{
  bool deleted = false;
  auto* window = new HookWindow(B_QUIT_ON_WINDOW_CLOSE, &deleted);
  window->Show();
  window->PostMessage(B_QUIT_REQUESTED);
  sApp->Run();  // returns only when the application quits
  EXPECT_TRUE(deleted);
}
