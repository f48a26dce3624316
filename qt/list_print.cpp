// Printing the list window's rows as a ruled table: a bold title line with
// the page number and a bold column header on every page, then one row per
// listed reminder with its date, time, repetition and full text. The layout
// follows the on-screen grid: its column proportions scaled to the page and
// its row height scaled by the ratio of printer to screen text heights.

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <array>
#include <cmath>

#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "qt/status.h"
#include "qt/list_grid.h"
#include "qt/tavo_list.h"

namespace tavo::gui {

std::function<bool(QPrinter& printer)> TformList::PrintDialogForTesting;

namespace {

struct PrintFailed {};

// Rounds to the nearest integer, halves to the even neighbour.
int R(double v) { return static_cast<int>(std::nearbyint(v)); }

// One printer for the whole run of the program, so that the chosen printer
// stays chosen; deliberately never freed, it may outlive the application object.
QPrinter& ListPrinter() {
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

// The grid's font as the printer gets it: kept at its point size.
QFont PrinterFont(const QFont& grid_font) {
  QFont font(grid_font);
  if (grid_font.pixelSize() > 0) font.setPointSize(std::max(1, R(grid_font.pixelSize() * 72.0 / 96.0)));
  return font;
}

using RowTexts = std::array<QString, 4>;

// The working values of one print run, in printer pixels of the printable area.
class PrintRun {
 public:
  PrintRun(QPrinter& printer, const ListGrid& grid, const EntryTable& entries)
      : printer_(printer), grid_(grid), entries_(entries) {}

  void Run();

 private:
  void PrintPageHeader();
  void NewPage();
  int TextHeight(const QString& s) const { return painter_.fontMetrics().size(0, s).height(); }
  int CellInsetLeft() const { return R(painter_.fontMetrics().horizontalAdvance(QStringLiteral("W")) * 0.3); }
  int CellInsetTop() const { return R(TextHeight(QStringLiteral("W")) * 0.1); }
  int RowHeight(const RowTexts& texts) const;
  void DrawRow(const RowTexts& texts, int h);

  QPrinter& printer_;
  const ListGrid& grid_;
  const EntryTable& entries_;
  mutable QPainter painter_;  // measuring text needs a non-const painter
  QFont font_;
  double ys_ = 1;
  std::array<int, 4> w_{};
  int page_width_ = 0;
  int page_height_ = 0;
  int page_ = 1;
  int y_ = 0;
  int body_top_ = 0;  // y of the first reminder row on the current page
};

constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

void PrintRun::Run() {
  if (!painter_.begin(&printer_)) throw PrintFailed{};
  page_width_ = printer_.width();
  page_height_ = printer_.height();
  const int grid_width = grid_.width();
  const double xs = page_width_ / (3.0 * grid_width);
  font_ = PrinterFont(grid_.font());
  // The same font on both sides: the factor is the printer's text height over the screen's.
  const QString probe = QStringLiteral("ÁÇ");
  ys_ = QFontMetrics(font_, &printer_).size(0, probe).height() /
        static_cast<double>(QFontMetrics(grid_.font()).size(0, probe).height());
  for (int c = 0; c < 3; ++c) w_[c] = R((grid_.ColWidths(c) + 1) * xs);
  w_[3] = R(grid_width * xs * 2);
  painter_.setFont(font_);
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(QPen(Qt::black, 0, Qt::SolidLine));
  y_ = 0;
  PrintPageHeader();

  for (int i = 1; i < grid_.RowCount(); ++i) {
    RowTexts texts;
    if (i <= entries_.Count) {
      TLembrete record;
      static_cast<LembreteEntry&>(record) = entries_[i - 1];
      const int32_t p = FindLembrete(record);
      if (p >= 0) ReadLembrete(p, record);
      EntryTable one;
      SetEntryCount(one, 1);
      one[0] = record;
      for (int c = 0; c < 3; ++c) texts[c] = GridCellText(one, c, 1);
      texts[3] = ReminderText(record.Text);
    }
    const int h = RowHeight(texts);
    // A row goes to the next page when it would run past the bottom; only a
    // row taller than a whole page is printed cut.
    if (y_ + h > page_height_ && y_ > body_top_) NewPage();
    DrawRow(texts, h);
    y_ += h;
  }
  if (!painter_.end()) throw PrintFailed{};
}

void PrintRun::NewPage() {
  if (!printer_.newPage()) throw PrintFailed{};
  ++page_;
  y_ = 0;
  PrintPageHeader();
}

void PrintRun::PrintPageHeader() {
  QFont bold(font_);
  bold.setBold(true);
  painter_.setFont(bold);
  const QString title = kAppTitle + QStringLiteral(" - Página: ") + QString::number(page_);
  const int flags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
  const QRect measured = painter_.boundingRect(QRect(0, 0, page_width_, 1), flags, title);
  painter_.drawText(measured, flags, title);
  y_ += R(TextHeight(QStringLiteral("ÁÇ")) * 2.5);
  const RowTexts header{QStringLiteral("Data"), QStringLiteral("Hora"), QStringLiteral("Repetição"),
                        QStringLiteral("Texto do Lembrete")};
  const int h = RowHeight(header);
  DrawRow(header, h);
  y_ += h;
  painter_.setFont(font_);
  body_top_ = y_;
}

int PrintRun::RowHeight(const RowTexts& texts) const {
  // Measured at the width the text is drawn in, so that no wrapped line is lost.
  const int inset = CellInsetLeft();
  int h = 0;
  for (int c = 0; c < 4; ++c) {
    if (texts[c].isEmpty()) continue;
    const QRect box(0, 0, std::max(1, w_[c] - inset), 1 << 24);
    h = std::max(h, painter_.boundingRect(box, kTextFlags, texts[c]).height());
  }
  const double default_height = ListGrid::kDefaultRowHeight * ys_;
  if (h < default_height) return R(default_height);
  return h + R(TextHeight(QStringLiteral("W")) * 0.2);
}

void PrintRun::DrawRow(const RowTexts& texts, int h) {
  const int inset_left = CellInsetLeft();
  const int inset_top = CellInsetTop();
  int x = 0;
  for (int c = 0; c < 4; ++c) {
    const QRect cell(x, y_, w_[c], h);
    painter_.drawRect(cell);
    const QRect inner = cell.adjusted(inset_left, inset_top, 0, 0);
    painter_.save();
    painter_.setClipRect(inner);
    painter_.drawText(inner, kTextFlags, texts[c]);
    painter_.restore();
    x += w_[c];
  }
}

}  // namespace

void TformList::PrintList() {
  QPrinter& printer = ListPrinter();
  try {
    printer.setPageOrientation(QPageLayout::Portrait);
    bool accepted = false;
    if (PrintDialogForTesting) {
      accepted = PrintDialogForTesting(printer);
    } else {
      QPrintDialog PrintDialog(&printer, this);
      accepted = PrintDialog.exec() == QDialog::Accepted;
    }
    if (!accepted) return;
    // The program may have been asked to end while the dialog was open.
    if (ShuttingDown()) return;
    WaitForBothFlags();

    // Everything printing holds, given back however the run ends.
    struct Hold {
      TformList* window;
      TformStatus* formStatus = nullptr;
      explicit Hold(TformList* w) : window(w) {
        ScanBusy = true;
        window->setEnabled(false);
      }
      ~Hold() {
        ScanBusy = false;
        window->setEnabled(true);
        if (formStatus) {
          formStatus->close();
          delete formStatus;
        }
      }
    } hold(this);
    hold.formStatus = new TformStatus(this);
    hold.formStatus->setEnabled(true);  // a window of its own, not greyed with its owner
    hold.formStatus->ShowText(QStringLiteral("Aguarde. Imprimindo..."));

    printer.setDocName(kAppTitle);
    PrintRun run(printer, *gridLembretes, ListedEntries);
    run.Run();
  } catch (const PrintFailed&) {
    ShowMessage(this, QStringLiteral("Erro ao imprimir. Verifique se há uma impressora instalada em seu computador"),
                BoxIcon::Error, BoxModality::Application);
  }
}

}  // namespace tavo::gui
