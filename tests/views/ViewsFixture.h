// Calendar views under test: a fresh home folder with a MarkDays file, the
// Berlin time zone, a new marked-day registry per test, offscreen rendering
// as the month pictures do it, and mouse clicks with either button.
#pragma once

#include "marks/STMarkups.h"
#include "platform/interface/BBitmap.h"
#include "platform/interface/BWindow.h"
#include "settings/Prefs.h"
#include "tests/controls/Input.h"
#include "tests/platform/TempHome.h"
#include "views/DayView.h"
#include "views/MonView.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>

class ViewsTest : public testing::Test, public WithGuiApp {
protected:
  void SetUp() override
  {
    fZone.Set("TZ", "Europe/Berlin");
    tzset();
  }

  void TearDown() override
  {
    if (STMarkups::aMarkupsZgr)
      STMarkups::aMarkupsZgr->DeleteMe();
    Prefs::getSTPrefs()->DeleteMe();
  }

  // Writes the MarkDays file, builds the registry from it and sets today.
  STMarkups* Marks(const std::string& markDays, int32 todayCode = 0)
  {
    mkdir(fHome.Path("people").c_str(), 0755);
    std::ofstream(fHome.Path("people/MarkDays")) << markDays;
    STMarkups* marks = STMarkups::getSTMarkups();
    marks->fTodayCode = todayCode;
    return marks;
  }

  TempHome fHome;
  ScopedEnv fZone;
};

inline rgb_color At(const QImage& image, int x, int y)
{
  const QRgb c = image.pixel(x, y);
  return {uint8(qRed(c)), uint8(qGreen(c)), uint8(qBlue(c)), 0};
}

inline rgb_color Opaque(rgb_color c)
{
  c.alpha = 0;
  return c;
}

// Pixels in the rectangle that are `ink`-like: dark, or (with red) clearly red.
inline int CountInk(const QImage& image, BRect r, bool red = false)
{
  int count = 0;
  for (int y = int(r.top); y <= int(r.bottom); y++) {
    for (int x = int(r.left); x <= int(r.right); x++) {
      const rgb_color c = At(image, x, y);
      count += red ? (c.red > 200 && c.green < 120 && c.blue < 120) : (c.red < 110 && c.green < 110 && c.blue < 110);
    }
  }
  return count;
}

// One view painted by itself into a bitmap of its size; the view stays the
// caller's.
inline QImage RenderAlone(BView* view)
{
  BBitmap bitmap(view->Bounds(), B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS, B_RGB32);
  bitmap.Lock();
  bitmap.AddChild(view);
  view->Draw(view->Bounds());
  view->RemoveSelf();
  bitmap.Unlock();
  return bitmap.Image().convertToFormat(QImage::Format_RGB32);
}

// A month painted offscreen the way the month pictures paint it: the panel,
// then the cells, each cell drawn by itself.
inline QImage RenderMonth(BRect bounds, int32 year, int32 month, int32 day, bool select)
{
  BBitmap bitmap(bounds, B_BITMAP_CLEAR_TO_WHITE | B_BITMAP_ACCEPTS_VIEWS, B_RGB32);
  bitmap.Lock();
  auto* view = new MonView(bounds, "iMon", year, month, day, true);
  bitmap.AddChild(view);
  view->Draw(view->Bounds());
  view->DrawTable(select);
  for (int32 i = 0; i < view->CountChildren(); i++)
    view->CellAt(i)->Draw(view->CellAt(i)->Bounds());
  view->RemoveSelf();
  delete view;
  bitmap.Unlock();
  return bitmap.Image().convertToFormat(QImage::Format_RGB32);
}

