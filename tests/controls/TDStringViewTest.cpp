// One entry field under a parent that records the field's reports.
#include "tests/controls/Input.h"

#include "calendar/Labels.h"
#include "controls/TDStringView.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

class ReportView : public BView {
public:
  ReportView() : BView(BRect(0, 0, 300, 60), "parent", B_FOLLOW_NONE, B_WILL_DRAW) {}
  void MessageReceived(BMessage* message) override { reports.push_back(*message); }
  std::vector<BMessage> reports;
};

struct Field : WithGuiApp {
  ReportWindow window;
  ReportView* parent = new ReportView;
  TDStringView* field = nullptr;

  Field(int32 number, const char* text, int32 low, int32 high, float width = 23)
  {
    window.AddChild(parent);
    field = new TDStringView(BRect(20, 2, 20 + width, 44), "field", text, number);
    parent->AddChild(field);
    field->SetRange(low, high);
    field->MakeFocus(true);
    parent->reports.clear();
  }
  const BMessage& LastReport() const { return parent->reports.back(); }
};

struct StepCase {
  const char* name;
  int32 number;
  const char* text;
  int32 low, high;
  bool focusedFirst;
  std::function<void(TDStringView*)> act;
  int32 value;
  const char* shown;
  uint32 report;
};

void PrintTo(const StepCase& c, std::ostream* os)
{
  *os << c.name;
}

class FieldSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(FieldSteps, StepWrapShowAndReport)
{
  const StepCase& c = GetParam();
  Field f(c.number, c.text, c.low, c.high);
  if (c.focusedFirst)
    f.field->SetOnFocus(c.number);
  c.act(f.field);
  EXPECT_EQ(f.field->value, c.value);
  EXPECT_STREQ(f.field->Text(), c.shown);
  ASSERT_FALSE(f.parent->reports.empty());
  EXPECT_EQ(f.LastReport().what, c.report);
}

const auto kWheelUp = [](TDStringView* v) { TurnWheel(v, 1); };
const auto kWheelDown = [](TDStringView* v) { TurnWheel(v, -1); };
const auto kUp = [](TDStringView* v) { PressKey(v, Qt::Key_Up); };
const auto kDown = [](TDStringView* v) { PressKey(v, Qt::Key_Down); };
auto ClickAt(float y)
{
  return [y](TDStringView* v) { Click(v, 5, y); };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldSteps,
    ::testing::Values(
        StepCase{"minute 55 plus a wheel step", 5, "55", 0, 59, false, kWheelUp, 0, "00", 'NMIN'},
        StepCase{"minute 0 minus a wheel step", 5, "00", 0, 59, false, kWheelDown, 59, "59", 'NMIN'},
        StepCase{"hour wheel steps by one", 4, "23", 0, 23, false, kWheelUp, 0, "00", 'NHOU'},
        StepCase{"year 2037 plus Up", 1, "2037", 1900, 2037, false, kUp, 1900, "1900", 'TFEB'},
        StepCase{"day 1 minus Down", 3, "01", 1, 31, false, kDown, 31, "31", 'TDAY'},
        StepCase{"plus key", 3, "05", 1, 31, false, [](TDStringView* v) { PressKey(v, Qt::Key_Plus, "+"); },
                 6, "06", 'TDAY'},
        StepCase{"minus key", 3, "05", 1, 31, false, [](TDStringView* v) { PressKey(v, Qt::Key_Minus, "-"); },
                 4, "04", 'TDAY'},
        StepCase{"digit only shows the value again", 3, "5", 1, 31, false,
                 [](TDStringView* v) { PressKey(v, Qt::Key_7, "7"); }, 5, "05", 'TDAY'},
        StepCase{"month shows its label", 2, "03", 1, 12, false, kUp, 4, "Apr.", 'TFEB'},
        StepCase{"AM/PM shows its label", 6, "1", 1, 2, false, kUp, 2, "PM", 'AMPM'},
        StepCase{"click at y 12 on the focused field raises", 3, "10", 1, 31, true, ClickAt(12), 11, "11", 'TDAY'},
        StepCase{"click at y 29 on the focused field keeps", 3, "10", 1, 31, true, ClickAt(29), 10, "10", 'TDAY'},
        StepCase{"click at y 30 on the focused field lowers", 3, "10", 1, 31, true, ClickAt(30), 9, "09",
                 'TDAY'}));

struct NavigationCase {
  const char* name;
  int32 number;
  int key;
  uint32 report;
  const char* field;
  int32 expected;
};

