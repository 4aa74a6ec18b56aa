// Views as assistive technologies read them: what a view says of itself,
// the children they see (views drawn by their parent among them), tables of
// cells, and interfaces that end with their views.
#include "GuiApp.h"

#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A view that says what the test gives it.
class SayingView : public BView {
public:
  SayingView(const char* name, BRect frame, const accessible_info& info, uint32 flags = B_WILL_DRAW)
      : BView(frame, name, B_FOLLOW_NONE, flags), info(info)
  {
  }
  bool GetAccessibleInfo(accessible_info* out) const override
  {
    *out = info;
    return true;
  }
  accessible_info info;
};

accessible_info Info(accessible_role role, const char* name, int32 row = -1, int32 column = -1)
{
  accessible_info info;
  info.role = role;
  info.name = name;
  info.row = row;
  info.column = column;
  return info;
}

std::string Name(QAccessibleInterface* accessible)
{
  return accessible ? accessible->text(QAccessible::Name).toStdString() : "(none)";
}

class AccessibleTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    EnsureGuiApp();
    window = std::make_unique<BWindow>(BRect(100, 100, 299, 199), "test", B_TITLED_WINDOW, 0);
    group = new BView(BRect(0, 0, 199, 99), "group", B_FOLLOW_NONE, B_WILL_DRAW);
    accessible_info spin = Info(B_ACCESSIBLE_SPIN_BOX, "Minute");
    spin.value = "05";
    spin.SetNumber(5, 0, 59);
    group->AddChild(new SayingView("spin", BRect(0, 0, 29, 29), spin));
    group->AddChild(new SayingView("frame piece", BRect(30, 0, 39, 29), Info(B_ACCESSIBLE_IGNORED, "/")));
    table = new SayingView("table", BRect(40, 0, 139, 59), Info(B_ACCESSIBLE_TABLE, "March 2004"));
    group->AddChild(table);
    // Cells drawn by the table, in two rows of two; the last one selected.
    const char* names[] = {"one", "two", "three", "four"};
    for (int32 i = 0; i < 4; i++) {
      accessible_info cell = Info(B_ACCESSIBLE_CELL, names[i], i / 2, i % 2);
      cell.selected = i == 3;
      cells[i] = new SayingView(names[i], BRect(10 + 20 * (i % 2), 10 + 20 * (i / 2), 29 + 20 * (i % 2),
                                                 29 + 20 * (i / 2)),
                                cell, B_WILL_DRAW | B_DRAWN_BY_PARENT);
      table->AddChild(cells[i]);
    }
    window->AddChild(group);
    window->Show();
  }

  static QAccessibleInterface* Of(BView* view) { return QAccessible::queryAccessibleInterface(view->Widget()); }

  std::unique_ptr<BWindow> window;
  BView* group = nullptr;
  SayingView* table = nullptr;
  SayingView* cells[4] = {};
};

TEST_F(AccessibleTest, AViewIsReadAsItSaysAndItsChildrenInTheirOrder)
{
  QAccessibleInterface* holder = Of(group);
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->role(), QAccessible::Client) << "a view that says nothing holds its children";
  ASSERT_EQ(holder->childCount(), 2) << "the frame piece is left out";

  QAccessibleInterface* spin = holder->child(0);
  EXPECT_EQ(spin->role(), QAccessible::SpinBox);
  EXPECT_EQ(Name(spin), "Minute");
  EXPECT_EQ(spin->text(QAccessible::Value).toStdString(), "05");
  ASSERT_NE(spin->valueInterface(), nullptr);
  EXPECT_EQ(spin->valueInterface()->currentValue().toInt(), 5);
  EXPECT_EQ(spin->valueInterface()->maximumValue().toInt(), 59);
  ASSERT_NE(spin->textInterface(), nullptr);
  EXPECT_EQ(spin->textInterface()->text(0, spin->textInterface()->characterCount()).toStdString(), "05");
  EXPECT_TRUE(spin->state().focusable);
  EXPECT_EQ(spin->parent(), holder);
  EXPECT_EQ(holder->indexOfChild(Of(table)), 1);
  EXPECT_EQ(Of(table)->valueInterface(), nullptr) << "a view without a number has no value";
}

TEST_F(AccessibleTest, ATableHoldsTheCellsItsChildrenSayTheyAre)
{
  QAccessibleInterface* grid = Of(table);
  ASSERT_EQ(grid->role(), QAccessible::Table);
  EXPECT_EQ(Name(grid), "March 2004");
  QAccessibleTableInterface* cellsOf = grid->tableInterface();
  ASSERT_NE(cellsOf, nullptr);
  EXPECT_EQ(cellsOf->rowCount(), 2);
  EXPECT_EQ(cellsOf->columnCount(), 2);
  ASSERT_EQ(grid->childCount(), 4) << "views drawn by their parent are children too";

  QAccessibleInterface* cell = cellsOf->cellAt(1, 0);
  EXPECT_EQ(Name(cell), "three");
  EXPECT_EQ(cell, grid->child(2)) << "one interface per view";
  EXPECT_EQ(cell->role(), QAccessible::Cell);
  EXPECT_EQ(cell->parent(), grid);
  EXPECT_EQ(grid->indexOfChild(cell), 2);
  ASSERT_NE(cell->tableCellInterface(), nullptr);
  EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
  EXPECT_EQ(cell->tableCellInterface()->table(), grid);
  EXPECT_EQ(cellsOf->cellAt(2, 0), nullptr) << "no third row";

  ASSERT_EQ(cellsOf->selectedCellCount(), 1);
  EXPECT_EQ(Name(cellsOf->selectedCells().first()), "four");
  EXPECT_TRUE(cellsOf->selectedCells().first()->state().selected);
  EXPECT_FALSE(cell->state().selected);

  // A cell lies where its view is drawn, and is found there.
  const QRect area = cell->rect();
  EXPECT_EQ(area.size(), QSize(20, 20));
  EXPECT_EQ(area.topLeft() - grid->rect().topLeft(), QPoint(10, 30));
  EXPECT_EQ(grid->childAt(area.center().x(), area.center().y()), cell);
}

TEST_F(AccessibleTest, HiddenViewsAreInvisibleAndGoneViewsLeaveTheTree)
{
  QAccessibleInterface* grid = Of(table);
  QAccessibleInterface* cell = grid->child(0);
  EXPECT_FALSE(cell->state().invisible);
  table->Hide();
  EXPECT_TRUE(cell->state().invisible) << "a cell of a hidden table is not shown";
  table->Show();
  cells[0]->Hide();
  EXPECT_TRUE(cell->state().invisible);

  const QAccessible::Id id = QAccessible::uniqueId(cell);
  delete cells[0];
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr) << "the interface ends with its view";
  EXPECT_EQ(grid->childCount(), 3);
  EXPECT_EQ(Name(grid->child(0)), "two");
}

} // namespace
