// A window: a looper shown as a top-level Qt widget. Its frame is in
// screen coordinates and inclusive, like every rectangle of the layer: the
// frame 100, 100, 420, 176 is a window of 321 x 77 pixels whose content
// starts at screen point 100, 100.
//
//   auto* window = new BWindow(BRect(100, 100, 420, 176), "Orvella", B_TITLED_WINDOW_LOOK,
//                              B_NORMAL_WINDOW_FEEL, B_NOT_RESIZABLE | B_QUIT_ON_WINDOW_CLOSE);
//   window->Show();
//
// Closing the window by its title bar sends it B_QUIT_REQUESTED; when
// QuitRequested() agrees the window quits, which deletes it. With
// B_QUIT_ON_WINDOW_CLOSE quitting the window also quits the application.
#pragma once

#include "platform/messaging/BLooper.h"
#include "platform/support/BRect.h"

#include <memory>
#include <string>

class BView;
class QWidget;

enum window_look : uint32 {
  B_TITLED_WINDOW_LOOK = 1,
  B_MODAL_WINDOW_LOOK = 3,
  B_FLOATING_WINDOW_LOOK = 7,
  B_DOCUMENT_WINDOW_LOOK = 11,
  B_NO_BORDER_WINDOW_LOOK = 19,
  B_BORDERED_WINDOW_LOOK = 20,
};

enum window_feel : uint32 {
  B_NORMAL_WINDOW_FEEL = 0,
  B_MODAL_APP_WINDOW_FEEL = 1,
  B_FLOATING_APP_WINDOW_FEEL = 4,
  B_FLOATING_ALL_WINDOW_FEEL = 6,
};

// A window type stands for a look and a feel.
enum window_type : uint32 {
  B_TITLED_WINDOW = 1,
  B_MODAL_WINDOW = 3,
  B_DOCUMENT_WINDOW = 11,
  B_BORDERED_WINDOW = 20,
  B_FLOATING_WINDOW = 21,
};

enum : uint32 {
  B_NOT_MOVABLE = 0x00000001,  // accepted; the desktop decides on Linux
  B_NOT_RESIZABLE = 0x00000002,
  B_NOT_H_RESIZABLE = 0x00000004,
  B_NOT_V_RESIZABLE = 0x00000008,
  B_NOT_CLOSABLE = 0x00000020,
  B_NOT_ZOOMABLE = 0x00000040,
  B_AVOID_FOCUS = 0x00002000,
  B_NOT_MINIMIZABLE = 0x00004000,
  B_ASYNCHRONOUS_CONTROLS = 0x00080000,  // accepted; controls never block here
  B_QUIT_ON_WINDOW_CLOSE = 0x00100000,
};

enum : uint32 {
  B_CURRENT_WORKSPACE = 0,
  B_ALL_WORKSPACES = 0xffffffff,
};

class BWindow : public BLooper {
public:
  BWindow(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
          uint32 workspace = B_CURRENT_WORKSPACE);
  BWindow(BRect frame, const char* title, window_type type, uint32 flags,
          uint32 workspace = B_CURRENT_WORKSPACE);
  ~BWindow() override;

  // Show and Hide nest: a window hidden twice needs two Show calls.
  void Show();
  void Hide();
  bool IsHidden() const { return fHideLevel > 0; }
  // true: bring to the front and take the focus (on Wayland the compositor
  // decides). false: give the keyboard focus away and stay where it is (on
  // X11; elsewhere the window cannot give its focus away and stays as it
  // is).
  void Activate(bool active = true);
  // Activate(true) for another program that brings this window up. On
  // Wayland the window shows the compositor that program's activation
  // token (xdg-activation; null or empty: none), and the compositor decides
  // whether it takes the focus; without a token it asks for the user's
  // attention instead (platform/interface/XdgActivation.h).
  void ActivateFor(const char* activationToken);
  bool IsActive() const;

  // On Wayland, which tells no client where its windows are, the frame's
  // left-top is the place last given (constructor, MoveTo).
  BRect Frame() const;
  // The frame in window coordinates: 0, 0, width, height.
  BRect Bounds() const;
  void MoveTo(BPoint leftTop);
  void MoveTo(float x, float y) { MoveTo(BPoint(x, y)); }
  void MoveBy(float dx, float dy);
  // Width and height as in Bounds(); clamped to the size limits.
  void ResizeTo(float width, float height);
  void ResizeBy(float dx, float dy);
  void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
  void GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight) const;

  const char* Title() const { return fTitle.c_str(); }
  void SetTitle(const char* title);
  window_look Look() const { return fLook; }
  void SetLook(window_look look);
  window_feel Feel() const { return fFeel; }
  void SetFeel(window_feel feel);
  uint32 Flags() const { return fFlags; }
  void SetFlags(uint32 flags);

  // Hooks, called after the window really moved or changed size (by the
  // program or by the user) and when it gains or loses the focus.
  virtual void FrameMoved(BPoint newPosition);
  virtual void FrameResized(float newWidth, float newHeight);
  virtual void WindowActivated(bool active);

  // Hides the window and deletes it (after the message being handled).
  void Quit() override;

  // The top-level widget, for the layer's own view code.
  QWidget* Widget() const;

  // Views at the top of the window; the window deletes them with itself.
  void AddChild(BView* child, BView* before = nullptr);
  bool RemoveChild(BView* child);
  BView* ChildAt(int32 index) const;
  int32 CountChildren() const;
  // The first view of the window with that name.
  BView* FindView(const char* name) const;
  // The view that takes the keys (BView::MakeFocus), or null.
  BView* CurrentFocus() const;

private:
  class Surface;

  void ApplyWindowFlags();
  void ApplySizeLimits();
  void WidgetMoved();
  void WidgetResized();
  void WidgetActivationChanged();
  void WidgetCloseRequested();

  std::unique_ptr<Surface> fSurface;
  BView* fTopView = nullptr; // holds the top views inside the widget
  BPoint fPlace;  // the left-top last given, in whole pixels
  std::string fTitle;
  window_look fLook;
  window_feel fFeel;
  uint32 fFlags;
  int32 fHideLevel = 1;
  int32 fInWidgetEvent = 0;
  float fMinWidth = 0;
  float fMaxWidth = 32767;
  float fMinHeight = 0;
  float fMaxHeight = 32767;
};
