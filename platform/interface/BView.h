// A view: a rectangle of a window (or of an offscreen bitmap) that draws
// itself in Draw and takes mouse and key input through its hooks. Views
// form a tree; each one is shown by a Qt widget that is a child of its
// parent's widget, or, made with B_DRAWN_BY_PARENT, painted by the widget
// of the nearest view above it that has one.
//
//   class Field : public BView {
//   public:
//     Field() : BView(BRect(0, 0, 40, 41), "field", B_FOLLOW_LEFT, B_WILL_DRAW) {}
//     void Draw(BRect) override
//     {
//       SetHighColor(12, 12, 12);
//       StrokeRoundRect(Bounds(), 3, 3);
//       DrawString("42", BPoint(12, 25));
//     }
//   };
//
// Coordinates are the view's own, with y growing downward. Rectangles are
// inclusive: FillRect(BRect(0, 0, 9, 9)) fills 10 x 10 pixels, and a
// stroked 1-pixel line at x = 5 covers pixel column 5. Text is drawn with its
// base line on the given y: letters without descenders end on row y - 1.
//
// Drawing calls paint only while Draw runs for a paint event, or while the
// bitmap the view belongs to is locked. Called at any other time (a caller
// that runs Draw directly) they schedule a repaint of the view instead, and
// the repaint runs Draw again.
#pragma once

#include "platform/interface/Accessible.h"
#include "platform/interface/BFont.h"
#include "platform/messaging/BHandler.h"
#include "platform/support/BRect.h"
#include "platform/interface/GraphicsDefs.h"

#include <QBrush>
#include <QPen>
#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class BBitmap;
class BMessage;
class BWindow;
class QPainter;
class ViewWidget;

class BView : public BHandler {
public:
  BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
  ~BView() override; // deletes the children too

  // Hooks.
  virtual void AttachedToWindow();
  virtual void DetachedFromWindow();
  virtual void Draw(BRect updateRect);
  virtual void MouseDown(BPoint where);
  virtual void MouseUp(BPoint where);
  virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
  // `bytes` is a key code of GraphicsDefs.h (B_TAB, B_UP_ARROW, ...) or the
  // key's UTF-8 text. KeyUp comes when the key is released.
  virtual void KeyDown(const char* bytes, int32 numBytes);
  virtual void KeyUp(const char* bytes, int32 numBytes);
  // Makes this view the window's keyboard focus (or takes the focus away).
  virtual void MakeFocus(bool focus = true);
  // Hands every message to the next handler: the parent view, or the window
  // for a view at the top of the window.
  void MessageReceived(BMessage* message) override;
  // What the view tells assistive technologies (Accessible.h). The
  // default, false, presents it as a plain view that holds its children.
  virtual bool GetAccessibleInfo(accessible_info* info) const;

  // Tells listening assistive technologies that what GetAccessibleInfo
  // says has changed; nothing while none listens.
  void AccessibleChanged(accessible_change change);

  // The tree.
  void AddChild(BView* child, BView* before = nullptr);
  bool RemoveChild(BView* child);
  bool RemoveSelf();
  BView* Parent() const; // null at the top of a window or bitmap
  BWindow* Window() const;
  BView* ChildAt(int32 index) const;
  int32 CountChildren() const;
  // This view or the first descendant with that name.
  BView* FindView(const char* name) const;

  // Placement, in the parent's coordinates.
  BRect Frame() const { return fFrame; }
  BRect Bounds() const { return BRect(0, 0, fFrame.Width(), fFrame.Height()); }
  void MoveTo(BPoint where) { MoveTo(where.x, where.y); }
  void MoveTo(float x, float y);
  void MoveBy(float dx, float dy) { MoveTo(fFrame.left + dx, fFrame.top + dy); }
  // Children follow by their resizing modes.
  void ResizeTo(float width, float height);
  void ResizeBy(float dw, float dh) { ResizeTo(fFrame.Width() + dw, fFrame.Height() + dh); }
  uint32 ResizingMode() const { return fResizingMode; }
  void SetResizingMode(uint32 mode) { fResizingMode = mode; }
  uint32 Flags() const { return fFlags; }
  void SetFlags(uint32 flags);

