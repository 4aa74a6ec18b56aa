// The widget of a labelled control (a menu field, a text control): its
// label, `divider` pixels wide, and its control in the rest, placed by
// hand. A layout would ask the control for its size hint, and so load its
// font, before anything is drawn with it. For the layer's own controls.
#pragma once

#include <QPointer>
#include <QWidget>

class LabelledBox : public QWidget {
public:
  void Arrange(QWidget* label, QWidget* control, int divider);

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  QPointer<QWidget> fLabel;
  QPointer<QWidget> fControl;
  int fDivider = 0;
};
