// The widget of a labelled control (a menu field, a text control): its
// label, `divider` pixels wide, and its control in the rest, placed by
// hand. A layout would ask the control for its size hint, and so load its
// font, before anything is drawn with it. For the layer's own controls.
#pragma once

#include <QWidget>

class QLabel;

class LabelledBox : public QWidget {
public:
  // The box makes its label and takes `control` as its child.
  explicit LabelledBox(QWidget* control);

  QLabel* Label() const { return fLabel; }
  QWidget* Control() const { return fControl; }
  // The label's width from the left edge, rounded to pixels; 0 hides it.
  void SetDivider(float divider);

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  QLabel* fLabel;
  QWidget* fControl;
  int fDivider = 0;
};
