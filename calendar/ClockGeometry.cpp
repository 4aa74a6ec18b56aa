#include "calendar/ClockGeometry.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
}

float X_AnArc(float angle, float radius)
{
  return static_cast<float>(cos(angle * kPi / 180) * radius);
}

float Y_AnArc(float angle, float radius)
{
  return static_cast<float>(sin(angle * kPi / 180) * radius);
}