  void Show();
  void Hide();
  bool IsHidden() const { return fHidden; }
  void Invalidate();
  void Invalidate(BRect rect);
  bool IsFocus() const;
  // Where the mouse is, in this view's coordinates, and which buttons are
  // down. Inside a mouse hook: the position and buttons of that event.
  void GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue = true);
  void SetToolTip(const char* text);
  const std::string& ToolTipText() const { return fToolTip; }

  // Drawing state.
  void SetViewColor(rgb_color color);
  void SetViewColor(uint8 r, uint8 g, uint8 b, uint8 a = 255) { SetViewColor(rgb_color{r, g, b, a}); }
  rgb_color ViewColor() const { return fViewColor; }
  void SetHighColor(rgb_color color) { fHighColor = color; }
  void SetHighColor(uint8 r, uint8 g, uint8 b, uint8 a = 255) { fHighColor = {r, g, b, a}; }
  rgb_color HighColor() const { return fHighColor; }
  void SetLowColor(rgb_color color) { fLowColor = color; }
  void SetLowColor(uint8 r, uint8 g, uint8 b, uint8 a = 255) { fLowColor = {r, g, b, a}; }
  rgb_color LowColor() const { return fLowColor; }
  void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
  void GetFont(BFont* font) const;
  void SetFontSize(float size);
  void SetPenSize(float size) { fPenSize = size; }
  float PenSize() const { return fPenSize; }
  void SetLineMode(cap_mode cap, join_mode join, float miterLimit = B_DEFAULT_MITER_LIMIT);
  cap_mode LineCapMode() const { return fCapMode; }
  join_mode LineJoinMode() const { return fJoinMode; }
  void SetDrawingMode(drawing_mode mode) { fDrawingMode = mode; }
  drawing_mode DrawingMode() const { return fDrawingMode; }

  // Drawing.
  void StrokeLine(BPoint start, BPoint end, const pattern& p = B_SOLID_HIGH);
  void StrokeRect(BRect rect, const pattern& p = B_SOLID_HIGH);
  void FillRect(BRect rect, const pattern& p = B_SOLID_HIGH);
  void StrokeRoundRect(BRect rect, float xRadius, float yRadius, const pattern& p = B_SOLID_HIGH);
  void FillRoundRect(BRect rect, float xRadius, float yRadius, const pattern& p = B_SOLID_HIGH);
  void StrokeEllipse(BRect rect, const pattern& p = B_SOLID_HIGH);
  void StrokeEllipse(BPoint center, float xRadius, float yRadius, const pattern& p = B_SOLID_HIGH);
  void FillEllipse(BRect rect, const pattern& p = B_SOLID_HIGH);
  void FillEllipse(BPoint center, float xRadius, float yRadius, const pattern& p = B_SOLID_HIGH);
  // Angles in degrees, counter-clockwise from three o'clock.
  void StrokeArc(BRect rect, float startAngle, float arcAngle, const pattern& p = B_SOLID_HIGH);
  void StrokeArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
                 const pattern& p = B_SOLID_HIGH);
  void FillArc(BRect rect, float startAngle, float arcAngle, const pattern& p = B_SOLID_HIGH);
  void FillArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
               const pattern& p = B_SOLID_HIGH);
  void StrokeTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p = B_SOLID_HIGH);
  void FillTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p = B_SOLID_HIGH);
  // Lines of their own colours in one go; lines beyond `count` are dropped.
  void BeginLineArray(int32 count);
  void AddLine(BPoint start, BPoint end, rgb_color color);
  void EndLineArray();
  // Text in the high colour and the view's font, base line at `where.y`.
  void DrawString(const char* text, BPoint where);
  void DrawBitmap(const BBitmap* bitmap, BPoint where);
  void DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination);
  float StringWidth(const char* text) const { return fFont.StringWidth(text); }
  float StringWidth(const char* text, int32 length) const { return fFont.StringWidth(text, length); }

  // The Qt widget that shows the view, null for a view drawn by its
  // parent; for the platform layer.
  QWidget* Widget() const { return fWidget; }
  // The widget that shows this view: its own, or the one that paints it,
  // with the view's top left corner in it; null when there is none.
  QWidget* Host(QPoint* offset = nullptr) const;

