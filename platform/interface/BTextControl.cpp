#include "platform/interface/BTextControl.h"

#include "platform/interface/BWindow.h"
#include "platform/interface/LabelledBox.h"

#include <QLabel>
#include <QLineEdit>


namespace {

// Tab and Shift+Tab move on to the next (or previous) control of the window
// that takes the focus by Tab, as between the fields of a form; the views
// around the field would otherwise keep the key.
class LineEdit : public QLineEdit {
protected:
  bool focusNextPrevChild(bool next) override
  {
    for (QWidget* other = next ? nextInFocusChain() : previousInFocusChain(); other && other != this;
         other = next ? other->nextInFocusChain() : other->previousInFocusChain()) {
      if ((other->focusPolicy() & Qt::TabFocus) && other->isVisibleTo(window()) && other->isEnabled()
          && other->window() == window()) {
        other->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
      }
    }
    return false;
  }
};

} // namespace

BTextControl::BTextControl(BRect frame, const char* name, const char* label, const char* text, BMessage* message,
                           uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags, new LabelledBox(new LineEdit)), BInvoker(message),
      fLabel(label ? label : ""), fDivider(fLabel.empty() ? 0 : StringWidth(fLabel.c_str()) + 5),
      fBox(static_cast<LabelledBox*>(Widget())), fEdit(static_cast<QLineEdit*>(fBox->Control()))
{
  fEdit->setFocusPolicy(flags & B_NAVIGABLE ? Qt::StrongFocus : Qt::ClickFocus);
  fBox->Label()->setText(QString::fromUtf8(fLabel.c_str()));
  fEdit->setText(QString::fromUtf8(text ? text : ""));
  QObject::connect(fEdit, &QLineEdit::returnPressed, fEdit, [this] { Invoke(); });
  SetDivider(fDivider);
}

BTextControl::~BTextControl() = default;

void BTextControl::SetText(const char* text)
{
  fEdit->setText(QString::fromUtf8(text ? text : ""));
}

std::string BTextControl::Text() const
{
  return fEdit->text().toStdString();
}

void BTextControl::SetLabel(const char* label)
{
  fLabel = label ? label : "";
  fBox->Label()->setText(QString::fromUtf8(fLabel.c_str()));
}

void BTextControl::SetDivider(float divider)
{
  fDivider = divider > 0 ? divider : 0;
  fBox->SetDivider(fDivider);
}

void BTextControl::HideTyping(bool hide)
{
  fEdit->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal);
}

void BTextControl::SetEnabled(bool enabled)
{
  Widget()->setEnabled(enabled);
}

BLooper* BTextControl::DefaultTarget() const
{
  return Window();
}
