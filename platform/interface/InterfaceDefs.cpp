#include "platform/interface/InterfaceDefs.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace {

#ifdef ORVELLA_DESKTOP_VARIANT
rgb_color FromPalette(QPalette::ColorRole role)
{
  const QColor c = QGuiApplication::palette().color(QPalette::Active, role);
  return {uint8(c.red()), uint8(c.green()), uint8(c.blue()), 255};
}
#endif

} // namespace

rgb_color ui_color(color_which which)
{
#ifdef ORVELLA_DESKTOP_VARIANT
  switch (which) {
  case B_PANEL_BACKGROUND_COLOR: return FromPalette(QPalette::Window);
  case B_PANEL_TEXT_COLOR: return FromPalette(QPalette::WindowText);
  case B_MENU_BACKGROUND_COLOR: return FromPalette(QPalette::Window);
  case B_MENU_SELECTED_BACKGROUND_COLOR: return FromPalette(QPalette::Highlight);
  case B_MENU_ITEM_TEXT_COLOR: return FromPalette(QPalette::WindowText);
  case B_CONTROL_BACKGROUND_COLOR: return FromPalette(QPalette::Base);
  case B_TOOLTIP_BACKGROUND_COLOR: return FromPalette(QPalette::ToolTipBase);
  case B_TOOLTIP_TEXT_COLOR: return FromPalette(QPalette::ToolTipText);
  case B_KEYBOARD_NAVIGATION_COLOR: return FromPalette(QPalette::Highlight);
  }
#else
  switch (which) {
  case B_PANEL_BACKGROUND_COLOR: return {216, 216, 216, 255};
  case B_PANEL_TEXT_COLOR: return {0, 0, 0, 255};
  case B_MENU_BACKGROUND_COLOR: return {216, 216, 216, 255};
  case B_MENU_SELECTED_BACKGROUND_COLOR: return {115, 120, 184, 255};
  case B_MENU_ITEM_TEXT_COLOR: return {0, 0, 0, 255};
  case B_CONTROL_BACKGROUND_COLOR: return {245, 245, 245, 255};
  case B_TOOLTIP_BACKGROUND_COLOR: return {255, 255, 210, 255};
  case B_TOOLTIP_TEXT_COLOR: return {0, 0, 0, 255};
  case B_KEYBOARD_NAVIGATION_COLOR: return {0, 0, 229, 255};
  }
#endif
  return {0, 0, 0, 255};
}

rgb_color tint_color(rgb_color color, float tint)
{
  // Darkening scales toward black, lightening moves toward white; both are
  // rounded to the nearest byte.
  auto shade = [tint](uint8 v) -> uint8 {
    float out = tint > 1 ? v * (2 - tint) : 255 - (255 - v) * tint;
    return uint8(std::clamp(out + 0.5f, 0.0f, 255.0f));
  };
  if (tint == 1)
    return color;
  return {shade(color.red), shade(color.green), shade(color.blue), color.alpha};
}
