#include "app/WindowFrame.h"

#include "app/OVA_Window.h"
#include "platform/interface/BScreen.h"

#include <cmath>

bool IsUsableWindowFrame(const BRect& frame)
{
  for (float side : {frame.left, frame.top, frame.right, frame.bottom}) {
    if (!std::isfinite(side))
      return false;
  }
  // The window only ever has the sizes of its layouts; anything smaller is
  // a sliver, anything larger a window beyond the screens' reach.
  if (frame.Width() < MIN_W || frame.Width() > MAX_W || frame.Height() < MIN_H || frame.Height() > MAX_H)
    return false;
  for (BScreen screen; screen.IsValid(); screen.SetToNext()) {
    const BRect s = screen.Frame();
    if (frame.left <= s.right && frame.right >= s.left && frame.top <= s.bottom && frame.bottom >= s.top)
      return true;
  }
  return false;
}
