#include "platform/interface/ViewAccessible.h"

#include "platform/interface/BView.h"
#include "platform/interface/BWindow.h"
#include "platform/interface/ViewWidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

QAccessible::Role RoleOf(accessible_role role)
{
  switch (role) {
  case B_ACCESSIBLE_LABEL: return QAccessible::StaticText;
  case B_ACCESSIBLE_SPIN_BOX: return QAccessible::SpinBox;
  case B_ACCESSIBLE_DIAL: return QAccessible::Dial;
  case B_ACCESSIBLE_TABLE: return QAccessible::Table;
  case B_ACCESSIBLE_CELL: return QAccessible::Cell;
  default: return QAccessible::Client;
  }
}

bool TakesKeys(accessible_role role)
{
  return role == B_ACCESSIBLE_SPIN_BOX || role == B_ACCESSIBLE_DIAL || role == B_ACCESSIBLE_TABLE ||
         role == B_ACCESSIBLE_CELL;
}

accessible_info InfoOf(const BView* view)
{
  accessible_info info;
  if (!view->GetAccessibleInfo(&info))
    info = accessible_info();
  return info;
}

QString Text(const std::string& text)
{
  return QString::fromUtf8(text.c_str());
}

// The interfaces of views drawn by their parent, by view; Qt's registry
// owns them.
std::unordered_map<const BView*, QAccessible::Id>& DrawnIds()
{
  static std::unordered_map<const BView*, QAccessible::Id> ids;
  return ids;
}