protected:
  // For controls shown by a ready-made Qt widget; the view takes `widget`.
  BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags, QWidget* widget);

  // Whether SetViewColor was called; string views take their parent's view
  // colour until it is.
  bool HasOwnViewColor() const { return fViewColorSet; }

private:
  friend class BWindow;
  friend class BBitmap;
  friend class ViewWidget;
  class DrawScope;

  struct Line {
    BPoint start;
    BPoint end;
    rgb_color color;
  };

  // The hidden root view that holds the top views of a window or bitmap.
  static BView* MakeWindowRoot(BWindow* window, QWidget* host);
  static BView* MakeBitmapRoot(BBitmap* bitmap, BRect bounds);
  BView* Root();
  BView* FocusOfRoot() const { return fFocus; }

  void SetFrame(BRect frame);
  void FollowParent(float dw, float dh);
  void ApplyGeometry();
  void ApplyVisibility();
  void Attach(BWindow* window);
  void Detach();
  void SetBitmap(BBitmap* bitmap);
  BPoint OffsetInRoot() const;
  // The pixels that the view's frame covers in its parent's widget, or in
  // the parent's own pixels for a parent drawn by its parent too.
  QRect PixelFrame() const;
  // The pixels of a view drawn by its parent in its host widget.
  QRect AreaInHost() const;
  // The deepest shown view drawn by its parent under a point of this view,
  // and the point in that view's coordinates; this view when there is none.
  BView* DrawnViewAt(BPoint where, BPoint* local);
  void SetMouseEvent(BPoint where, uint32 buttons);
  void ClearMouseEvent() { fMouseEventActive = false; }
  // The brush of a pattern in the current colours and drawing mode.
  QBrush PatternBrush(const pattern& p) const;
  QPen StrokePen(const pattern& p) const;
  void DrawTriangle(BPoint p1, BPoint p2, BPoint p3, const pattern& p, bool fill);

  QPointer<QWidget> fWidget;
  BView* fParent = nullptr;
  std::vector<BView*> fChildren;
  BWindow* fWindow = nullptr;
  BBitmap* fBitmap = nullptr;
  bool fIsRoot = false;
  BView* fFocus = nullptr; // the root's record of the window's focus view

  BRect fFrame;
  uint32 fResizingMode;
  uint32 fFlags;
  bool fDrawnByParent;
  bool fHidden = false;
  std::string fToolTip;

  rgb_color fViewColor = {255, 255, 255, 255};
  bool fViewColorSet = false;
  rgb_color fHighColor = {0, 0, 0, 255};
  rgb_color fLowColor = {255, 255, 255, 255};
  BFont fFont;
  float fPenSize = 1;
  cap_mode fCapMode = B_BUTT_CAP;
  join_mode fJoinMode = B_MITER_JOIN;
  float fMiterLimit = B_DEFAULT_MITER_LIMIT;
  drawing_mode fDrawingMode = B_OP_COPY;

  QPainter* fPaintEventPainter = nullptr; // set while a paint event runs Draw
  std::vector<Line> fLineArray;
  int32 fLineArrayCapacity = -1; // -1: no line array open

  BPoint fMouseWhere;
  uint32 fMouseButtons = 0;
  bool fMouseEventActive = false;
};
