// Colours, patterns, drawing modes and the other small types of the drawing
// layer, with the view constants (resizing modes, flags, key codes, mouse
// buttons) that the views share.
#pragma once

#include "platform/support/SupportDefs.h"

// Colours as the drawing code names them: red, green, blue and alpha bytes.
// Alpha is read only in B_OP_ALPHA; every other mode draws the colour opaque.
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

// A view colour that tells the view not to clear its background before Draw.
inline constexpr rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};

// An 8 x 8 pattern, one byte a row, most significant bit leftmost: a set bit
// takes the high colour, a clear bit the low colour.
struct pattern {
  uint8 data[8];
};
inline constexpr pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
inline constexpr pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr pattern B_MIXED_COLORS = {{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}};

enum drawing_mode {
  B_OP_COPY,   // the colour replaces the pixel
  B_OP_OVER,   // as copy for shapes; bitmaps are drawn the same way
  B_OP_ERASE,  // draws in the low colour
  B_OP_INVERT, // inverts the pixels under the shape
  B_OP_ALPHA,  // blends the colour by its alpha byte
};

enum cap_mode { B_BUTT_CAP, B_ROUND_CAP, B_SQUARE_CAP };
enum join_mode { B_MITER_JOIN, B_ROUND_JOIN, B_BEVEL_JOIN };
inline constexpr float B_DEFAULT_MITER_LIMIT = 10.0f;

enum alignment { B_ALIGN_LEFT, B_ALIGN_RIGHT, B_ALIGN_CENTER };

enum color_space {
  B_CMAP8,  // one byte a pixel: an index into the system colour map
  B_RGB32,  // four bytes a pixel: blue, green, red, unused
};

// Resizing modes: how a view follows its parent's size. Each edge keeps its
// distance to the parent edge it follows; B_FOLLOW_NONE is left and top.
enum : uint32 {
  B_FOLLOW_NONE = 0,
  B_FOLLOW_LEFT = 0x01,
  B_FOLLOW_RIGHT = 0x02,
  B_FOLLOW_LEFT_RIGHT = 0x03,
  B_FOLLOW_H_CENTER = 0x04,
  B_FOLLOW_TOP = 0x10,
  B_FOLLOW_BOTTOM = 0x20,
  B_FOLLOW_TOP_BOTTOM = 0x30,
  B_FOLLOW_V_CENTER = 0x40,
  B_FOLLOW_ALL_SIDES = B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP_BOTTOM,
  B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES,
};

// View flags.
enum : uint32 {
  B_WILL_DRAW = 0x01,
  B_NAVIGABLE = 0x02, // takes the keyboard focus by Tab and by clicks
  // No Qt widget of its own: the parent's widget paints the view after the
  // parent's Draw and hands it the mouse and wheel events and tool tips
  // over its frame. For the many small views of a grid, each of which would
  // otherwise cost a widget to make, show and paint. Its children must be
  // drawn by their parent too.
  B_DRAWN_BY_PARENT = 0x04,
};

// Key codes: the first byte handed to KeyDown and KeyUp for special keys;
// printable keys give their UTF-8 bytes.
enum : uint8 {
  B_HOME = 1,
  B_END = 4,
  B_INSERT = 5,
  B_BACKSPACE = 8,
  B_TAB = 9,
  B_ENTER = 10,
  B_PAGE_UP = 11,
  B_PAGE_DOWN = 12,
  B_FUNCTION_KEY = 16,
  B_ESCAPE = 27,
  B_LEFT_ARROW = 28,
  B_RIGHT_ARROW = 29,
  B_UP_ARROW = 30,
  B_DOWN_ARROW = 31,
  B_SPACE = 32,
  B_DELETE = 127,
};

// Keys that give no character, for BWindow::AddShortcut; their key codes.
enum function_key : uint32 {
  B_F1_KEY = 0x02,
  B_F2_KEY,
  B_F3_KEY,
  B_F4_KEY,
  B_F5_KEY,
  B_F6_KEY,
  B_F7_KEY,
  B_F8_KEY,
  B_F9_KEY,
  B_F10_KEY,
  B_F11_KEY,
  B_F12_KEY,
  B_MENU_KEY = 0x68,  // the context-menu key
};

// Mouse buttons as GetMouse reports them.
enum : uint32 {
  B_PRIMARY_MOUSE_BUTTON = 1,
  B_SECONDARY_MOUSE_BUTTON = 2,
  B_TERTIARY_MOUSE_BUTTON = 4,
};

// MouseMoved transit codes.
enum : uint32 { B_ENTERED_VIEW, B_INSIDE_VIEW, B_EXITED_VIEW };

// The message a view receives when the mouse wheel turns; its float field
// "be:wheel_delta_y" is negative when the wheel turns up (away from the
// user), "be:wheel_delta_x" negative to the left. One notch is 1.
enum : uint32 { B_MOUSE_WHEEL_CHANGED = '_MWC' };
