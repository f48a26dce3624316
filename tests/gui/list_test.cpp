// The list window's widgets driven through clicks and keys, its boxes
// answered by the test; printing goes to PDF files that pdftotext and
// pdftoppm read back. Its rules are tested in tests/forms/list_form_test.cpp.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/status.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/config.h"
#include "dates/date_time.h"
#include "support/gui_fixture.h"
#include "qt/list_grid.h"
#include "qt/reminder_memo.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"
#include "qt/tavo_main.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {


// Types a date into a field (digits only, the mask adds the slashes) and presses Enter.
void SetField(DateField* field, const QString& digits) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, digits);
  QTest::keyClick(field, Qt::Key_Return);
}

// The pages of a PDF as text, one string per page.
QStringList PdfPages(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.pop_back();
  return pages;
}

// Page `page` (1-based) of a PDF as a grey picture at `dpi`.
QImage PdfPicture(const QString& pdf, int page, int dpi) {
  const QString base = pdf + QStringLiteral(".page");
  QProcess p;
  p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-gray"), QStringLiteral("-r"),
                                       QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                                       QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), pdf,
                                       base});
  if (!p.waitForFinished(30000)) return {};
  return QImage(base + QStringLiteral(".png"));
}

// The table's horizontal rules: groups of picture rows that are dark over
// more than half the width (text never is).
int HorizontalRules(const QImage& picture) {
  int rules = 0;
  bool in_rule = false;
  for (int y = 0; y < picture.height(); ++y) {
    int dark = 0;
    for (int x = 0; x < picture.width(); ++x) dark += qGray(picture.pixel(x, y)) < 160;
    const bool rule = dark > picture.width() / 2;
    if (rule && !in_rule) ++rules;
    in_rule = rule;
  }
  return rules;
}

}  // namespace

class ListTest : public QObject {
  Q_OBJECT

 private:
  GuiStore store_;

