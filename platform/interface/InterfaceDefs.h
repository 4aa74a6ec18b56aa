// System colours and shades. ui_color gives the colour the desktop uses for
// a kind of surface; tint_color makes a darker or lighter shade of a colour.
//
//   rgb_color panel = tint_color(ui_color(B_MENU_BACKGROUND_COLOR), 1.147);
#pragma once

#include "platform/interface/GraphicsDefs.h"

enum color_which {
  B_PANEL_BACKGROUND_COLOR,
  B_PANEL_TEXT_COLOR,
  B_MENU_BACKGROUND_COLOR,
  B_MENU_SELECTED_BACKGROUND_COLOR,
  B_MENU_ITEM_TEXT_COLOR,
  B_CONTROL_BACKGROUND_COLOR,
  B_TOOLTIP_BACKGROUND_COLOR,
  B_TOOLTIP_TEXT_COLOR,
  B_KEYBOARD_NAVIGATION_COLOR,

  // The names the second build's code uses for the same colours.
  B_UI_PANEL_BACKGROUND_COLOR = B_PANEL_BACKGROUND_COLOR,
  B_UI_MENU_BACKGROUND_COLOR = B_MENU_BACKGROUND_COLOR,
  B_UI_CONTROL_BACKGROUND_COLOR = B_CONTROL_BACKGROUND_COLOR,
  B_UI_TOOLTIP_BACKGROUND_COLOR = B_TOOLTIP_BACKGROUND_COLOR,
};

// Fixed classic colours; in the second build (ORVELLA_DESKTOP_VARIANT) the desktop
// palette's colours for the same roles. Unknown values give black.
rgb_color ui_color(color_which which);

// Tints above 1 darken (2 gives black), tints below 1 lighten (0 gives
// white); 1 keeps the colour. Alpha is kept.
rgb_color tint_color(rgb_color color, float tint);

inline constexpr float B_LIGHTEN_2_TINT = 0.385f;
inline constexpr float B_LIGHTEN_1_TINT = 0.590f;
inline constexpr float B_DARKEN_1_TINT = 1.147f;
inline constexpr float B_DARKEN_2_TINT = 1.295f;