TEST(FieldKeys, NavigationKeysReportAndKeepTheValue)
{
  const NavigationCase cases[] = {
      {"Tab on AM/PM asks for the year", 6, Qt::Key_Tab, 'TDSV', "_lfdnr", 1},
      {"Right on the day asks for the hour", 3, Qt::Key_Right, 'TDSV', "_lfdnr", 4},
      {"Left on the year asks for AM/PM", 1, Qt::Key_Left, 'TDSV', "_lfdnr", 6},
      {"Home asks for the hour", 2, Qt::Key_Home, 'TDSV', "_lfdnr", 4},
      {"Enter asks to send", 5, Qt::Key_Return, 'Qmod', "_QuitMod", 1},
      {"Escape asks to cancel", 5, Qt::Key_Escape, 'Qmod', "_QuitMod", 0},
      {"Page Down asks for the menu", 4, Qt::Key_PageDown, 'MENU', "m_id", 1},
  };
  for (const NavigationCase& c : cases) {
    Field f(c.number, "1", 1, 12);
    PressKey(f.field, c.key);
    ASSERT_EQ(f.parent->reports.size(), 1u) << c.name;
    EXPECT_EQ(f.LastReport().what, c.report) << c.name;
    EXPECT_EQ(f.LastReport().GetInt32(c.field, -99), c.expected) << c.name;
    EXPECT_EQ(f.field->value, 1) << c.name;
  }
}

TEST(FieldMouse, FirstClickSelectsTheFieldLaterClicksStepIt)
{
  Field f(4, "09", 0, 23);
  Click(f.field, 5, 3);
  ASSERT_EQ(f.parent->reports.size(), 1u);
  EXPECT_EQ(f.LastReport().what, uint32('TDSV'));
  EXPECT_EQ(f.LastReport().GetInt32("_lfdnr", 0), 4);
  EXPECT_EQ(f.field->value, 9);
  EXPECT_TRUE(f.field->focused);
  Click(f.field, 5, 3);
  EXPECT_EQ(f.field->value, 10);
}

TEST(FieldMouse, FramePiecesTakeNoMouseInputAndNoFocusMark)
{
  Field f(99, "/", 0, 0, 8);
  Click(f.field, 3, 3);
  TurnWheel(f.field, 1);
  EXPECT_STREQ(f.field->Text(), "/") << "a wheel turn must not turn the separator into a number";
  EXPECT_TRUE(f.parent->reports.empty());
  f.field->focused = true;
  f.field->MakeFocus(false);
  f.field->SetOnFocus(99);
  EXPECT_FALSE(f.field->focused);
  EXPECT_FALSE(f.field->IsFocus());
}

TEST(FieldRange, NarrowingCapsTheValueWideningKeepsIt)
{
  Field f(3, "31", 1, 31);
  f.field->SetRange(1, 28);
  EXPECT_EQ(f.field->value, 28);
  EXPECT_STREQ(f.field->Text(), "28");
  ASSERT_EQ(f.parent->reports.size(), 1u);
  EXPECT_EQ(f.LastReport().what, uint32('TDAY'));
  f.field->SetRange(31, 1); // reversed bounds are swapped
  EXPECT_EQ(f.field->maxValue, 31);
  EXPECT_EQ(f.field->value, 28);
  EXPECT_EQ(f.parent->reports.size(), 1u);
  f.field->SetValue(40);
  EXPECT_EQ(f.field->value, 31);
  f.field->SetValue(-3); // below the minimum stays until the next step
  EXPECT_EQ(f.field->value, -3);
  PressKey(f.field, Qt::Key_Up);
  EXPECT_EQ(f.field->value, 31);
  f.field->value = INT32_MIN; // as the panel may store it
  PressKey(f.field, Qt::Key_Down);
  EXPECT_EQ(f.field->value, 31);
}

const char* LongHalfDayLabels(int number)
{
  if (number == 88)
    return "vormittags\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4-mehr";
  return nullptr;
}

TEST(FieldRange, LongHalfDayLabelsAreCutNotOverrun)
{
  SetLabelSource(LongHalfDayLabels);
  {
    Field narrow(6, "1", 1, 2, 24);
    narrow.field->FormatValue(1);
    EXPECT_STREQ(narrow.field->Text(), "vo");
    Field wide(6, "1", 1, 2, 60);
    wide.field->FormatValue(1);
    // 19 bytes would end inside the fifth "ä": the cut falls before it.
    EXPECT_STREQ(wide.field->Text(), "vormittags\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4");
  }
  SetLabelSource(nullptr);
}

} // namespace
