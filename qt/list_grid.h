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

#include "store/tavo_data.h"

namespace tavo::gui {

// The text of one cell: grid row 0 is the header, grid row r >= 1 shows
// entry r - 1 of `entries`; rows beyond the entries are empty.
QString GridCellText(const EntryTable& entries, int column, int grid_row);

// A stored reminder text for the widgets and the printer ("\r\n" becomes "\n").
QString ReminderText(const std::string& cp1252);

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
  explicit ListGridModel(const EntryTable& entries, QObject* parent) : QAbstractTableModel(parent), entries_(entries) {}
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
  const EntryTable& entries_;
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
  static constexpr int kGridLineWidth = 1;
  static constexpr int kDefaultRowHeight = 18;

  ListGrid(const EntryTable& entries, QWidget* parent);

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

  const EntryTable& Entries() const { return entries_; }
  ListGridModel* Model() const { return model_; }
  // Asks for a row (0 = header) to become that tall; done after the paint
  // that found it, since heights must not change in the middle of one.
  void GrowRow(int grid_row, int height);

 signals:
  // A row was selected or clicked (the window's gridLembretesClick).
  void CellClicked();

 private:
  void ApplyGrowth();

  const EntryTable& entries_;
  ListGridModel* model_;
  ListGridHeader* header_;
  int header_height_ = kDefaultRowHeight;
  std::map<int, int> pending_;
  bool growth_posted_ = false;
};

}  // namespace tavo::gui
