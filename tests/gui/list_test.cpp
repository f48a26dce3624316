// The list window driven through its real controls, its boxes answered by
// the test, the store in a temporary program folder; printing goes to PDF
// files that pdftotext and pdftoppm read back.

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
#include "qt/message_box.h"
#include "qt/status.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_time.h"
#include "support/gui_fixture.h"
#include "qt/list_grid.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

void Add(double when, const std::string& text, int kind = 0) {
  TLembrete r;
  r.DateTime = when;
  r.RepeatKind = static_cast<uint8_t>(kind);
  r.Text = text;
  AddLembrete(r);
}

void SetField(DateField* field, const QString& text) {
  field->setText(text);
  QTest::keyClick(field, Qt::Key_Return);
}

std::vector<TformLembrete*> ReminderWindows() {
  std::vector<TformLembrete*> found;
  for (QWidget* w : OwnedWindows())
    if (auto* r = qobject_cast<TformLembrete*>(w)) found.push_back(r);
  return found;
}

void Flush() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

  TformList* Open(bool in_front = true) {
    auto* w = new TformList();
    w->show();
    if (in_front) {
      w->activateWindow();
      if (!QTest::qWaitForWindowActive(w)) return nullptr;
    }
    return w;
  }

  static QString Cell(TformList* w, int column, int grid_row) {
    return GridCellText(w->ListedEntries, column, grid_row);
  }

  static void SelectRow(TformList* w, int grid_row) {
    w->gridLembretes->setCurrentIndex(w->gridLembretes->Model()->index(grid_row - 1, 0));
  }

  QString PdfPath(const QString& name) const { return store_.Folder() + QLatin1Char('/') + name; }

  // Prints the window's list into a PDF through the test's stand-in dialog.
  void PrintTo(TformList* w, const QString& pdf) {
    TformList::PrintDialogForTesting = [pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
    w->bPrintList->click();
    TformList::PrintDialogForTesting = nullptr;
  }

  int BoxesWith(const QString& text) const {
    return static_cast<int>(std::count_if(store_.boxes.begin(), store_.boxes.end(), [&](const Box& b) { return b.text == text; }));
  }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }

  void init() {
    QVERIFY(store_.SetUp());
  }

  void cleanup() {
    TformList::PrintDialogForTesting = nullptr;
    store_.TearDown();
  }

  // --- the window as it opens -------------------------------------------

  void opensOnTodayToAWeekWithOneBlankRow() {
    Config.FrontColor = 0x0000FF;  // red
    Config.BackColor = 0x00FFFF;   // yellow
    Add(At(2024, 6, 21, 9, 0), "listed only on request");
    TformList* w = Open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    QCOMPARE(w->size(), QSize(417, 278));
    QCOMPARE(w->eInicio->text(), QStringLiteral("20/06/2024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("27/06/2024"));
    QCOMPARE(w->ListedEntries.Count, 0);
    QCOMPARE(w->gridLembretes->RowCount(), 2);
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

  void opensOnceAndUnregistersWhenClosed() {
    TformList* first = OpenWindowOnce<TformList>();
    QCOMPARE(OpenWindowOnce<TformList>(), first);
    QVERIFY(Hooks().RefreshList);
    first->bCancel->click();
    Flush();
    QVERIFY(OwnedWindows().empty());
    QVERIFY(!Hooks().RefreshList);
    Add(At(2024, 6, 21, 9, 0), "no window to refresh");
    QCOMPARE(Lembretes.Count, 1);
    // The close spot drawn on the picture closes it too.
    TformList* again = Open(false);
    QTest::mouseClick(again, Qt::LeftButton, {}, QPoint(395, 24));
    Flush();
    QVERIFY(OwnedWindows().empty());
  }

  // --- the range ---------------------------------------------------------

  void rangeIsStartDayToEndDayInclusive() {
    Add(At(2024, 6, 19, 23, 59), "day before the start");
    Add(At(2024, 6, 20, 0, 0), "start day at midnight");
    Add(At(2024, 6, 27, 23, 59), "end day, last minute");
    Add(At(2024, 6, 28, 0, 0), "day after the end");
    TformList* w = Open();
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 2);
    QCOMPARE(w->gridLembretes->RowCount(), 3);
    QCOMPARE(Cell(w, 0, 1), QStringLiteral("20/06/2024"));
    QCOMPARE(Cell(w, 1, 1), QStringLiteral("00:00"));
    QCOMPARE(Cell(w, 0, 2), QStringLiteral("27/06/2024"));
    QCOMPARE(Cell(w, 1, 2), QStringLiteral("23:59"));
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("start day at midnight"));
  }

  void sameStartAndEndListsThatDay() {
    Add(At(2024, 6, 21, 8, 0), "before");
    Add(At(2024, 6, 22, 0, 0), "a");
    Add(At(2024, 6, 22, 23, 59), "b");
    Add(At(2024, 6, 23, 0, 0), "after");
    TformList* w = Open();
    SetField(w->eInicio, QStringLiteral("22/06/2024"));
    SetField(w->eFim, QStringLiteral("22/06/2024"));
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 2);
    QCOMPARE(Cell(w, 1, 1), QStringLiteral("00:00"));
    QCOMPARE(Cell(w, 1, 2), QStringLiteral("23:59"));
  }

  void endBeforeStartIsRaisedToStart() {
    TformList* w = Open();
    SetField(w->eFim, QStringLiteral("01/06/2024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("20/06/2024"));
    double picked = EncodeDate(2024, 6, 2);
    emit w->eFim->AcceptDate(picked);
    QCOMPARE(picked, EncodeDate(2024, 6, 20));
    QCOMPARE(w->eFim->text(), QStringLiteral("20/06/2024"));
    // A later end is taken as typed.
    SetField(w->eFim, QStringLiteral("05/07/2024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("05/07/2024"));
  }

  void startPastEndFindsNothing() {
    Add(At(2024, 6, 25, 10, 0), "inside the first range");
    TformList* w = Open();
    SetField(w->eInicio, QStringLiteral("30/06/2024"));
    QCOMPARE(w->eFim->text(), QStringLiteral("27/06/2024"));  // the start is never compared with the end
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 0);
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QCOMPARE(BoxesWith(QStringLiteral("Nenhum lembrete encontrado")), 1);
    QCOMPARE(store_.boxes.back().icon, BoxIcon::Error);
  }

  void emptyStoreListsWithoutMessage() {
    TformList* w = Open();
    QCOMPARE(QApplication::activeWindow(), w);
    w->bListar->click();
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QVERIFY(store_.boxes.empty());
  }

  void emptyRangeMessageOnlyWithWindowInFront() {
    Add(At(2024, 8, 1, 10, 0), "outside the range");
    TformList* w = Open(false);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 0);
    QVERIFY(store_.boxes.empty());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->bListar->click();
    QCOMPARE(BoxesWith(QStringLiteral("Nenhum lembrete encontrado")), 1);
  }

  void repeatingReminderListedOnceAtItsDate() {
    Add(At(2024, 6, 18, 9, 5), "weekly", 2);
    Add(At(2024, 6, 19, 7, 0), "daily", 1);
    TformList* w = Open();
    SetField(w->eInicio, QStringLiteral("01/06/2024"));
    SetField(w->eFim, QStringLiteral("30/07/2024"));
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 2);
    QCOMPARE(Cell(w, 0, 1), QStringLiteral("18/06/2024"));
    QCOMPARE(Cell(w, 2, 1), QStringLiteral("Semanal"));
  }

  void timeAndRepetitionColumns_data() {
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("repetition");
    QTest::newRow("none") << 0 << 0 << 0 << "00:00" << "Nenhuma";
    QTest::newRow("daily") << 7 << 5 << 1 << "07:05" << "Diária";
    QTest::newRow("weekly") << 9 << 30 << 2 << "09:30" << "Semanal";
    QTest::newRow("monthly") << 12 << 9 << 3 << "12:09" << "Mensal";
    QTest::newRow("yearly") << 23 << 59 << 4 << "23:59" << "Anual";
  }

  void timeAndRepetitionColumns() {
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, kind);
    QFETCH(QString, time);
    QFETCH(QString, repetition);
    Add(At(2024, 6, 21, hour, minute), "x", kind);
    TformList* w = Open();
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 1);
    QCOMPARE(Cell(w, 1, 1), time);
    QCOMPARE(Cell(w, 2, 1), repetition);
    QCOMPARE(w->gridLembretes->model()->data(w->gridLembretes->model()->index(0, 1)).toString(), time);
  }

  // --- selecting, altering, deleting -------------------------------------

  void selectingRowShowsItsText() {
    Add(At(2024, 6, 21, 9, 0), "primeiro");
    Add(At(2024, 6, 22, 9, 0), "segundo\r\ncom duas linhas");
    TformList* w = Open();
    w->bListar->click();
    SelectRow(w, 2);
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("segundo\ncom duas linhas"));
    QVERIFY(!ScanBusy);
  }

  void rowThatLeftTheStoreShowsNothingAndDoesNothing() {
    Add(At(2024, 6, 21, 9, 0), "going away");
    TformList* w = Open();
    w->bListar->click();
    // As after a restore: the table changes without the list listing again.
    SetEntryCount(Lembretes, 0);
    w->gridLembretes->clicked(w->gridLembretes->Model()->index(0, 0));
    QVERIFY(w->mTexto->toPlainText().isEmpty());
    w->bAlter->click();
    QVERIFY(ReminderWindows().empty());
    store_.answers.push_back(QMessageBox::Yes);
    w->bDel->click();
    QCOMPARE(w->ListedEntries.Count, 1);  // nothing deleted, nothing listed again
  }

  void alterTurnsOpenAlertWindowIntoAlterWindow() {
    Add(At(2024, 6, 21, 9, 0), "already alerting");
    ShowLembrete(0, TformLembrete::kModeAlert);
    QCOMPARE(ReminderWindows().size(), size_t(1));
    TformLembrete* alert = ReminderWindows().front();
    TformList* w = Open();
    w->bListar->click();
    w->bAlter->click();
    QCOMPARE(ReminderWindows().size(), size_t(1));
    QCOMPARE(alert->Mode, TformLembrete::kModeAlter);
    QCOMPARE(alert->bAlternate->text(), QStringLiteral("Cancelar"));
    QVERIFY(!ScanBusy);
  }

  void alterWithoutWindowOpensOneInAlterMode() {
    Add(At(2024, 6, 21, 9, 0), "first");
    Add(At(2024, 6, 22, 9, 0), "second");
    TformList* w = Open();
    w->bListar->click();
    SelectRow(w, 2);
    w->bAlter->click();
    QCOMPARE(ReminderWindows().size(), size_t(1));
    QCOMPARE(ReminderWindows().front()->Mode, TformLembrete::kModeAlter);
    QCOMPARE(ReminderWindows().front()->ReminderIndex, 1);
    // A double click alters as well; the window shown is reused.
    emit w->gridLembretes->doubleClicked(w->gridLembretes->Model()->index(1, 0));
    QCOMPARE(ReminderWindows().size(), size_t(1));
  }

  void blankRowDoesNothing() {
    Add(At(2024, 8, 1, 10, 0), "outside the range");
    TformList* w = Open(false);
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 0);
    store_.answers.push_back(QMessageBox::Yes);
    w->bAlter->click();
    w->bDel->click();
    emit w->gridLembretes->doubleClicked(w->gridLembretes->Model()->index(0, 0));
    QVERIFY(ReminderWindows().empty());
    QVERIFY(store_.boxes.empty());
    QCOMPARE(Lembretes.Count, 1);
  }

  void deleteClosesAllReminderWindowsAndListsAgain() {
    Add(At(2024, 6, 21, 9, 0), "to delete");
    Add(At(2024, 6, 22, 9, 0), "to keep");
    ShowLembrete(0, TformLembrete::kModeAlert);
    ShowLembrete(1, TformLembrete::kModeAlert);
    auto* fresh = new TformLembrete();
    fresh->show();
    QCOMPARE(ReminderWindows().size(), size_t(3));
    TformList* w = Open();
    w->bListar->click();
    store_.answers.push_back(QMessageBox::Yes);
    w->bDel->click();
    QCOMPARE(store_.boxes.size(), size_t(1));
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Deseja realmente excluir este lembrete?"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Question);
    Flush();
    QVERIFY(ReminderWindows().empty());
    QCOMPARE(Lembretes.Count, 1);
    QCOMPARE(w->ListedEntries.Count, 1);
    QCOMPARE(w->mTexto->toPlainText(), QStringLiteral("to keep"));
    QVERIFY(!ScanBusy);
  }

  void deleteAnsweredNoKeepsEverything() {
    Add(At(2024, 6, 21, 9, 0), "kept");
    ShowLembrete(0, TformLembrete::kModeAlert);
    TformList* w = Open();
    w->bListar->click();
    store_.answers.push_back(QMessageBox::No);
    w->bDel->click();
    Flush();
    QCOMPARE(ReminderWindows().size(), size_t(1));
    QCOMPARE(Lembretes.Count, 1);
  }

  void deletingOnlyRowWithWindowInFrontSaysNoneFound() {
    Add(At(2024, 6, 21, 9, 0), "the only one listed");
    Add(At(2024, 8, 1, 9, 0), "outside the range");  // an empty store would list silently
    TformList* w = Open();
    w->bListar->click();
    store_.answers.push_back(QMessageBox::Yes);
    w->bDel->click();
    QCOMPARE(Lembretes.Count, 1);
    QCOMPARE(w->ListedEntries.Count, 0);
    QCOMPARE(w->gridLembretes->RowCount(), 2);
    QCOMPARE(BoxesWith(QStringLiteral("Nenhum lembrete encontrado")), 1);
  }

  // --- listing again after changes elsewhere ------------------------------

  void addingElsewhereRefreshesOnlyAListWithRows() {
    Add(At(2024, 6, 21, 9, 0), "shown");
    TformList* w = Open(false);
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 1);
    Add(At(2024, 6, 21, 8, 0), "added elsewhere");
    QCOMPARE(w->ListedEntries.Count, 2);
    QCOMPARE(Cell(w, 1, 1), QStringLiteral("08:00"));

    SetField(w->eInicio, QStringLiteral("01/07/2024"));
    SetField(w->eFim, QStringLiteral("02/07/2024"));
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 0);
    Add(At(2024, 7, 1, 9, 0), "would be in the range");
    QCOMPARE(w->ListedEntries.Count, 0);
    QVERIFY(store_.boxes.empty());  // the window was never in front
  }

  // --- the grid's own drawing ---------------------------------------------

  void cellsAreColouredByState() {
    Add(At(2024, 6, 21, 9, 0), "a");
    Add(At(2024, 6, 22, 9, 0), "b");
    TformList* w = Open();
    w->bListar->click();
    SelectRow(w, 1);
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
    Add(At(2024, 6, 21, 9, 0), "a");
    Add(At(2024, 6, 22, 9, 0), "b");
    TformList* w = Open();
    w->bListar->click();
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
    w->bListar->click();
    grid->grab();
    Flush();
    QCOMPARE(grid->RowHeights(1), grown);
    QCOMPARE(grid->RowHeights(2), grown);
  }

  // --- printing -------------------------------------------------------------

  void printingOneReminderGivesOnePage() {
    Add(At(2024, 6, 21, 7, 5), ToCp(QStringLiteral("Comprar pão")), 3);
    TformList* w = Open();
    w->bListar->click();
    const QString pdf = PdfPath(QStringLiteral("one.pdf"));
    bool portrait = false;
    bool held = false, disabled = false, status_shown = false;
    TformList::PrintDialogForTesting = [&](QPrinter& printer) {
      portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      // Runs while the status box lets pending events through once.
      QTimer::singleShot(0, [&] {
        held = ScanBusy;
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
    w->bPrintList->click();
    QVERIFY(portrait);
    QVERIFY(held);
    QVERIFY(disabled);
    QVERIFY(status_shown);
    QVERIFY(w->isEnabled());
    QVERIFY(!ScanBusy);
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
      Add(At(2024, 6, 21, 0, 0) + i * EncodeTime(0, 5),
          "Lembrete numero " + std::to_string(i) + " com um texto comprido que ocupa mais de uma linha na coluna "
          "de texto da folha impressa\r\nsegunda linha\r\nfim " + std::to_string(i));
    TformList* w = Open();
    w->bListar->click();
    QCOMPARE(w->ListedEntries.Count, 200);
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
    Add(At(2024, 6, 21, 9, 0), "x");
    TformList* w = Open();
    w->bListar->click();
    const QString pdf = PdfPath(QStringLiteral("cancelled.pdf"));
    bool status_seen = false;
    TformList::PrintDialogForTesting = [&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      QTimer::singleShot(0, [&] { status_seen = w->findChild<TformStatus*>() != nullptr; });
      return false;
    };
    w->bPrintList->click();
    Flush();
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!status_seen);
    QVERIFY(w->isEnabled());
    QVERIFY(store_.boxes.empty());
  }

  void printerFailureIsReportedAndWindowUsable() {
    Add(At(2024, 6, 21, 9, 0), "x");
    TformList* w = Open();
    w->bListar->click();
    PrintTo(w, PdfPath(QStringLiteral("no/such/folder/x.pdf")));
    QCOMPARE(store_.boxes.size(), size_t(1));
    QCOMPARE(store_.boxes[0].text,
             QStringLiteral("Erro ao imprimir. Verifique se há uma impressora instalada em seu computador"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Error);
    QVERIFY(w->isEnabled());
    QVERIFY(!ScanBusy);
    QVERIFY(!w->findChild<TformStatus*>());
  }
};

QTEST_MAIN(ListTest)
#include "list_test.moc"