  // The list window as the main window's command opens it, in front or not.
  TformList* Open(bool in_front = true) {
    auto* w = WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List));
    if (in_front) {
      w->activateWindow();
      if (!QTest::qWaitForWindowActive(w)) return nullptr;
    }
    return w;
  }

  std::vector<TformLembrete*> ReminderWindows() { return store_.Windows<TformLembrete>(); }

  static QString Cell(TformList* w, int column, int grid_row) {
    if (grid_row == 0) return w->gridLembretes->model()->headerData(column, Qt::Horizontal).toString();
    return w->gridLembretes->model()->index(grid_row - 1, column).data().toString();
  }

  // The centre of a grid row's first cell, in the viewport.
  static QPoint RowCentre(TformList* w, int grid_row) {
    return w->gridLembretes->visualRect(w->gridLembretes->Model()->index(grid_row - 1, 0)).center();
  }

  static void ClickRow(TformList* w, int grid_row) {
    QTest::mouseClick(w->gridLembretes->viewport(), Qt::LeftButton, {}, RowCentre(w, grid_row));
  }

  QString PdfPath(const QString& name) const { return store_.Folder() + QLatin1Char('/') + name; }

  // Prints the window's list into a PDF through the dialog hook.
  void PrintTo(TformList* w, const QString& pdf) {
    store_.print = [pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
    QTest::mouseClick(w->bPrintList, Qt::LeftButton);
  }

  int BoxesWith(const QString& text) const {
    return static_cast<int>(std::count_if(store_.boxes.begin(), store_.boxes.end(), [&](const Box& b) { return b.text == text; }));
  }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { store_.TearDown(); }

  // --- the window as it opens -------------------------------------------

  void opensOnTodayToAWeekWithOneBlankRow() {
    store_.store().Config.FrontColor = 0x0000FF;  // red
    store_.store().Config.BackColor = 0x00FFFF;   // yellow
    TformList* w = Open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    QCOMPARE(w->size(), QSize(417, 278));
    QCOMPARE(w->eInicio->text(), QStringLiteral("20/06/2024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("27/06/2024"));
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QCOMPARE(Cell(w, 0, 0), QStringLiteral("Data"));
    QCOMPARE(Cell(w, 2, 0), QStringLiteral("Repetição"));
    QCOMPARE(Cell(w, 0, 1), QString());
    QVERIFY(w->mTexto->toPlainText().isEmpty());
    QCOMPARE(w->mTexto->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w->mTexto->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(w->gridLembretes->ColWidths(0), 64);
    QCOMPARE(w->gridLembretes->ColWidths(1), 43);
    QCOMPARE(w->gridLembretes->ColWidths(2), 65);
    QCOMPARE(w->gridLembretes->RowHeights(1), 18);
    QCOMPARE(w->gridLembretes->size(), QSize(199, 99));
  }

  void opensOnceAndClosesByVoltarOrTheCloseSpot() {
    TformList* first = Open(false);
    QCOMPARE(Open(false), first);
    QTest::mouseClick(first->bCancel, Qt::LeftButton);
    Flush();
    QVERIFY(store_.app().OwnedWindows().empty());
    TformList* again = Open(false);
    QTest::mouseClick(again, Qt::LeftButton, {}, QPoint(395, 24));
    Flush();
    QVERIFY(store_.app().OwnedWindows().empty());
  }

  // --- listing through the controls -------------------------------------

  void typedRangeIsListedInTheGridWithTheFirstText() {
    Add(store_.store(), At(2024, 6, 21, 8, 0), "before");
    Add(store_.store(), At(2024, 6, 22, 0, 0), "a");
    Add(store_.store(), At(2024, 6, 22, 23, 59), "b", 2);
    Add(store_.store(), At(2024, 6, 23, 0, 0), "after");
    TformList* w = Open();
    SetField(w->eInicio, QStringLiteral("22062024"));
    SetField(w->eFim, QStringLiteral("22062024"));
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    QCOMPARE(w->gridLembretes->RowCount(), 3);
    QCOMPARE(Cell(w, 0, 1), QStringLiteral("22/06/2024"));
    QCOMPARE(Cell(w, 1, 1), QStringLiteral("00:00"));
    QCOMPARE(Cell(w, 1, 2), QStringLiteral("23:59"));
    QCOMPARE(Cell(w, 2, 2), QStringLiteral("Semanal"));
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("a"));
  }

  void endBeforeStartIsRaisedOnEnterAndByTheCalendar() {
    TformList* w = Open();
    SetField(w->eFim, QStringLiteral("01062024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("20/06/2024"));
    double picked = EncodeDate(2024, 6, 2);
    emit w->eFim->AcceptDate(picked);
    QCOMPARE(w->eFim->text(), QStringLiteral("20/06/2024"));
  }

  void noneFoundOnlyWithTheWindowInFront() {
    Add(store_.store(), At(2024, 8, 1, 10, 0), "outside the range");
    TformList* w = Open(false);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    QVERIFY(store_.boxes.empty());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    QCOMPARE(BoxesWith(QStringLiteral("Nenhum lembrete encontrado")), 1);
    QCOMPARE(store_.boxes.back().icon, forms::BoxIcon::Error);
  }

  // --- selecting, altering, deleting -------------------------------------

  void clickingARowShowsItsText() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "primeiro");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "segundo\r\ncom duas linhas");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    ClickRow(w, 2);
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("segundo\ncom duas linhas"));
    QTest::keyClick(w->gridLembretes, Qt::Key_Up);  // the keyboard selects too
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("primeiro"));
    QVERIFY(!store_.store().ScanBusy);
  }

  void alterAndADoubleClickOpenOneAlterWindow() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "first");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "second");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    ClickRow(w, 2);
    QTest::mouseClick(w->bAlter, Qt::LeftButton);
    QCOMPARE(ReminderWindows().size(), size_t(1));
    TformLembrete* alter = ReminderWindows().front();
    QCOMPARE(alter->form.Mode, forms::LembreteForm::kModeAlter);
    QCOMPARE(alter->mLembrete->toPlainText(), QStringLiteral("second"));
    QCOMPARE(alter->bAlternate->text(), QStringLiteral("Cancelar"));
    QTest::mouseDClick(w->gridLembretes->viewport(), Qt::LeftButton, {}, RowCentre(w, 2));
    QCOMPARE(ReminderWindows().size(), size_t(1));
  }

  void excluirAnsweredYesClosesReminderWindowsAndListsAgain() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "to delete");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "to keep");
    store_.app().ShowLembrete(0, forms::LembreteForm::kModeAlert);
    store_.app().ShowLembrete(1, forms::LembreteForm::kModeAlert);
    QCOMPARE(ReminderWindows().size(), size_t(2));
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    store_.answers.push_back(QMessageBox::Yes);
    QTest::mouseClick(w->bDel, Qt::LeftButton);
    QCOMPARE(store_.boxes.size(), size_t(1));
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Deseja realmente excluir este lembrete?"));
    Flush();
    QVERIFY(ReminderWindows().empty());
    QCOMPARE(store_.store().Lembretes.Count, 1);
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QCOMPARE(Cell(w, 0, 1), QStringLiteral("22/06/2024"));
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("to keep"));
  }

  // The listing that follows removes the selected row, which moves the
  // selection while the listing holds the table.
  void excluirOnTheSelectedLastRowListsTheRestAndShowsItsText() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "first");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "last");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    ClickRow(w, 2);
    store_.answers.push_back(QMessageBox::Yes);
    QTest::mouseClick(w->bDel, Qt::LeftButton);
    Flush();
    QCOMPARE(store_.store().Lembretes.Count, 1);
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QCOMPARE(w->gridLembretes->Row(), 1);
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("first"));
  }

  void addingElsewhereRefreshesTheGrid() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "shown");
    TformList* w = Open(false);
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    Add(store_.store(), At(2024, 6, 21, 8, 0), "added elsewhere");
    QCOMPARE(w->gridLembretes->RowCount(), 3);
    QCOMPARE(Cell(w, 1, 1), QStringLiteral("08:00"));
  }

  // --- the grid's own drawing ---------------------------------------------

  void cellsAreColouredByState() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "a");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "b");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    ClickRow(w, 1);
    const QImage shot = w->gridLembretes->grab().toImage();
    const QPalette& pal = w->gridLembretes->palette();
    const QPoint origin = w->gridLembretes->viewport()->mapTo(w->gridLembretes, QPoint(0, 0));
    // Left margin of the date cells: background only, no text.
    auto at = [&](int grid_row) {
      int y = origin.y() + 2;
      for (int r = 1; r < grid_row; ++r) y += w->gridLembretes->RowHeights(r) + 1;
      return shot.pixelColor(origin.x() + 1, y);
    };
    QCOMPARE(at(1), pal.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(at(2), pal.color(QPalette::Active, QPalette::Base));
    QCOMPARE(shot.pixelColor(origin.x() + 1, origin.y() - 3), pal.color(QPalette::Active, QPalette::Button));
  }

  void tallCellGrowsItsRowWhichKeepsItsHeight() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "a");
    Add(store_.store(), At(2024, 6, 22, 9, 0), "b");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    ListGrid* grid = w->gridLembretes;
    grid->grab();
    Flush();
    QCOMPARE(grid->RowHeights(0), 18);
    QCOMPARE(grid->RowHeights(1), 18);
    grid->setFont(SansSerifFont(30));
    const int line = QFontMetrics(grid->font()).height();
    grid->grab();
    Flush();
    const int grown = grid->RowHeights(1);
    QVERIFY(grown >= line + 2);
    QCOMPARE(grid->RowHeights(2), grown);
    QVERIFY(grid->RowHeights(0) >= line + 2);
    // Smaller text and a new listing of the same rows: the rows stay as tall.
    grid->setFont(SansSerifFont(11));
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    grid->grab();
    Flush();
    QCOMPARE(grid->RowHeights(1), grown);
    QCOMPARE(grid->RowHeights(2), grown);
  }

  // --- printing -------------------------------------------------------------

  void printingOneReminderGivesOnePage() {
    Add(store_.store(), At(2024, 6, 21, 7, 5), ToCp(QStringLiteral("Comprar pão")), 3);
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    const QString pdf = PdfPath(QStringLiteral("one.pdf"));
    bool portrait = false;
    bool held = false, disabled = false, status_shown = false;
    store_.print = [&](QPrinter& printer) {
      portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      // Runs while the status box lets pending events through once.
      QTimer::singleShot(0, [&] {
        held = store_.store().ScanBusy;
        disabled = !w->isEnabled();
        auto* box = w->findChild<TformStatus*>();
        status_shown = box && box->isVisible() && box->lStatus->text() == QStringLiteral("Aguarde. Imprimindo...") &&
                       box->windowTitle() == QStringLiteral("Quelvo 3.0");
        // A title bar of its own above the 262 x 47 text area, and nothing to click.
        if (box) {
          const QImage face = box->grab().toImage();
          status_shown = status_shown && box->lStatus->size() == QSize(262, 47) &&
                         box->findChildren<QAbstractButton*>().isEmpty() &&
                         (box->windowFlags() & Qt::WindowStaysOnTopHint) &&
                         qRed(face.pixel(2, 2)) < 40 && qBlue(face.pixel(2, 2)) > 90 &&
                         box->lStatus->y() >= TformStatus::kTitleHeight;
        }
      });
      return true;
    };
    QTest::mouseClick(w->bPrintList, Qt::LeftButton);
    QVERIFY(portrait);
    QVERIFY(held);
    QVERIFY(disabled);
    QVERIFY(status_shown);
    QVERIFY(w->isEnabled());
    QVERIFY(!store_.store().ScanBusy);
    QVERIFY(!w->findChild<TformStatus*>());
    const QStringList pages = PdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    const QString page = pages[0];
    for (const char* expected : {"Quelvo 3.0 - Página: 1", "Data", "Hora", "Repetição", "Texto do Lembrete",
                                 "21/06/2024", "07:05", "Mensal", "Comprar pão"})
      QVERIFY2(page.contains(QString::fromUtf8(expected)), expected);
    // Ruled table: the header's top, the line between header and row, the row's bottom.
    const QImage picture = PdfPicture(pdf, 1, 100);
    QVERIFY(!picture.isNull());
    QCOMPARE(HorizontalRules(picture), 3);
  }

  void printingEmptyListGivesHeaderAndOneEmptyRow() {
    TformList* w = Open();
    const QString pdf = PdfPath(QStringLiteral("empty.pdf"));
    PrintTo(w, pdf);
    const QStringList pages = PdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QStringLiteral("Quelvo 3.0 - Página: 1")));
    QVERIFY(pages[0].contains(QStringLiteral("Texto do Lembrete")));
    const QImage picture = PdfPicture(pdf, 1, 100);
    QCOMPARE(HorizontalRules(picture), 3);
  }

  void printingLongListUsesAsManyPagesAsNeeded() {
    for (int i = 0; i < 200; ++i)
      Add(store_.store(), At(2024, 6, 21, 0, 0) + i * EncodeTime(0, 5),
          "Lembrete numero " + std::to_string(i) + " com um texto comprido que ocupa mais de uma linha na coluna "
          "de texto da folha impressa\r\nsegunda linha\r\nfim " + std::to_string(i));
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    QCOMPARE(w->gridLembretes->RowCount(), 201);
    const QString pdf = PdfPath(QStringLiteral("long.pdf"));
    PrintTo(w, pdf);
    const QStringList pages = PdfPages(pdf);
    QVERIFY(pages.size() > 2);
    for (int p = 0; p < pages.size(); ++p) {
      QVERIFY(pages[p].contains(QStringLiteral("Quelvo 3.0 - Página: %1").arg(p + 1)));
      QVERIFY(pages[p].contains(QStringLiteral("Texto do Lembrete")));
    }
    // Every row printed whole: its first and last line on the same page.
    for (int i = 0; i < 200; ++i) {
      const QRegularExpression first(QStringLiteral("Lembrete numero %1 ").arg(i));
      const QRegularExpression last(QStringLiteral("\\bfim %1\\b").arg(i));
      int first_page = -1, last_page = -1;
      for (int p = 0; p < pages.size(); ++p) {
        if (pages[p].contains(first)) first_page = p;
        if (pages[p].contains(last)) last_page = p;
      }
      QVERIFY2(first_page >= 0 && first_page == last_page, qPrintable(QString::number(i)));
    }
  }

  void cancellingTheDialogPrintsNothing() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "x");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    const QString pdf = PdfPath(QStringLiteral("cancelled.pdf"));
    bool status_seen = false;
    store_.print = [&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      QTimer::singleShot(0, [&] { status_seen = w->findChild<TformStatus*>() != nullptr; });
      return false;
    };
    QTest::mouseClick(w->bPrintList, Qt::LeftButton);
    Flush();
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!status_seen);
    QVERIFY(w->isEnabled());
    QVERIFY(store_.boxes.empty());
  }

  void printerFailureIsReportedAndWindowUsable() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "x");
    TformList* w = Open();
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    PrintTo(w, PdfPath(QStringLiteral("no/such/folder/x.pdf")));
    QCOMPARE(store_.boxes.size(), size_t(1));
    QCOMPARE(store_.boxes[0].text,
             QStringLiteral("Erro ao imprimir. Verifique se há uma impressora instalada em seu computador"));
    QCOMPARE(store_.boxes[0].icon, forms::BoxIcon::Error);
    QVERIFY(w->isEnabled());
    QVERIFY(!store_.store().ScanBusy);
    QVERIFY(!w->findChild<TformStatus*>());
  }
};

QTEST_MAIN(ListTest)
#include "list_test.moc"