// One view as assistive tools see it: what the view says of itself, and
// its children in their order. Views with a widget are reached through
// that widget (Qt keeps and drops the interface with it); the others are
// registered by DrawnIds.
class ViewAccessible : public QAccessibleInterface,
                       public QAccessibleValueInterface,
                       public QAccessibleTextInterface,
                       public QAccessibleTableInterface,
                       public QAccessibleTableCellInterface {
public:
  explicit ViewAccessible(BView* view)
      : fView(view), fToken(view->Token()), fWidget(view->Widget()), fDrawn(view->Widget() == nullptr)
  {
  }

  bool isValid() const override
  {
    return BHandler::HandlerForToken(fToken) == fView && (fDrawn || fWidget);
  }
  QObject* object() const override { return fWidget; }
  QWindow* window() const override
  {
    QWidget* host = isValid() ? fView->Host() : nullptr;
    return host ? host->window()->windowHandle() : nullptr;
  }
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override
  {
    return {};
  }

  QAccessibleInterface* parent() const override
  {
    if (!isValid())
      return nullptr;
    if (!fDrawn)
      return QAccessible::queryAccessibleInterface(fWidget->parentWidget());
    return fView->Parent() ? AccessibleOf(fView->Parent()) : nullptr;
  }
  int childCount() const override { return int(Children().size()); }
  QAccessibleInterface* child(int index) const override
  {
    const std::vector<QAccessibleInterface*> children = Children();
    return index >= 0 && size_t(index) < children.size() ? children[size_t(index)] : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override
  {
    const std::vector<QAccessibleInterface*> children = Children();
    const auto found = std::find(children.begin(), children.end(), child);
    return found == children.end() ? -1 : int(found - children.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override
  {
    const std::vector<QAccessibleInterface*> children = Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      if ((*child)->rect().contains(x, y))
        return *child;
    }
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override
  {
    for (QAccessibleInterface* child : Children()) {
      if (child->state().focused)
        return child;
      if (QAccessibleInterface* inner = child->focusChild())
        return inner;
    }
    return nullptr;
  }

  QString text(QAccessible::Text kind) const override
  {
    const accessible_info info = Info();
    switch (kind) {
    case QAccessible::Name: return Text(info.name);
    case QAccessible::Value: return Text(info.value);
    default: return QString();
    }
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override
  {
    QPoint offset;
    QWidget* host = isValid() ? fView->Host(&offset) : nullptr;
    if (!host)
      return QRect();
    const BRect bounds = fView->Bounds();
    const QSize size = fDrawn ? QSize(int(bounds.Width()) + 1, int(bounds.Height()) + 1) : host->size();
    return QRect(host->mapToGlobal(offset), size);
  }
  QAccessible::Role role() const override { return RoleOf(Info().role); }
  QAccessible::State state() const override
  {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const accessible_info info = Info();
    state.invisible = !Shown();
    state.focusable = TakesKeys(info.role);
    state.focused = fDrawn ? info.focused : fWidget->hasFocus();
    if (info.role == B_ACCESSIBLE_CELL) {
      state.selectable = true;
      state.selected = info.selected;
    }
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override
  {
    const accessible_info info = Info();
    switch (type) {
    case QAccessible::ValueInterface:
      return info.hasNumber ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    case QAccessible::TextInterface:
      return info.value.empty() ? nullptr : static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::TableInterface:
      return info.role == B_ACCESSIBLE_TABLE ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    case QAccessible::TableCellInterface:
      return info.role == B_ACCESSIBLE_CELL ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    default: return nullptr;
    }
  }

  // The number of a value; tools read it, the user sets it through the view.
  QVariant currentValue() const override { return Info().number; }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return Info().maximum; }
  QVariant minimumValue() const override { return Info().minimum; }
  QVariant minimumStepSize() const override { return 1; }

  // The value as text, read only.
  QString text(int start, int end) const override { return ValueText().mid(start, end - start); }
  int characterCount() const override { return int(ValueText().size()); }
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override
  {
    *start = *end = 0;
    return QString();
  }

  // A table of the children that are cells.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override
  {
    for (const auto& [child, info] : Cells()) {
      if (info.row == row && info.column == column)
        return child;
    }
    return nullptr;
  }
  int selectedCellCount() const override { return int(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override
  {
    QList<QAccessibleInterface*> selected;
    for (const auto& [child, info] : Cells()) {
      if (info.selected)
        selected.append(child);
    }
    return selected;
  }
  QString columnDescription(int) const override { return QString(); }
  QString rowDescription(int) const override { return QString(); }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return Extent(&accessible_info::column); }
  int rowCount() const override { return Extent(&accessible_info::row); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

  // One cell of its parent's table.
  bool isSelected() const override { return Info().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return Info().column; }
  int rowIndex() const override { return Info().row; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

private:
  accessible_info Info() const { return isValid() ? InfoOf(fView) : accessible_info(); }
  QString ValueText() const { return Text(Info().value); }

  bool Shown() const
  {
    if (!fDrawn)
      return fWidget->isVisible();
    const BView* view = fView;
    for (; view && !view->Widget(); view = view->Parent()) {
      if (view->IsHidden())
        return false;
    }
    return view && view->Widget()->isVisible();
  }

  std::vector<QAccessibleInterface*> Children() const
  {
    std::vector<QAccessibleInterface*> children;
    if (!isValid())
      return children;
    for (int32 index = 0; index < fView->CountChildren(); index++) {
      if (QAccessibleInterface* child = AccessibleOf(fView->ChildAt(index)))
        children.push_back(child);
    }
    return children;
  }

  std::vector<std::pair<QAccessibleInterface*, accessible_info>> Cells() const
  {
    std::vector<std::pair<QAccessibleInterface*, accessible_info>> cells;
    if (!isValid())
      return cells;
    for (int32 index = 0; index < fView->CountChildren(); index++) {
      BView* view = fView->ChildAt(index);
      const accessible_info info = InfoOf(view);
      if (info.role == B_ACCESSIBLE_CELL)
        cells.emplace_back(AccessibleOf(view), info);
    }
    return cells;
  }

  int Extent(int32 accessible_info::*place) const
  {
    int extent = 0;
    for (const auto& [child, info] : Cells())
      extent = std::max(extent, int(info.*place) + 1);
    return extent;
  }

  BView* fView;
  int32 fToken;
  QPointer<QWidget> fWidget;
  bool fDrawn;
};

// Qt asks this for every object it has no interface of yet.
QAccessibleInterface* ViewFactory(const QString& className, QObject* object)
{
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget || className != QLatin1String("QWidget"))
    return nullptr;
  if (auto* shown = dynamic_cast<ViewWidget*>(widget))
    return shown->View() ? new ViewAccessible(shown->View()) : nullptr;
  // A window's own widget is a plain widget: it stands for the window.
  if (widget->isWindow())
    return new QAccessibleWidget(widget, QAccessible::Window);
  return nullptr;
}

bool Listening(const BView* view)
{
  const BWindow* window = view->Window();
  return window && !window->IsHidden() && QAccessible::isActive();
}

} // namespace

void InstallViewAccessibility()
{
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  QAccessible::installFactory(ViewFactory);
}

QAccessibleInterface* AccessibleOf(BView* view)
{
  if (!view || InfoOf(view).role == B_ACCESSIBLE_IGNORED)
    return nullptr;
  if (QWidget* widget = view->Widget())
    return QAccessible::queryAccessibleInterface(widget);
  if (!view->Host())
    return nullptr;
  auto& ids = DrawnIds();
  const auto found = ids.find(view);
  if (found != ids.end())
    return QAccessible::accessibleInterface(found->second);
  auto* accessible = new ViewAccessible(view);
  ids[view] = QAccessible::registerAccessibleInterface(accessible);
  return accessible;
}

void AnnounceViewChange(BView* view, accessible_change change)
{
  if (!Listening(view))
    return;
  QAccessibleInterface* accessible = AccessibleOf(view);
  if (!accessible)
    return;
  switch (change) {
  case B_ACCESSIBLE_NAME_CHANGED: {
    QAccessibleEvent event(accessible, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    break;
  }
  case B_ACCESSIBLE_VALUE_CHANGED: {
    if (QAccessibleValueInterface* value = accessible->valueInterface()) {
      QAccessibleValueChangeEvent event(accessible, value->currentValue());
      QAccessible::updateAccessibility(&event);
    }
    break;
  }
  case B_ACCESSIBLE_SELECTION_CHANGED: {
    QAccessibleEvent event(accessible, QAccessible::Selection);
    QAccessible::updateAccessibility(&event);
    break;
  }
  case B_ACCESSIBLE_FOCUS_CHANGED: {
    QAccessibleEvent event(accessible, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
    break;
  }
  }
}

void AnnounceViewAdded(BView* view)
{
  if (!Listening(view))
    return;
  if (QAccessibleInterface* accessible = AccessibleOf(view)) {
    QAccessibleEvent event(accessible, QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&event);
  }
}

void ForgetViewAccessible(BView* view)
{
  auto& ids = DrawnIds();
  const auto found = ids.find(view);
  if (found == ids.end())
    return;
  const QAccessible::Id id = found->second;
  ids.erase(found);
  if (Listening(view)) {
    if (QAccessibleInterface* accessible = QAccessible::accessibleInterface(id)) {
      QAccessibleEvent event(accessible, QAccessible::ObjectDestroyed);
      QAccessible::updateAccessibility(&event);
    }
  }
  QAccessible::deleteAccessibleInterface(id);
}
