#pragma once
// The list window's grid `gridLembretes`: one fixed header row and one row
// per listed entry, every cell drawn by the window's own rule (three state
// colourings, word-wrapped centred text, rows that only grow). A model/view
// grid over the listed entries, so that a long list stays responsive.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <map>

#include "forms/list_form.h"

namespace tavo::gui {

// The cell states of the drawing rule, first match wins.
enum class CellState { Selected, Fixed, Normal };

// Draws one cell into `cell` (the cell without its grid lines) and returns the
// row height (grid lines excluded) the text needs: `row_height` itself when it
// fits, else the measured height plus the two grid lines.
int DrawGridCell(QPainter& painter, const QRect& cell, int row_height, const QString& text, CellState state,
                 const QFont& font, const QPalette& palette);

class ListGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ListGridModel(const forms::ListForm& form, QObject* parent) : QAbstractTableModel(parent), form_(form) {}
  // Model rows are the grid rows below the header (never fewer than one).
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Changes the count by inserting or removing rows at the end, so that the
  // view keeps its selection and the heights of the rows that remain.
  void SetRows(int rows);
  // Every cell may show something else now.
  void ContentChanged();

 private:
  const forms::ListForm& form_;
  int rows_ = 1;
};

class ListGrid;

// The fixed header row, drawn by the same rule as the other cells.
class ListGridHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit ListGridHeader(ListGrid* grid);
  QSize sizeHint() const override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;

 private:
  ListGrid* grid_;
};

class ListGridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit ListGridDelegate(ListGrid* grid);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  ListGrid* grid_;
};

class ListGrid : public QTableView {
  Q_OBJECT
 public:
  static constexpr int kGridLineWidth = forms::ListForm::kGridLineWidth;
  static constexpr int kDefaultRowHeight = forms::ListForm::kDefaultRowHeight;

  ListGrid(const forms::ListForm& form, QWidget* parent);

  // Grid measures without the grid lines, as the window and printing use them.
  int ColWidths(int column) const { return columnWidth(column) - kGridLineWidth; }
  void SetColWidth(int column, int width) { setColumnWidth(column, width + kGridLineWidth); }
  int DefaultRowHeight() const { return kDefaultRowHeight; }
  // Height of grid row r (0 = header).
  int RowHeights(int grid_row) const;
  // Grid rows including the header: listed entries + 1, never less than 2.
  int RowCount() const { return model_->rowCount() + 1; }
  void SetRowCount(int count);
  // Grid row of the selection (1 = first row below the header).
  int Row() const;

  // The text of a cell (grid row 0 is the header).
  QString CellText(int column, int grid_row) const { return QString::fromStdString(form_.GridCellText(column, grid_row)); }
  ListGridModel* Model() const { return model_; }
  // Asks for a row (0 = header) to become that tall; done after the paint
  // that found it, since heights must not change in the middle of one.
  void GrowRow(int grid_row, int height);

 signals:
  // A row was selected or clicked (the window's gridLembretesClick).
  void CellClicked();

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void ApplyGrowth();
  void AnnounceCellNames();
  // Tells a screen reader that the current row's first cell has the focus.
  void AnnounceCurrentCell();

  const forms::ListForm& form_;
  ListGridModel* model_;
  ListGridHeader* header_;
  int header_height_ = kDefaultRowHeight;
  std::map<int, int> pending_;
  bool growth_posted_ = false;
};

}  // namespace tavo::gui
