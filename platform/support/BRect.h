// Points and rectangles in view coordinates (y grows downward).
//
// Rectangles are inclusive: BRect(0, 0, 225, 170) covers 226 x 171 pixels,
// and Width() is right - left (225), as the drawing code expects.
#pragma once

#include <cstdio>

class BPoint {
public:
  float x = 0;
  float y = 0;

  BPoint() = default;
  BPoint(float px, float py) : x(px), y(py) {}
  bool operator==(const BPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const BPoint& o) const { return !(*this == o); }
  BPoint operator+(const BPoint& o) const { return BPoint(x + o.x, y + o.y); }
  BPoint operator-(const BPoint& o) const { return BPoint(x - o.x, y - o.y); }
  void PrintToStream() const { printf("BPoint(x:%.0f, y:%.0f)\n", x, y); }
};

class BRect {
public:
  float left = 0;
  float top = 0;
  float right = -1;
  float bottom = -1;

  BRect() = default;
  BRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
  BRect(BPoint leftTop, BPoint rightBottom)
      : left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y) {}

  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
  bool IsValid() const { return left <= right && top <= bottom; }
  BPoint LeftTop() const { return BPoint(left, top); }
  BPoint RightBottom() const { return BPoint(right, bottom); }
  BPoint LeftBottom() const { return BPoint(left, bottom); }
  BPoint RightTop() const { return BPoint(right, top); }

  void Set(float l, float t, float r, float b) { left = l; top = t; right = r; bottom = b; }
  void OffsetBy(float dx, float dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void OffsetTo(float x, float y) { OffsetBy(x - left, y - top); }
  void InsetBy(float dx, float dy) { left += dx; right -= dx; top += dy; bottom -= dy; }
  BRect InsetByCopy(float dx, float dy) const { BRect r = *this; r.InsetBy(dx, dy); return r; }
  bool Contains(BPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }

  bool operator==(const BRect& o) const
  {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const BRect& o) const { return !(*this == o); }

  void PrintToStream() const
  {
    printf("BRect(l:%.1f, t:%.1f, r:%.1f, b:%.1f)\n", left, top, right, bottom);
  }
};
