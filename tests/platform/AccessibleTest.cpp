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

TEST_F(AccessibleTest, ViewsAreReadAsTheySayAndTablesHoldTheCellsTheyDraw)
{
  QAccessibleInterface* holder = Of(group);
  ASSERT_EQ(holder->childCount(), 2) << "the frame piece is left out";
  QAccessibleInterface* spin = holder->child(0);
  EXPECT_EQ(spin->role(), QAccessible::SpinBox);
  EXPECT_EQ(Name(spin), "Minute");
  ASSERT_NE(spin->valueInterface(), nullptr);
  EXPECT_EQ(spin->valueInterface()->maximumValue().toInt(), 59);
  ASSERT_NE(spin->textInterface(), nullptr);
  EXPECT_EQ(spin->textInterface()->text(0, 2).toStdString(), "05");
  EXPECT_EQ(Of(table)->valueInterface(), nullptr) << "a view without a number has no value";

  // The cells are drawn by the table and have no widget of their own.
  QAccessibleInterface* grid = holder->child(1);
  QAccessibleTableInterface* cellsOf = grid->tableInterface();
  ASSERT_NE(cellsOf, nullptr);
  EXPECT_EQ(cellsOf->rowCount() * 10 + cellsOf->columnCount(), 22);
  QAccessibleInterface* cell = cellsOf->cellAt(1, 0);
  EXPECT_EQ(Name(cell), "three");
  EXPECT_EQ(cell, grid->child(2)) << "one interface per view";
  EXPECT_EQ(cell->parent(), grid);
  EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
  ASSERT_EQ(cellsOf->selectedCellCount(), 1);
  EXPECT_EQ(Name(cellsOf->selectedCells().first()), "four");
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
  table->Hide();
  EXPECT_TRUE(cell->state().invisible) << "a cell of a hidden table is not shown";
  table->Show();

  const QAccessible::Id id = QAccessible::uniqueId(cell);
  delete cells[0];
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr) << "the interface ends with its view";
  EXPECT_EQ(grid->childCount(), 3);
  EXPECT_EQ(Name(grid->child(0)), "two");
}

} // namespace
