#include "qt/list_grid.h"

#include <QAccessible>
#include <QPainter>

#include "qt/gui_common.h"

namespace tavo::gui {

int DrawGridCell(QPainter& painter, const QRect& cell, int row_height, const QString& text, CellState state,
                 const QFont& font, const QPalette& palette) {
  QPalette::ColorRole back = QPalette::Base, fore = QPalette::Text;
  bool bold = false;
  switch (state) {
    case CellState::Selected:
      back = QPalette::Highlight;
      fore = QPalette::HighlightedText;
      break;
    case CellState::Fixed:
      back = QPalette::Button;
      fore = QPalette::ButtonText;
      bold = true;
      break;
    case CellState::Normal: break;
  }
  // The system colours, the same whether the window is active or not.
  painter.fillRect(cell, palette.color(QPalette::Active, back));
  int needed = row_height;
  // A cell whose text cannot be composed or drawn keeps its background.
  try {
    QFont cell_font(font);
    cell_font.setBold(bold);
    painter.save();
    painter.setFont(cell_font);
    painter.setPen(palette.color(QPalette::Active, fore));
    const int flags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
    const QRect inner = cell.adjusted(1, 0, -1, 0);
    const int h = text.isEmpty() ? 0 : painter.boundingRect(QRect(0, 0, inner.width(), 1 << 20), flags, text).height();
    needed = forms::GrownRowHeight(row_height, h);
    const QRect text_rect(inner.left(), cell.top() + (needed - h) / 2, inner.width(), h);
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.drawText(text_rect, flags, text);
    painter.restore();
  } catch (...) {
  }
  return needed;
}

// --- model ---

QVariant ListGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  // The first cell of a row, where the keyboard stands, reads the whole row.
  if (role == Qt::AccessibleTextRole && index.column() == 0)
    return QString::fromStdString(form_.RowSummary(index.row() + 1));
  if (role != Qt::DisplayRole) return {};
  return QString::fromStdString(form_.GridCellText(index.column(), index.row() + 1));
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return QString::fromStdString(form_.GridCellText(section, 0));
}

void ListGridModel::SetRows(int rows) {
  rows = std::max(rows, 1);
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
  }
}

void ListGridModel::ContentChanged() {
  emit dataChanged(index(0, 0), index(rows_ - 1, 2), {Qt::DisplayRole});
}

// --- header ---

ListGridHeader::ListGridHeader(ListGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {}

QSize ListGridHeader::sizeHint() const {
  return QSize(QHeaderView::sizeHint().width(), grid_->RowHeights(0) + ListGrid::kGridLineWidth);
}

void ListGridHeader::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
  const QRect cell = rect.adjusted(0, 0, -ListGrid::kGridLineWidth, -ListGrid::kGridLineWidth);
  const int row_height = grid_->RowHeights(0);
  const int needed = DrawGridCell(*painter, cell, row_height, grid_->CellText(logical_index, 0),
                                  CellState::Fixed, grid_->font(), grid_->palette());
  painter->save();
  painter->setPen(grid_->gridStyle() == Qt::NoPen ? Qt::transparent : QColor(grid_->palette().color(QPalette::Mid)));
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  painter->restore();
  if (needed > row_height) grid_->GrowRow(0, needed);
}

// --- delegate ---

ListGridDelegate::ListGridDelegate(ListGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void ListGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int grid_row = index.row() + 1;
  const CellState state = (option.state & QStyle::State_Selected) ? CellState::Selected : CellState::Normal;
  const int row_height = option.rect.height();
  const int needed = DrawGridCell(*painter, option.rect, row_height, grid_->CellText(index.column(), grid_row),
                                  state, grid_->font(), grid_->palette());
  if (needed > row_height) grid_->GrowRow(grid_row, needed);
}

// --- grid ---

