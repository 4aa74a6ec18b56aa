// The stored window frame at start-up: one that would give an unusable or
// unreachable window is replaced by the default frame, and the stored
// value is left as it is.
#include "app/OVA_Window.h"
#include "platform/messaging/BApplication.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

std::string RectBytes(const BRect& r)
{
  const float sides[4] = {r.left, r.top, r.right, r.bottom};
  return std::string(reinterpret_cast<const char*>(sides), sizeof sides);
}

class AppEnvironment : public testing::Environment {
public:
  void SetUp() override { app = new BApplication("application/x-vnd.test-window-frame"); }
  void TearDown() override { delete app; }
  BApplication* app = nullptr;
};

const auto* const sEnvironment = testing::AddGlobalTestEnvironment(new AppEnvironment);

TEST(WindowFrame, BrokenStoredFramesGiveTheDefaultFrame)
{
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const BRect kDefault(130, 130, 450, 206);
  // The offscreen screen is 800 x 600 at 0, 0.
  const struct {
    const char* edge;
    BRect stored;
    bool kept;
  } rows[] = {
      {"a frame of its own is kept", BRect(10, 20, 330, 96), true},
      {"the expanded frame is kept", BRect(10, 20, 530, 260), true},
      {"a frame partly off the screen is kept", BRect(700, 550, 1020, 626), true},
      {"NaN width", BRect(130, 130, kNaN, 206), false},
      {"NaN position", BRect(kNaN, 130, 450, 206), false},
      {"infinite height", BRect(130, 130, 450, kInf), false},
      {"negative size", BRect(450, 206, 130, 130), false},
      {"1 x 1", BRect(130, 130, 131, 131), false},
      {"far larger than any layout", BRect(0, 0, 1e9f, 1e9f), false},
      {"wholly right of and below the screen", BRect(5000, 5000, 5320, 5076), false},
      {"wholly left of and above the screen", BRect(-1000, -1000, -680, -924), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    TempHome home;
    const std::string folder = home.Path(".config/_LP_x-vnd.KX");
    ASSERT_EQ(mkdir(home.Path(".config").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string file = folder + "/OVA_settings";
    FILE* created = fopen(file.c_str(), "w");
    ASSERT_NE(created, nullptr);
    fclose(created);
    const std::string stored = RectBytes(row.stored);
    ASSERT_EQ(setxattr(file.c_str(), "user.m_win_rect", stored.data(), stored.size(), 0), 0);

    testing::internal::CaptureStdout();
    auto* window = new OVA_Window(BRect(100, 100, 420, 176));
    fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(window->Frame(), row.kept ? row.stored : kDefault);
    EXPECT_EQ(out.find("is no usable window frame; taking 130, 130, 450, 206") != std::string::npos, !row.kept)
        << out;
    char value[16];
    ASSERT_EQ(getxattr(file.c_str(), "user.m_win_rect", value, sizeof value), ssize_t(sizeof value));
    EXPECT_EQ(std::string(value, sizeof value), stored) << "the store is left alone";
    window->Lock();
    window->Quit();
  }
}

} // namespace
