// A menu field: a label and a pop-up button that opens a menu. The button
// shows the label of the field's menu item (the menu's name, or the marked
// item's label when the menu takes its label from the marked item).
//
//   auto* field = new BMenuField(BRect(18, 12, 36, 34), "menMF", "", settingsMenu,
//                                B_FOLLOW_LEFT, B_WILL_DRAW | B_NAVIGABLE);
//   field->SetDivider(0);
//   background->AddChild(field);
//
// The field takes the menu. The label fills the space left of the divider,
// the button the rest. Items of the menu send their messages to the field's
// window by default.
#pragma once

#include "platform/interface/BView.h"

#include <memory>
#include <string>

class BMenu;
class BMenuItem;
class LabelledBox;
class QToolButton;

class BMenuField : public BView {
public:
  BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
             uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
  ~BMenuField() override;

  void AttachedToWindow() override;
  void DetachedFromWindow() override;
  // Giving up the focus also takes Qt's focus from the button, which Tab
  // may have given it without the field becoming the window's focus view.
  void MakeFocus(bool focus = true) override;

  BMenu* Menu() const;
  // Opens the menu, as a click on the button does; returns when it closes.
  void ShowMenu();
  // The item that holds the menu and whose label the button shows.
  BMenuItem* MenuItem() const { return fMenuItem.get(); }

  void SetLabel(const char* label);
  const char* Label() const { return fLabel.c_str(); }
  // Width of the label part, from the field's left edge.
  void SetDivider(float divider);
  float Divider() const { return fDivider; }
  void SetAlignment(alignment align);
  alignment Alignment() const { return fAlignment; }

private:
  void ShowItemLabel();

  std::unique_ptr<BMenuItem> fMenuItem;
  std::string fLabel;
  float fDivider;
  alignment fAlignment = B_ALIGN_LEFT;
  LabelledBox* fBox;        // the view's widget
  QToolButton* fButton;     // child of the view's widget
};
