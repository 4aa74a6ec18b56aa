#include "platform/interface/BAlert.h"

#include "platform/interface/GraphicsDefs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {

struct AutoAnswer {
  int32 index = -1;
  int32 count = 0;
  std::string title;
  std::string text;
};

AutoAnswer& TestAnswer()
{
  static AutoAnswer answer;
  return answer;
}

QMessageBox::Icon IconOf(alert_type type)
{
  switch (type) {
  case B_INFO_ALERT:
  case B_IDEA_ALERT: return QMessageBox::Information;
  case B_WARNING_ALERT: return QMessageBox::Warning;
  case B_STOP_ALERT: return QMessageBox::Critical;
  case B_EMPTY_ALERT: break;
  }
  return QMessageBox::NoIcon;
}

} // namespace

BAlert::BAlert(const char* title, const char* text, const char* button0, const char* button1,
               const char* button2, button_width, alert_type type)
    : fTitle(title ? title : ""), fText(text ? text : ""), fType(type)
{
  for (const char* label : {button0, button1, button2}) {
    if (!label)
      break;
    fButtons.push_back(label);
  }
  fShortcuts.assign(fButtons.size(), 0);
}

BAlert::~BAlert() = default;

void BAlert::SetShortcut(int32 index, char key)
{
  if (index >= 0 && index < CountButtons())
    fShortcuts[size_t(index)] = key;
}

char BAlert::Shortcut(int32 index) const
{
  return index >= 0 && index < CountButtons() ? fShortcuts[size_t(index)] : 0;
}

int32 BAlert::Go()
{
  const int32 result = Show();
  delete this;
  return result;
}

int32 BAlert::Show()
{
  AutoAnswer& answer = TestAnswer();
  if (answer.index >= 0) {
    answer.count++;
    answer.title = fTitle;
    answer.text = fText;
    return answer.index < CountButtons() ? answer.index : -1;
  }
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    printf("BAlert: no application to show \"%s\"\n", fText.c_str());
    return -1;
  }
  QMessageBox box(IconOf(fType), QString::fromUtf8(fTitle.c_str()), QString::fromUtf8(fText.c_str()));
  std::vector<QPushButton*> buttons;
  for (size_t i = 0; i < fButtons.size(); i++) {
    // One role for all keeps the buttons in the order given.
    QPushButton* button = box.addButton(QString::fromUtf8(fButtons[i].c_str()), QMessageBox::ActionRole);
    const char key = fShortcuts[i];
    if (key == char(B_ENTER))
      box.setDefaultButton(button);
    else if (key == char(B_ESCAPE))
      box.setEscapeButton(button);
    else if (key)
      button->setShortcut(QKeySequence(QString(QChar(key))));
    buttons.push_back(button);
  }
  box.exec();
  for (size_t i = 0; i < buttons.size(); i++) {
    if (box.clickedButton() == buttons[i])
      return int32(i);
  }
  return -1;
}

void BAlert::SetAutoAnswer(int32 index)
{
  TestAnswer().index = index;
}

int32 BAlert::AutoAnsweredCount()
{
  return TestAnswer().count;
}

const std::string& BAlert::LastTitle()
{
  return TestAnswer().title;
}

const std::string& BAlert::LastText()
{
  return TestAnswer().text;
}
