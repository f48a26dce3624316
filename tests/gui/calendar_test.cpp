// Calendar files from the Qt windows: the tray menu's export and import
// chosen with the keyboard, the list window's grid menu, and the real
// summary box with its details. Dialogs are answered through the hook; the
// flow's rules are tested in tests/forms/calendar_flow_test.cpp.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "ical/calendar_store.h"
#include <QPushButton>

#include "qt/gui_common.h"
#include "qt/list_grid.h"
#include "qt/tavo_list.h"
#include "qt/tavo_main.h"
#include "qt/tray_menu.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {


QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chooses a menu item as a person does with the keyboard: the menu is open,
// Down moves to the item, Return runs it.
bool ChooseWithKeys(QMenu* menu, const QString& text) {
  QAction* wanted = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == text) wanted = a;
  if (!wanted) return false;
  menu->popup(QPoint(100, 100));
  if (!QTest::qWaitForWindowExposed(menu)) return false;
  for (int i = 0; i < menu->actions().size() && menu->activeAction() != wanted; ++i) QTest::keyClick(menu, Qt::Key_Down);
  if (menu->activeAction() != wanted) return false;
  QTest::keyClick(menu, Qt::Key_Return);
  return true;
}

}  // namespace

class CalendarTest : public QObject {
  Q_OBJECT

  GuiStore store_;
  QTemporaryDir files_;  // outlives each test's program folder
  std::unique_ptr<TformTAVO> main_;

  TformTAVO* MainWindow() {
    main_ = std::make_unique<TformTAVO>(store_.app(), std::vector<std::string>{});
    main_->show();
    if (!QTest::qWaitFor([this] { return main_->form.FirstActivationDone(); }, 2000)) return nullptr;
    store_.boxes.clear();  // no calendar files in the test's folder
    return main_.get();
  }

  void CloseAll() {
    for (forms::Form* f : std::vector<forms::Form*>(store_.app().OwnedWindows()))
      if (f->Kind() != forms::WindowKind::Main) delete WidgetOf(f);
    main_.reset();
    store_.TearDown();
  }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { CloseAll(); }

  void exportFromTheTrayMenuThenImportIntoAnotherFolder() {
    Add(store_.store(), At(2024, 7, 1, 8, 0), "um");
    Add(store_.store(), At(2024, 7, 2, 9, 30), "dois");
    Add(store_.store(), At(2024, 6, 19, 9, 0), "passou");
    TformTAVO* w = MainWindow();
    QVERIFY(w);
    const QString path = files_.filePath(QStringLiteral("todos.ics"));
    store_.files = {path};
    QVERIFY(ChooseWithKeys(w->PopupMenu, QStringLiteral("Exportar Calendário")));
    QCOMPARE(store_.file_dialogs, 1);
    QCOMPARE(store_.file_dialog_kinds[0].kind, forms::FileDialog::Kind::Save);
    QCOMPARE(store_.file_dialog_kinds[0].pattern, std::string("*.ics"));
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("3 lembretes exportados"));
    QVERIFY(ReadAll(path).startsWith("BEGIN:VCALENDAR"));

    CloseAll();
    QVERIFY(store_.SetUp());  // an empty program folder
    w = MainWindow();
    QVERIFY(w);
    QCOMPARE(store_.store().Lembretes.Count, 0);
    store_.files = {path};
    QVERIFY(ChooseWithKeys(w->PopupMenu, QStringLiteral("Importar Calendário")));
    QCOMPARE(store_.file_dialog_kinds.back().kind, forms::FileDialog::Kind::Open);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("2 lembretes importados, 1 ignorado"));
    QCOMPARE(store_.boxes[0].details, QStringLiteral("ignorado: passou: já passou"));
    QCOMPARE(store_.store().Lembretes.Count, 2);
  }

  void theGridMenuExportsTheListedRange() {
    Add(store_.store(), At(2024, 6, 19, 8, 0), "antes");
    Add(store_.store(), At(2024, 6, 21, 8, 0), "dentro");
    Add(store_.store(), At(2024, 7, 30, 8, 0), "depois");
    auto* w = WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List));
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::mouseClick(w->bListar, Qt::LeftButton);
    QCOMPARE(w->form.ListedEntries.Count, 1);
    const QString path = files_.filePath(QStringLiteral("lista.ics"));
    store_.files = {path};
    // A right click on the grid opens its menu; Down and Return run its only item.
    const QPoint row = w->gridLembretes->viewport()->mapTo(
        w, w->gridLembretes->visualRect(w->gridLembretes->model()->index(0, 0)).center());
    QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, row);
    QVERIFY(QTest::qWaitFor([w] { return w->pmGrid->isVisible(); }, 2000));
    QTest::keyClick(w->pmGrid, Qt::Key_Down);
    QTest::keyClick(w->pmGrid, Qt::Key_Return);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("1 lembrete exportado"));
    int count = 0;
    const int32_t first = store_.store().FindPosition(At(2024, 6, 20));
    const int32_t after = store_.store().FindPosition(At(2024, 6, 28));
    QCOMPARE(ReadAll(path), QByteArray::fromStdString(ical::ExportStore(store_.store(), first, after, &count)));
    QCOMPARE(count, 1);

    // Shift+F10 on the grid opens the same menu.
    store_.files.clear();
    w->gridLembretes->setFocus();
    QTest::keyClick(w->gridLembretes, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(QTest::qWaitFor([w] { return w->pmGrid->isVisible(); }, 2000));
    QTest::keyClick(w->pmGrid, Qt::Key_Escape);
  }

  // The box itself: its details unfold under a Portuguese button.
  void theSummaryBoxShowsItsDetailsOnRequest() {
    SetDialogAnswerer(nullptr);
    QString caption_before, caption_after, details;
    bool seen = false;
    // Looks for the box each time the event loop is idle, until it is there.
    QTimer look;
    look.setInterval(0);
    connect(&look, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      look.stop();
      seen = true;
      for (QAbstractButton* b : box->buttons()) {
        if (box->buttonRole(b) != QMessageBox::ActionRole) continue;
        caption_before = b->text();
        b->click();
        // Qt names it in English at once; the Portuguese caption follows
        // (checked below, through caption_after).
        (void)QTest::qWaitFor(
            [&] { return b->text() != caption_before && !b->text().contains(QLatin1String("Details")); }, 2000);
        caption_after = b->text();
      }
      if (auto* edit = box->findChild<QTextEdit*>()) details = edit->toPlainText();
      box->accept();
    });
    look.start();
    ShowDetailedMessage(nullptr, QStringLiteral("1 lembrete importado, 1 ignorado"),
                        QStringLiteral("ignorado: x: já passou"), forms::BoxIcon::Information,
                        forms::BoxModality::Task);
    SetDialogAnswerer(&store_);
    QVERIFY(seen);
    QCOMPARE(caption_before, QStringLiteral("Mostrar Detalhes..."));
    QCOMPARE(caption_after, QStringLiteral("Ocultar Detalhes"));
    QCOMPARE(details, QStringLiteral("ignorado: x: já passou"));
  }
};

QTEST_MAIN(CalendarTest)
#include "calendar_test.moc"
