// Menus: items, separators and submenus as Qt actions, marks and enable
// states, choices delivered to the window or an explicit target, Ctrl+letter
// shortcuts, and the menu field that opens its menu in a window.
#include "GuiApp.h"

#include "platform/interface/BMenu.h"
#include "platform/interface/BMenuField.h"
#include "platform/interface/BMenuItem.h"
#include "platform/messaging/BMessage.h"
#include "platform/interface/BSeparatorItem.h"
#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps the code and the "m_id" (-1 without one) of every message.
class RecordingWindow : public BWindow {
public:
  RecordingWindow() : BWindow(BRect(40, 40, 359, 279), "menus", B_TITLED_WINDOW, 0) {}
  void MessageReceived(BMessage* message) override
  {
    codes.push_back(message->what);
    ids.push_back(message->GetInt32("m_id", -1));
  }
  std::vector<uint32> codes;
  std::vector<int32> ids;
};

class RecordingView : public BView {
public:
  RecordingView() : BView(BRect(0, 0, 9, 9), "target", B_FOLLOW_NONE, 0) {}
  void MessageReceived(BMessage* message) override { received.push_back(*message); }
  std::vector<BMessage> received;
};

BMessage* MenuMessage(int32 id)
{
  auto* message = new BMessage('MENU');
  message->AddInt32("m_id", id);
  return message;
}

// The settings menu in small: three items, a separator, a submenu, Quit.
BMenu* SettingsMenu()
{
  auto* menu = new BMenu("");
  menu->AddItem(new BMenuItem("WindowTab", MenuMessage(2), 'D'));
  menu->AddItem(new BMenuItem("Expand View", MenuMessage(1), 'E'));
  menu->AddItem(new BMenuItem("About", new BMessage('_ABR')));
  menu->AddSeparatorItem();
  auto* markDays = new BMenu("MarkDays");
  markDays->AddItem(new BMenuItem(" 3 Globals", new BMessage('sGmd'), 'G'));
  markDays->AddItem(new BMenuItem(" 0 vEvents", new BMessage('sEmd'), 'Z'));
  menu->AddItem(markDays);
  menu->AddItem(new BMenuItem("Quit", MenuMessage(10), 'Q'));
  return menu;
}

void Settle()
{
  for (int i = 0; i < 5; i++)
    QCoreApplication::processEvents();
}

// A window with the settings menu in a field on a background view, shown
// and active so that its shortcuts can be matched.
struct ShownMenuWindow {
  ShownMenuWindow()
  {
    background = new BView(window->Bounds(), "bView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    window->AddChild(background);
    field = new BMenuField(BRect(18, 12, 36, 34), "menMF", "", SettingsMenu(), B_FOLLOW_LEFT,
                           B_WILL_DRAW | B_NAVIGABLE);
    field->SetDivider(0);
    background->AddChild(field);
    window->Show();
    window->Activate();
    activated = QTest::qWaitForWindowActive(window->Widget());
  }
  ~ShownMenuWindow() { delete window; }

  void Press(Qt::Key key)
  {
    QTest::keyClick(window->Widget(), key, Qt::ControlModifier);
    Settle();
  }

  RecordingWindow* window = new RecordingWindow;
  BView* background;
  BMenuField* field;
  bool activated;
};

class MenuTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(MenuTest, ItemsSeparatorsAndSubmenusAreTheQtMenusActionsInOrder)
{
  BMenu* menu = SettingsMenu();
  const QList<QAction*> actions = menu->Menu()->actions();
  ASSERT_EQ(actions.size(), 6);
  for (int32 i = 0; i < menu->CountItems(); i++)
    EXPECT_EQ(actions[i], menu->ItemAt(i)->Action()) << "item " << i;
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_FALSE(actions[3]->isEnabled()) << "a separator cannot be chosen";

