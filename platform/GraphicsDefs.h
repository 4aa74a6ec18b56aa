// Colours as the drawing code names them: red, green, blue and alpha bytes.
#pragma once

#include "platform/SupportDefs.h"

struct rgb_color {
  uint8 red;
  uint8 green;
  uint8 blue;
  uint8 alpha;

  bool operator==(const rgb_color& o) const
  {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
  bool operator!=(const rgb_color& o) const { return !(*this == o); }
};
