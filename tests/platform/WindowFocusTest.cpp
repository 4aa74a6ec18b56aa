// Activation on a real X server (no window manager): activating takes the
// keyboard focus and raises, deactivating gives the focus away and leaves
// the window where it is in the stacking order.
#include "platform/interface/BWindow.h"
#include "platform/messaging/BApplication.h"
#include "tests/platform/TestSupport.h"

#include <QGuiApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    // The test runs under Xvfb; the other tests' offscreen platform has no
    // focus or stacking to look at.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    app = new BApplication("application/x-vnd.test-window-focus");
  }
  void TearDown() override { delete app; }
  BApplication* app = nullptr;
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

xcb_connection_t* Connection()
{
  return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t XWindow(const BWindow& window)
{
  return xcb_window_t(window.Widget()->winId());
}

xcb_window_t FocusWindow()
{
  std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&free)> reply(
      xcb_get_input_focus_reply(Connection(), xcb_get_input_focus(Connection()), nullptr), &free);
  return reply ? reply->focus : XCB_NONE;
}

// The root's children from the bottom of the stack to the top.
std::vector<xcb_window_t> Stacking()
{
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
      xcb_query_tree_reply(Connection(), xcb_query_tree(Connection(), root), nullptr), &free);
  if (!tree)
    return {};
  xcb_window_t* children = xcb_query_tree_children(tree.get());
  return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

bool Above(const BWindow& upper, const BWindow& lower)
{
  const std::vector<xcb_window_t> stack = Stacking();
  auto at = [&](const BWindow& w) { return std::find(stack.begin(), stack.end(), XWindow(w)) - stack.begin(); };
  return at(upper) > at(lower);
}

TEST(WindowFocus, DeactivatingGivesTheFocusAwayAndStaysInPlace)
{
  ASSERT_NE(qGuiApp->nativeInterface<QNativeInterface::QX11Application>(), nullptr) << "runs on X11";
  auto* below = new BWindow(BRect(100, 100, 420, 176), "below", B_TITLED_WINDOW, 0);
  auto* window = new BWindow(BRect(150, 120, 470, 196), "window", B_TITLED_WINDOW, 0);
  below->Show();
  window->Show();
  window->Activate(true);
  ASSERT_TRUE(WaitFor([&] { return window->IsActive() && FocusWindow() == XWindow(*window); }));
  ASSERT_TRUE(Above(*window, *below));
  const BRect frame = window->Frame();

  window->Activate(false);
  EXPECT_TRUE(WaitFor([&] { return !window->IsActive(); })) << "the window loses the focus";
  EXPECT_NE(FocusWindow(), XWindow(*window));
  EXPECT_TRUE(Above(*window, *below)) << "and is not lowered behind the other window";
  EXPECT_EQ(window->Frame(), frame);
  EXPECT_FALSE(window->IsHidden());

  window->Activate(true);
  EXPECT_TRUE(WaitFor([&] { return window->IsActive(); })) << "and can take it back";
  below->Lock();
  below->Quit();
  window->Lock();
  window->Quit();
}

} // namespace
