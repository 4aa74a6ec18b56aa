// Month pictures: the format a path asks for, the failure lines of writing
// them.
#include "export/MonthImage.h"
#include "platform/interface/BBitmap.h"
#include "tests/export/ExportFixture.h"

namespace {

class MonthImageTest : public ExportTest {};

// The format a file's first bytes say it is in.
std::string FormatOf(const std::string& bytes)
{
  if (bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0)
    return "PNG";
  if (bytes.rfind("GIF8", 0) == 0)
    return "GIF";
  if (bytes.rfind("\xff\xd8\xff", 0) == 0)
    return "JPEG";
  return "?";
}

TEST_F(MonthImageTest, FormatComesFromThePath)
{
  BBitmap bitmap(BRect(0, 0, 225, 170), B_BITMAP_CLEAR_TO_WHITE, B_RGB32);
  const struct {
    const char* path;
    const char* format;
  } rows[] = {
      {"plain.png", "PNG"},
      {"no-extension", "PNG"},
      {"capitals.GIF", "PNG"},
      {"month.gif", "GIF"},
      {"month.jpg", "JPEG"},
      {"month.jpeg", "PNG"},
      {"month.gif.png", "GIF"},
      {"month.jpg.gif", "JPEG"},
      {"month.gif.jpg", "JPEG"},
      {"pictures.jpg/month.png", "JPEG"},
      {"pictures.gif/month.png", "GIF"},
  };
  mkdir(fHome.Path("pictures.jpg").c_str(), 0755);
  mkdir(fHome.Path("pictures.gif").c_str(), 0755);
  for (const auto& row : rows) {
    const std::string path = fHome.Path(row.path);
    testing::internal::CaptureStdout();
    EXPECT_EQ(LocalImageSave(path.c_str(), &bitmap), 0) << row.path;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << row.path;
    EXPECT_EQ(FormatOf(ReadWholeFile(path)), row.format) << row.path;
  }
}

TEST_F(MonthImageTest, FailuresAreReported)
{
  BBitmap bitmap(BRect(0, 0, 225, 170), B_BITMAP_CLEAR_TO_WHITE, B_RGB32);
  const std::string missingFolder = fHome.Path("missing/month.png");
  const struct {
    const char* edge;
    const char* path;
    BBitmap* bitmap;
    int32 status;
    std::string output;
  } rows[] = {
      {"no bitmap", "/dev/null", nullptr, -1, "Error Bitmap is NULL \n"},
      {"no folder", missingFolder.c_str(), &bitmap, -1, "Error creat '" + missingFolder + "'\n"},
      {"no path", nullptr, &bitmap, -1, "Error creat ''\n"},
      {"full disk, reported and not taken for success", "/dev/full", &bitmap, -ENOSPC,
       "Error writing '/dev/full' -28\n"},
  };
  for (const auto& row : rows) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(LocalImageSave(row.path, row.bitmap), row.status) << row.edge;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), row.output) << row.edge;
  }
}

} // namespace