  BMenuItem* markDaysItem = menu->ItemAt(4);
  BMenu* markDays = markDaysItem->Submenu();
  ASSERT_NE(markDays, nullptr);
  EXPECT_STREQ(markDaysItem->Label(), "MarkDays");
  EXPECT_EQ(markDays->Superitem(), markDaysItem);
  EXPECT_EQ(actions[4]->menu(), markDays->Menu());
  EXPECT_EQ(menu->ItemAt(0)->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

  // Inserting and removing keep the Qt menu in the same order.
  auto* today = new BMenuItem(" Today-Now ", MenuMessage(7), 'N');
  ASSERT_TRUE(menu->AddItem(today, 2));
  EXPECT_EQ(menu->Menu()->actions().at(2), today->Action());
  EXPECT_FALSE(menu->AddItem(today)) << "an item is in one menu at a time";
  BSeparatorItem refused;
  EXPECT_FALSE(menu->AddItem(&refused, 99)) << "index past the end";
  EXPECT_EQ(menu->RemoveItem(int32(2)), today);
  EXPECT_FALSE(menu->Menu()->actions().contains(today->Action()));
  delete today;
  delete menu;
}

TEST_F(MenuTest, MarksAndEnableStatesShowOnTheActions)
{
  BMenu* menu = SettingsMenu();
  BMenuItem* expand = menu->FindItem("Expand View");
  BMenuItem* about = menu->FindItem("About");
  expand->SetMarked(true);
  EXPECT_TRUE(expand->Action()->isCheckable());
  EXPECT_TRUE(expand->Action()->isChecked());
  EXPECT_FALSE(about->Action()->isCheckable()) << "an unmarked item of a plain menu has no check box";

  BMenuItem* events = menu->FindItem('sEmd');
  events->SetEnabled(false);
  EXPECT_FALSE(events->Action()->isEnabled());

  // The HTML-View submenu: exactly one layout marked.
  auto* html = new BMenu("HTML-View");
  html->SetRadioMode(true);
  html->AddItem(new BMenuItem("1M Page", new BMessage('sN1C'), '1'));
  html->AddItem(new BMenuItem("2Row Page", new BMessage('sN2C'), '2'));
  menu->AddItem(html);
  EXPECT_TRUE(html->ItemAt(1)->Action()->isCheckable()) << "radio items show their (empty) marks";
  html->ItemAt(0)->SetMarked(true);
  html->ItemAt(1)->SetMarked(true);
  EXPECT_FALSE(html->ItemAt(0)->Action()->isChecked());
  EXPECT_EQ(html->FindMarked(), html->ItemAt(1));

  html->SetLabelFromMarked(true);
  EXPECT_STREQ(html->Superitem()->Label(), "2Row Page");
  html->ItemAt(0)->SetMarked(true);
  EXPECT_STREQ(html->Superitem()->Label(), "1M Page");
  delete menu;
}

TEST_F(MenuTest, FindingItemsByLabelCommandAndMark)
{
  BMenu* menu = SettingsMenu();
  BMenu* markDays = menu->FindItem("MarkDays")->Submenu();
  ASSERT_NE(markDays, nullptr);
  EXPECT_EQ(menu->FindItem(" 0 vEvents"), markDays->ItemAt(1)) << "labels are found in submenus";
  EXPECT_EQ(menu->FindItem('sGmd'), markDays->ItemAt(0)) << "commands are found in submenus";
  EXPECT_EQ(menu->FindItem(uint32(0)), nullptr) << "items without a message have no command";

  markDays->ItemAt(0)->SetMarked(true);
  EXPECT_EQ(menu->FindMarked(), nullptr) << "a submenu's mark is its own";
  EXPECT_EQ(markDays->FindMarked(), markDays->ItemAt(0));

  // Relabelling, as a language change or a MarkDays reload does.
  markDays->ItemAt(0)->SetLabel(" 12 Globals");
  EXPECT_EQ(menu->FindItem(" 3 Globals"), nullptr);
  EXPECT_EQ(menu->FindItem(" 12 Globals"), markDays->ItemAt(0));
  EXPECT_EQ(markDays->ItemAt(0)->Action()->text(), QString(" 12 Globals"));
  markDays->ItemAt(0)->SetLabel("Save & Quit");
  EXPECT_EQ(markDays->ItemAt(0)->Action()->text(), QString("Save && Quit"))
      << "an ampersand is shown, not taken as a mnemonic";
  delete menu;
}

TEST_F(MenuTest, ChoosingAnItemPostsItsMessageToTheWindowOrItsTarget)
{
  ShownMenuWindow shown;
  RecordingWindow& window = *shown.window;
  BMenu* menu = shown.field->Menu();
  BMenuItem* expand = menu->FindItem("Expand View");
  expand->SetMarked(true);

  expand->Action()->trigger();
  Settle();
  ASSERT_EQ(window.codes, std::vector<uint32>{'MENU'});
  EXPECT_EQ(window.ids[0], 1);
  EXPECT_TRUE(expand->IsMarked()) << "choosing a marked item leaves the mark to the program";
  EXPECT_TRUE(expand->Action()->isChecked());

  menu->FindItem('sGmd')->Action()->trigger();
  Settle();
  EXPECT_EQ(window.codes, (std::vector<uint32>{'MENU', 'sGmd'})) << "submenu items reach the window too";

  auto* target = new RecordingView;
  shown.background->AddChild(target);
  BMenuItem* about = menu->FindItem("About");
  ASSERT_EQ(about->SetTarget(target), B_OK);
  about->Action()->trigger();
  Settle();
  ASSERT_EQ(target->received.size(), 1u);
  EXPECT_EQ(target->received[0].what, uint32('_ABR'));
  EXPECT_EQ(window.codes.size(), 2u);

  // Without a window and without a target there is nowhere to post to.
  BMenuItem loose("Loose", new BMessage('lose'));
  EXPECT_EQ(loose.Invoke(), B_BAD_PORT_ID);
}

TEST_F(MenuTest, CtrlLetterKeysAtTheWindowChooseItems)
{
  ShownMenuWindow shown;
  ASSERT_TRUE(shown.activated);
  RecordingWindow& window = *shown.window;
  BMenu* menu = shown.field->Menu();

  shown.Press(Qt::Key_E);
  ASSERT_EQ(window.codes, std::vector<uint32>{'MENU'});
  EXPECT_EQ(window.ids[0], 1);

  shown.Press(Qt::Key_G);
  EXPECT_EQ(window.codes, (std::vector<uint32>{'MENU', 'sGmd'})) << "submenu shortcuts work while closed";

  menu->FindItem('sEmd')->SetEnabled(false);
  shown.Press(Qt::Key_Z);
  EXPECT_EQ(window.codes.size(), 2u) << "a disabled item ignores its shortcut";

  auto* later = new BMenuItem(" Today-Now ", MenuMessage(7), 'N');
  menu->AddItem(later);
  shown.Press(Qt::Key_N);
  ASSERT_EQ(window.codes.size(), 3u) << "items added to a shown menu get their shortcut";
  EXPECT_EQ(window.ids[2], 7);

  shown.field->Hide();
  shown.Press(Qt::Key_E);
  EXPECT_EQ(window.codes.size(), 4u) << "shortcuts work while the menu field is hidden";
  shown.field->Show();

  // A field taken out of the window takes its shortcuts with it.
  shown.field->RemoveSelf();
  shown.Press(Qt::Key_E);
  EXPECT_EQ(window.codes.size(), 4u);
  delete shown.field;
}

TEST_F(MenuTest, MenuFieldIsASmallButtonThatOpensItsMenu)
{
  ShownMenuWindow shown;
  BMenuField* field = shown.field;
  auto* button = field->Widget()->findChild<QToolButton*>();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(field->Widget()->geometry(), QRect(18, 12, 19, 23));
  EXPECT_EQ(button->geometry(), QRect(0, 0, 19, 23)) << "divider 0: the button fills the field";

  auto* entry = new RecordingView;
  shown.background->AddChild(entry);
  entry->MakeFocus(true);

  // The click runs the menu's own event loop until the menu closes.
  bool openedVisible = false;
  QTimer::singleShot(0, [&] {
    openedVisible = field->Menu()->Menu()->isVisible();
    field->Menu()->Menu()->close();
  });
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(9, 11));
  Settle();
  EXPECT_TRUE(openedVisible);
  EXPECT_FALSE(field->Menu()->Menu()->isVisible());
  // The window's focus widget is the one that gets the keys when the
  // window is active again.
  QWidget* surface = shown.window->Widget();
  EXPECT_EQ(surface->focusWidget(), entry->Widget()) << "a click leaves the keys with the entry view";