ListGrid::ListGrid(const forms::ListForm& form, QWidget* parent) : QTableView(parent), form_(form) {
  model_ = new ListGridModel(form, this);
  header_ = new ListGridHeader(this);
  setHorizontalHeader(header_);
  setModel(model_);
  setItemDelegate(new ListGridDelegate(this));
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(kDefaultRowHeight + kGridLineWidth);
  header_->setMinimumSectionSize(1);
  header_->setSectionResizeMode(QHeaderView::Fixed);
  header_->setStretchLastSection(false);
  header_->setSectionsClickable(false);
  header_->setHighlightSections(false);
  for (int c = 0; c < 3; ++c) SetColWidth(c, forms::ListForm::kColWidths[static_cast<size_t>(c)]);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  viewport()->setCursor(HandCursor());
  setCursor(HandCursor());
  setCurrentIndex(model_->index(0, 0));
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { emit CellClicked(); });
  connect(this, &QAbstractItemView::clicked, this, [this] { emit CellClicked(); });
}

void ListGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // A table view tells a screen reader that its current cell has the focus
  // even when the view does not have it (say, when a listing elsewhere moves
  // the current row); only a focused grid may say so.
  if (hasFocus()) QTableView::currentChanged(current, previous);
  else QAbstractItemView::currentChanged(current, previous);
}

void ListGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  // The grid itself says only "Lembretes"; the row the keyboard stands on
  // follows, once the focus change has been told.
  QMetaObject::invokeMethod(this, &ListGrid::AnnounceCurrentCell, Qt::QueuedConnection);
}

void ListGrid::AnnounceCurrentCell() {
  if (!QAccessible::isActive() || !hasFocus() || !currentIndex().isValid()) return;
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(this);
  QAccessibleTableInterface* table = grid ? grid->tableInterface() : nullptr;
  if (QAccessibleInterface* cell = table ? table->cellAt(currentIndex().row(), currentIndex().column()) : nullptr) {
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

int ListGrid::RowHeights(int grid_row) const {
  if (grid_row == 0) return header_height_;
  return rowHeight(grid_row - 1) - kGridLineWidth;
}

void ListGrid::SetRowCount(int count) {
  model_->SetRows(count - 1);
  // Removing the current row leaves no current one; the grid always has one.
  if (!currentIndex().isValid()) setCurrentIndex(model_->index(model_->rowCount() - 1, 0));
  model_->ContentChanged();
  AnnounceCellNames();
}

void ListGrid::AnnounceCellNames() {
  // A screen reader keeps the names it has read; a listing gives the cells
  // new ones, which it must be told of. A long list is told for its start.
  constexpr int kRowsTold = 500;
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(this);
  QAccessibleTableInterface* table = grid ? grid->tableInterface() : nullptr;
  if (!table) return;
  const int rows = std::min(model_->rowCount(), kRowsTold);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < model_->columnCount(); ++column) {
      if (QAccessibleInterface* cell = table->cellAt(row, column)) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
      }
    }
  }
}

int ListGrid::Row() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : 1;
}

void ListGrid::GrowRow(int grid_row, int height) {
  int& wanted = pending_[grid_row];
  wanted = std::max(wanted, height);
  if (growth_posted_) return;
  growth_posted_ = true;
  QMetaObject::invokeMethod(this, &ListGrid::ApplyGrowth, Qt::QueuedConnection);
}

void ListGrid::ApplyGrowth() {
  growth_posted_ = false;
  const std::map<int, int> pending = std::move(pending_);
  pending_.clear();
  for (const auto& [grid_row, height] : pending) {
    if (height <= RowHeights(grid_row)) continue;  // rows only grow
    if (grid_row == 0) {
      header_height_ = height;
      header_->updateGeometry();
      updateGeometries();
      header_->viewport()->update();
    } else if (grid_row < RowCount()) {
      setRowHeight(grid_row - 1, height + kGridLineWidth);
    }
  }
}

}  // namespace tavo::gui
