// Views drawn offscreen, on a window and into a bitmap, checked pixel by pixel.
#include "GuiApp.h"

#include "platform/interface/BBitmap.h"
#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/InterfaceDefs.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const rgb_color kWhite = {255, 255, 255, 255};
const rgb_color kInk = {12, 12, 12, 0}; // alpha 0, as the panel's colours have

class PaintView : public BView {
public:
  PaintView(BRect frame, std::function<void(BView*)> paint)
      : BView(frame, "paint", B_FOLLOW_NONE, B_WILL_DRAW), fPaint(std::move(paint))
  {
    SetViewColor(kWhite);
  }
  void Draw(BRect) override
  {
    drawCount++;
    fPaint(this);
  }
  int drawCount = 0;

private:
  std::function<void(BView*)> fPaint;
};

rgb_color At(const QImage& image, int x, int y)
{
  const QRgb p = image.pixel(x, y);
  return {uint8(qRed(p)), uint8(qGreen(p)), uint8(qBlue(p)), 255};
}

bool SameRgb(rgb_color a, rgb_color b)
{
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Renders the view as the window shows it.
QImage RenderOnWindow(BRect frame, std::function<void(BView*)> paint)
{
  EnsureGuiApp();
  BWindow window(BRect(0, 0, 299, 199), "draw", B_TITLED_WINDOW, 0);
  auto* view = new PaintView(frame, std::move(paint));
  window.AddChild(view);
  return view->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Renders the view into an offscreen bitmap of the view's size.
QImage RenderInBitmap(BRect frame, std::function<void(BView*)> paint)
{
  EnsureGuiApp();
  BBitmap bitmap(BRect(0, 0, frame.Width(), frame.Height()), B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS,
                 B_RGB32);
  auto* view = new PaintView(BRect(0, 0, frame.Width(), frame.Height()), std::move(paint));
  bitmap.Lock();
  bitmap.AddChild(view);
  view->Draw(view->Bounds());
  bitmap.Unlock();
  return bitmap.Image().copy();
}

struct PixelCase {
  const char* name;
  std::function<void(BView*)> paint;
  std::vector<std::pair<int, int>> inked;
  std::vector<std::pair<int, int>> blank;
};

void PrintTo(const PixelCase& c, std::ostream* os)
{
  *os << c.name;
}

class InclusiveGeometry : public ::testing::TestWithParam<PixelCase> {};

TEST_P(InclusiveGeometry, CoversExactlyTheNamedPixels)
{
  const PixelCase& c = GetParam();
  const auto paint = [&](BView* v) {
    v->SetHighColor(kInk);
    c.paint(v);
  };
  for (const QImage& image : {RenderOnWindow(BRect(0, 0, 39, 29), paint), RenderInBitmap(BRect(0, 0, 39, 29), paint)}) {
    ASSERT_EQ(image.size(), QSize(40, 30));
    for (auto [x, y] : c.inked)
      EXPECT_TRUE(SameRgb(At(image, x, y), kInk)) << c.name << " should ink " << x << "," << y;
    for (auto [x, y] : c.blank)
      EXPECT_TRUE(SameRgb(At(image, x, y), kWhite)) << c.name << " should leave " << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InclusiveGeometry,
    ::testing::Values(
        PixelCase{"filled rectangle 0..9 is ten pixels wide",
                  [](BView* v) { v->FillRect(BRect(0, 0, 9, 9)); },
                  {{0, 0}, {9, 9}, {9, 0}},
                  {{10, 9}, {9, 10}}},
        PixelCase{"1-pixel line at x 5 covers column 5 and both ends",
                  [](BView* v) { v->StrokeLine(BPoint(5, 2), BPoint(5, 20)); },
                  {{5, 2}, {5, 11}, {5, 20}},
                  {{4, 11}, {6, 11}, {5, 1}, {5, 21}}},
        PixelCase{"stroked rectangle lights its edge pixels only",
                  [](BView* v) { v->StrokeRect(BRect(2, 2, 10, 8)); },
                  {{2, 5}, {10, 5}, {6, 2}, {6, 8}, {2, 2}, {10, 8}},
                  {{3, 5}, {11, 5}, {6, 9}, {6, 5}}},
        PixelCase{"rounded stroke has straight edges and four mirrored corners",
                  [](BView* v) { v->StrokeRoundRect(BRect(1, 1, 31, 21), 3, 3); },
                  {{16, 1}, {16, 21}, {1, 11}, {31, 11}, {3, 1}, {29, 1}, {3, 21}, {29, 21}, {2, 2}, {30, 20}},
                  {{1, 1}, {31, 21}, {2, 1}, {30, 1}, {2, 21}, {30, 21}, {16, 11}, {16, 22}}},
        PixelCase{"filled rounded rectangle reaches its edges",
                  [](BView* v) { v->FillRoundRect(BRect(1, 1, 31, 21), 3, 3); },
                  {{16, 1}, {1, 11}, {31, 11}, {16, 21}, {16, 11}},
                  {{0, 11}, {32, 11}, {16, 22}}},
        PixelCase{"filled triangle covers its corners",
                  [](BView* v) { v->FillTriangle(BPoint(2, 2), BPoint(10, 2), BPoint(2, 10)); },
                  {{2, 2}, {10, 2}, {2, 10}, {4, 4}},
                  {{9, 9}, {11, 2}}},
        PixelCase{"full arc fills the ellipse up to its smoothed rim",
                  [](BView* v) { v->FillArc(BPoint(20, 15), 8, 8, 0, 360); },
                  {{20, 15}, {13, 15}, {27, 15}, {20, 8}},
                  {{11, 15}, {29, 15}, {13, 8}}},
        PixelCase{"thick stroked rectangle centres its pen on the edge",
                  [](BView* v) {
                    v->SetPenSize(3);
                    v->StrokeRect(BRect(5, 5, 20, 15));
                  },
                  {{4, 4}, {6, 6}, {21, 16}, {12, 4}},
                  {{3, 10}, {7, 10}, {12, 7}, {22, 10}}}));

// On a screen scaled by 2 a rounded box is built from the screen's own
// pixels: its outline is two of them thick, and its corners step by one of
// them rather than by blocks of 2 x 2 (a view pixel blown up).
TEST(Drawing, RoundedBoxOnAScreenScaledBy2UsesItsPixels)
{
  EnsureGuiApp();
  BWindow window(BRect(0, 0, 299, 199), "draw", B_TITLED_WINDOW, 0);
  for (const bool filled : {false, true}) {
    auto* view = new PaintView(BRect(0, 0, 39, 29), [filled](BView* v) {
      v->SetHighColor(kInk);
      if (filled)
        v->FillRoundRect(BRect(1, 1, 31, 21), 3, 3);
      else
        v->StrokeRoundRect(BRect(1, 1, 31, 21), 3, 3);
    });
    window.AddChild(view);
    QImage image(80, 60, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    view->Widget()->render(&image);
    EXPECT_TRUE(SameRgb(At(image, 32, 2), kInk)) << filled;  // the top edge, view row 1
    EXPECT_TRUE(SameRgb(At(image, 32, 3), kInk)) << filled;
    EXPECT_EQ(SameRgb(At(image, 32, 4), kInk), filled);  // below a stroke's two
    EXPECT_TRUE(SameRgb(At(image, 2, 2), kWhite)) << filled;  // the cut corner
    int mixedBlocks = 0;
    for (int y = 2; y < 12; y += 2) {
      for (int x = 2; x < 12; x += 2) {
        const bool ink = SameRgb(At(image, x, y), kInk);
        for (auto [dx, dy] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
          if (SameRgb(At(image, x + dx, y + dy), kInk) != ink) {
            mixedBlocks++;
            break;
          }
        }
      }
    }
    EXPECT_GT(mixedBlocks, 0) << (filled ? "filled" : "stroked") << " corner is made of 2 x 2 blocks";
    window.RemoveChild(view);
    delete view;
  }
}

TEST(Drawing, AlphaIsIgnoredExceptInAlphaMode)
{
  const rgb_color halfRed = {255, 0, 0, 0};
  const QImage image = RenderInBitmap(BRect(0, 0, 9, 9), [&](BView* v) {
    v->SetHighColor(halfRed);
    v->FillRect(BRect(0, 0, 4, 9)); // copy mode: drawn opaque
    v->SetDrawingMode(B_OP_ALPHA);
    v->FillRect(BRect(5, 0, 9, 9)); // alpha 0: leaves the white
  });
  EXPECT_TRUE(SameRgb(At(image, 2, 5), halfRed));
  EXPECT_TRUE(SameRgb(At(image, 7, 5), kWhite));
}

TEST(Drawing, TextSitsOnItsBaseLine)
{
  const QImage image = RenderInBitmap(BRect(0, 0, 59, 39), [](BView* v) {
    v->SetHighColor(0, 0, 0);
    v->SetFontSize(20);
    v->DrawString("H", BPoint(10, 25));
  });
  auto rowInked = [&](int y) {
    for (int x = 0; x < image.width(); x++) {
      if (qRed(image.pixel(x, y)) < 128)
        return true;
    }
    return false;
  };
  EXPECT_TRUE(rowInked(24));
  EXPECT_FALSE(rowInked(25));
  for (int y = 0; y < image.height(); y++) {
    for (int x = 0; x < 10; x++)
      ASSERT_GT(qRed(image.pixel(x, y)), 128) << "ink left of the start point at " << x << "," << y;
  }
}

TEST(Drawing, PaletteBitmapShowsSystemColours)
{
  EnsureGuiApp();
  BBitmap palette(BRect(0, 0, 3, 0), B_CMAP8);
  const uint8 indices[4] = {0, 29, 63, 15};
  palette.SetBits(indices, 4, 0, B_CMAP8);
  const QImage image = RenderInBitmap(BRect(0, 0, 9, 9), [&](BView* v) { v->DrawBitmap(&palette, BPoint(2, 3)); });
  EXPECT_TRUE(SameRgb(At(image, 2, 3), rgb_color{0, 0, 0, 255}));
  EXPECT_TRUE(SameRgb(At(image, 3, 3), rgb_color{232, 232, 232, 255}));
  EXPECT_TRUE(SameRgb(At(image, 4, 3), rgb_color{255, 255, 255, 255}));
  EXPECT_TRUE(SameRgb(At(image, 5, 3), rgb_color{120, 120, 120, 255}));
  EXPECT_TRUE(SameRgb(At(image, 6, 3), kWhite)); // nothing beyond the bitmap
}

TEST(Drawing, SetBitsNeverWritesPastTheBitmap)
{
  BBitmap bitmap(BRect(0, 0, 11, 7), B_CMAP8);
  std::vector<uint8> tooMany(size_t(bitmap.BitsLength()) + 64, 63);
  bitmap.SetBits(tooMany.data(), int32(tooMany.size()), 8, B_CMAP8);
  const uint8* bits = static_cast<const uint8*>(bitmap.Bits());
  EXPECT_EQ(bits[7], 0);
  EXPECT_EQ(bits[8], 63);
  EXPECT_EQ(bits[bitmap.BitsLength() - 1], 63);
}

TEST(Drawing, BitmapViewsDrawAtTheirPlaceAndOnlyWhileLocked)
{
  EnsureGuiApp();
  BBitmap bitmap(BRect(0, 0, 29, 29), B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS, B_RGB32);
  auto* outer = new BView(BRect(10, 10, 29, 29), "outer", B_FOLLOW_NONE, B_WILL_DRAW);
  auto* inner = new BView(BRect(5, 5, 9, 9), "inner", B_FOLLOW_NONE, B_WILL_DRAW);
  bitmap.AddChild(outer);
  outer->AddChild(inner);
  inner->SetHighColor(kInk);
  inner->FillRect(BRect(0, 0, 40, 40)); // not locked: nothing drawn
  EXPECT_TRUE(SameRgb(At(bitmap.Image(), 15, 15), kWhite));
  bitmap.Lock();
  inner->FillRect(BRect(0, 0, 40, 40)); // clipped to the inner view
  bitmap.Unlock();
  EXPECT_TRUE(SameRgb(At(bitmap.Image(), 15, 15), kInk));
  EXPECT_TRUE(SameRgb(At(bitmap.Image(), 19, 19), kInk));
  EXPECT_TRUE(SameRgb(At(bitmap.Image(), 20, 20), kWhite));
  EXPECT_TRUE(SameRgb(At(bitmap.Image(), 14, 14), kWhite));
  EXPECT_EQ(bitmap.FindView("inner"), inner);
}

TEST(Drawing, DrawCalledDirectlyRepaintsTheView)
{
  EnsureGuiApp();
  BWindow window(BRect(0, 0, 99, 99), "draw", B_TITLED_WINDOW, 0);
  auto* view = new PaintView(BRect(0, 0, 19, 19), [](BView* v) { v->FillRect(v->Bounds()); });
  window.AddChild(view);
  window.Show();
  auto settle = [] {
    for (int i = 0; i < 5; i++)
      QCoreApplication::processEvents();
  };
  settle();
  const int before = view->drawCount;
  view->Draw(view->Bounds()); // outside a paint event: schedules a repaint
  settle();
  EXPECT_EQ(view->drawCount, before + 2);
}

TEST(Drawing, FontChangedWhilePaintingDoesNotRepaintAgain)
{
  EnsureGuiApp();
  BWindow window(BRect(0, 0, 99, 99), "draw", B_TITLED_WINDOW, 0);
  auto* view = new PaintView(BRect(0, 0, 19, 19), [](BView* v) {
    // As a day cell draws today's number: plain first, then bold.
    v->SetFont(be_plain_font);
    v->SetFont(be_bold_font);
    v->DrawString("7", BPoint(2, 15));
  });
  window.AddChild(view);
  window.Show();
  for (int i = 0; i < 10; i++)
    QCoreApplication::processEvents();
  EXPECT_LE(view->drawCount, 2) << "no endless repaint";
}

struct TintCase {
  const char* name;
  rgb_color color;
  float tint;
  rgb_color expected;
};

TEST(Drawing, TintDarkensAboveOneAndLightensBelow)
{
  const TintCase cases[] = {
      {"slightly darker panel keeps alpha", {216, 216, 216, 7}, 1.147f, {184, 184, 184, 7}},
      {"tint 2 is black", {200, 100, 50, 255}, 2.0f, {0, 0, 0, 255}},
      {"lighter by 0.59", {232, 232, 232, 0}, 0.59f, {241, 241, 241, 0}},
  };
  for (const TintCase& c : cases)
    EXPECT_EQ(tint_color(c.color, c.tint), c.expected) << c.name;
}

} // namespace