  // The window takes the focus from the field after a menu choice, even
  // when Tab gave it to the button behind the views' backs.
  button->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(surface->focusWidget(), button);
  field->MakeFocus(false);
  EXPECT_NE(surface->focusWidget(), button);
  EXPECT_EQ(shown.window->CurrentFocus(), entry);

  // A label takes the room left of the divider; the button follows the
  // marked item of a menu that shows it.
  auto* html = new BMenu("HTML-View");
  html->AddItem(new BMenuItem("1M Page", new BMessage('sN1C')));
  html->AddItem(new BMenuItem("2Row Page", new BMessage('sN2C')));
  html->SetLabelFromMarked(true);
  auto* labelled = new BMenuField(BRect(50, 12, 249, 34), "html", "Pages:", html);
  labelled->SetDivider(60);
  shown.background->AddChild(labelled);
  auto* htmlButton = labelled->Widget()->findChild<QToolButton*>();
  ASSERT_NE(htmlButton, nullptr);
  EXPECT_EQ(htmlButton->text(), QString("HTML-View"));
  html->ItemAt(1)->SetMarked(true);
  EXPECT_EQ(htmlButton->text(), QString("2Row Page"));
  EXPECT_EQ(htmlButton->geometry(), QRect(60, 0, 140, 23));

  field->SetFontSize(12);
  field->Menu()->SetFontSize(12);
  EXPECT_EQ(button->font().pixelSize(), 12);
  EXPECT_EQ(field->Menu()->Menu()->font().pixelSize(), 12);
}

TEST_F(MenuTest, DeletingMenusItemsAndWindowsInAnyOrder)
{
  {
    BMenu* menu = SettingsMenu();
    BMenuItem* quit = menu->FindItem("Quit");
    delete quit; // an item deleted on its own leaves its menu
    EXPECT_EQ(menu->CountItems(), 5);
    EXPECT_EQ(menu->Menu()->actions().size(), 5);
    delete menu;
  }
  {
    // The window goes first: its views and their menus go with it.
    ShownMenuWindow shown;
  }
  {
    // A submenu opens from one item only; a second item leaves it alone.
    auto* sub = new BMenu("Sub");
    BMenuItem first(sub);
    BMenuItem second(sub);
    EXPECT_EQ(second.Submenu(), nullptr);
    EXPECT_EQ(sub->Superitem(), &first);
  }
  {
    // The field goes first, while the window lives on with the shortcuts.
    ShownMenuWindow shown;
    BMenuField* field = shown.field;
    QWidget* surface = shown.window->Widget();
    EXPECT_FALSE(surface->actions().isEmpty());
    delete field;
    EXPECT_TRUE(surface->actions().isEmpty());
    shown.Press(Qt::Key_E);
    EXPECT_TRUE(shown.window->codes.empty());
  }
}

} // namespace
