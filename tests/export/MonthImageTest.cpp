// Month pictures: what they show, where they go, the format a path asks
// for and the failure lines of writing them.
#include "calendar/DayColors.h"
#include "calendar/MonthGrid.h"
#include "calendar/MonthLayout.h"
#include "export/MonthImage.h"
#include "platform/interface/BBitmap.h"
#include "platform/interface/InterfaceDefs.h"
#include "tests/export/ExportFixture.h"
#include "views/DayView.h"

#include <QImage>

namespace {

class MonthImageTest : public ExportTest {
protected:
  std::string Picture(long year, long month)
  {
    testing::internal::CaptureStdout();
    ImageFromMon(year, month, 0);
    return testing::internal::GetCapturedStdout();
  }
};

rgb_color At(const QImage& image, BPoint p)
{
  const QRgb c = image.pixel(int(p.x), int(p.y));
  return {uint8(qRed(c)), uint8(qGreen(c)), uint8(qBlue(c)), 0};
}

std::string Text(rgb_color c)
{
  return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

TEST_F(MonthImageTest, PictureShowsTheMonthWithoutToday)
{
  // February 2004 begins on a Sunday and has 29 days; the 10th is today.
  fMarks->fTodayCode = 20040210;
  EXPECT_EQ(Picture(2004, 2), "mkdir-") << "the calendar folder is made; one index finds no cell";
  struct stat st;
  ASSERT_EQ(stat(fHome.Path("people/OrvelCal").c_str(), &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0755u & ~mask);

  const QImage image(QString::fromStdString(CalendarPath("Orvel200402.png")), "png");
  ASSERT_EQ(image.size(), QSize(226, 171));
  const MonthLayout layout = MonthLayout::For(BRect(0, 0, 225, 170));
  const MonthGrid grid(2004, 2);
  auto cell = [&](int32 day) { return layout.CellRect(grid.Column(day), grid.Row(day)); };
  // A point inside a cell, right of its number, below the event corner.
  auto fill = [&](int32 day) { return At(image, BPoint(cell(day).right - 3, cell(day).top + 8)); };

  const struct {
    const char* edge;
    int32 day;
    rgb_color color;
  } rows[] = {
      {"plain Monday", 2, DayView::FillColor(kDayUnmarked, false, false)},
      {"Saturday tinted", 7, DayView::FillColor(kDayUnmarked, true, false)},
      {"Sunday the 1st, last column of the first row", 1, DayView::FillColor(kDayUnmarked, true, false)},
      {"global holiday", 13, GLOBALCOL},
      {"holiday with an event", 14, GLOBALCOL},
      {"user day on a Sunday, leap day", 29, USERCOL},
      {"today is not highlighted", 10, DayView::FillColor(kDayUnmarked, false, false)},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Text(fill(row.day)), Text(row.color)) << row.edge;

  const BRect valentine = cell(14);
  EXPECT_EQ(Text(At(image, BPoint(valentine.right - 2, valentine.top + 2))), "18,197,197")
      << "event corner";
  EXPECT_EQ(Text(At(image, BPoint(cell(13).right - 2, cell(13).top + 2))), Text(GLOBALCOL))
      << "no corner without an event";
  int red = 0;
  for (int y = 0; y < image.height(); y++) {
    for (int x = 0; x < image.width(); x++) {
      const QRgb c = image.pixel(x, y);
      red += qRed(c) > 200 && qGreen(c) < 120 && qBlue(c) < 120;
    }
  }
  EXPECT_EQ(red, 0) << "no day number in today's red";
  EXPECT_EQ(Text(At(image, BPoint(0, 0))), "255,255,255") << "cleared to white outside the panel";
  EXPECT_EQ(Text(At(image, BPoint(220, 60))), Text(ui_color(B_MENU_BACKGROUND_COLOR)))
      << "the week column on the panel";

  EXPECT_EQ(Picture(2004, 3), "-") << "the folder exists now";
  EXPECT_EQ(QImage(QString::fromStdString(CalendarPath("Orvel200403.png"))).size(), QSize(226, 171));
}

TEST_F(MonthImageTest, FallbackFolder)
{
  // The calendar folder is a file, so no picture can be made in it.
  mkdir(fHome.Path("people").c_str(), 0755);
  WriteWholeFile(fHome.Path("people/OrvelCal"), "");
  const std::string inFolder = CalendarPath("Orvel200403.png");
  const std::string fallback = fHome.Path("run/Orvel20043.png");
  EXPECT_EQ(Picture(2004, 3), "mkdirErr\t" + inFolder + " -20\n-");
  EXPECT_EQ(QImage(QString::fromStdString(fallback)).size(), QSize(226, 171));

  // Neither folder can take it.
  WriteWholeFile(fHome.Path("norun"), "");
  fEnv.Set("XDG_RUNTIME_DIR", fHome.Path("norun").c_str());
  EXPECT_EQ(Picture(2004, 11), "mkdirErr\t" + CalendarPath("Orvel200411.png") + " -20\n\n and no ramdisk..\n\t" +
                                   fHome.Path("norun/Orvel200411.png") + " -20\n");
}

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
