#include "tools/materials_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "table/qt/grid_model.h"

namespace rz47 {

// The cell editor: a plain line edit whose keys reach the window's key handler
// before the editor or the delegate's own Enter/Tab handling sees them.
class MaterialsCellDelegate : public QStyledItemDelegate {
 public:
  explicit MaterialsCellDelegate(MaterialsGridView* view) : QStyledItemDelegate(view), view_(view) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int col = index.column() + GridData::FixedCols();
    const int row = index.row() + GridData::FixedRows();
    connect(editor, &QLineEdit::textEdited, view_, [view = view_, col, row](const QString& text) {
      if (view->editText_) view->editText_(col, row, FromQString(text));
    });
    editor_ = editor;
    editCell_ = {col, row};
    return editor;
  }

  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress &&
        view_->HandleKey(static_cast<QKeyEvent*>(event), editor)) {
      return true;
    }
    // The warning box takes the focus for a moment; the edit goes on after it.
    if (holdEditor_ && event->type() == QEvent::FocusOut) return false;
    return QStyledItemDelegate::eventFilter(object, event);
  }

  mutable QPointer<QLineEdit> editor_;
  mutable GridCursor editCell_;
  bool holdEditor_ = false;

 private:
  MaterialsGridView* view_;
};

namespace {

// The column widths of the materials grid at 120 ppi: number, name, speed.
constexpr int kColWidths[kMaterialsColCount] = {20, 120, 143};

// The typed character a key event carries, in Windows-1251; false for keys that type
// nothing (arrows, function keys) and for shortcuts (pasting is not typing).
bool TypedCharacter(const QKeyEvent& event, char& key) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = kKeyEnter; return true;
    case Qt::Key_Backspace: key = kKeyBackspace; return true;
    case Qt::Key_Tab: key = kKeyTab; return true;
    default: break;
  }
  const QString text = event.text();
  if (text.size() != 1 || !text.at(0).isPrint()) return false;
  const std::string bytes = FromQString(text);
  if (bytes.size() != 1) return false;
  key = bytes[0];
  return true;
}

}  // namespace

MaterialsGridView::MaterialsGridView(QWidget* parent) : QTableView(parent) {
  delegate_ = new MaterialsCellDelegate(this);
  setItemDelegate(delegate_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
  setTabKeyNavigation(true);
  setShowGrid(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Light));
  setPalette(pal);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) corner_->installEventFilter(this);
}

void MaterialsGridView::SetGridModel(GridModel* model) {
  model_ = model;
  setModel(model);
  connect(model, &QAbstractItemModel::modelReset, this, [this] { ApplyMetrics(); });
  connect(model, &QAbstractItemModel::headerDataChanged, this, [this] {
    if (corner_ != nullptr) corner_->update();
  });
  ApplyMetrics();
}

void MaterialsGridView::ApplyMetrics() {
  const int rowHeight = Scaled(kDefaultRowHeight);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  horizontalHeader()->setFixedHeight(rowHeight);
  verticalHeader()->setFixedWidth(Scaled(kColWidths[kMaterialNumberCol]));
  for (int col = 1; col < kMaterialsColCount; ++col) {
    horizontalHeader()->resizeSection(col - 1, Scaled(kColWidths[col]));
  }
}

void MaterialsGridView::SetEditable(bool editable) {
  editable_ = editable;
  if (!editable && state() == EditingState && delegate_->editor_ != nullptr) {
    emit delegate_->closeEditor(delegate_->editor_, QAbstractItemDelegate::RevertModelCache);
  }
  if (model_ != nullptr) model_->SetEditable(editable);
}

GridCursor MaterialsGridView::Current() const {
  const QModelIndex index = currentIndex();
  if (!index.isValid()) return {kMaterialNameCol, kFirstMaterialRow};
  return {index.column() + GridData::FixedCols(), index.row() + GridData::FixedRows()};
}

void MaterialsGridView::SetCurrent(GridCursor cursor) {
  if (model_ == nullptr) return;
  setCurrentIndex(model_->index(cursor.row - GridData::FixedRows(), cursor.col - GridData::FixedCols()));
}

QLineEdit* MaterialsGridView::Editor() const {
  return state() == EditingState ? delegate_->editor_.data() : nullptr;
}

void MaterialsGridView::WriteCell(int col, int row, std::string_view text) {
  if (model_ == nullptr) return;
  model_->Grid().SetCell(col, row, text);
  QLineEdit* editor = Editor();
  if (editor != nullptr && delegate_->editCell_ == GridCursor{col, row}) {
    editor->setText(ToQString(text));
    editor->selectAll();
  }
}

bool MaterialsGridView::HandleKey(QKeyEvent* event, QLineEdit* editor) {
  char key = 0;
  if (!keyPress_ || !editable_ || !TypedCharacter(*event, key)) return false;
  GridCursor cursor = Current();
  delegate_->holdEditor_ = true;
  keyPress_(key, cursor);
  delegate_->holdEditor_ = false;
  if (key == 0) return true;
  if (key != kKeyEnter) return false;
  // Enter: an open editor is committed and closed; a closed one opens in the new cell.
  if (editor != nullptr) {
    emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
    SetCurrent(cursor);
  } else {
    SetCurrent(cursor);
    edit(currentIndex());
  }
  return true;
}

void MaterialsGridView::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event, nullptr)) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

bool MaterialsGridView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    // The corner is as narrow as the number column: the heading gets a slim margin
    // instead of the header style's padding, so it stays readable.
    QPainter painter(corner_);
    QStyleOptionHeader option;
    option.initFrom(corner_);
    option.state |= QStyle::State_Enabled | QStyle::State_Active;
    option.rect = corner_->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, corner_);
    painter.setFont(horizontalHeader()->font());
    painter.setPen(horizontalHeader()->palette().color(QPalette::Active, QPalette::ButtonText));
    const QString heading = model_ != nullptr ? ToQString(model_->Grid().Cell(0, 0)) : QString();
    painter.drawText(corner_->rect().adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, heading);
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace rz47
