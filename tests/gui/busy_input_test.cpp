// User input that reaches the program while the table is walked: it waits
// in the window system's queue until the walk is done, so no handler can
// start a store operation that waits for a frame below itself.
// Input is queued the way the window system queues it (asynchronous window
// system events), not sent straight to a handler.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <cstdio>
#include <cstdlib>

#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/tavo_main.h"
#include "dates/date_time.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"
#include "qt/reminder_memo.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

// A left click at the centre of `target`, queued for the next message processing.
void QueueClick(QWidget* target) {
  QWidget* top = target->window();
  const QPointF local = target->mapTo(top, QPointF(target->width() / 2.0, target->height() / 2.0));
  const QPointF global = top->mapToGlobal(local);
  QWindow* window = top->windowHandle();
  QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
      window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
  QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
      window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

std::vector<TformLembrete*> Reminders(GuiStore& store, uint8_t mode) {
  std::vector<TformLembrete*> found;
  for (TformLembrete* r : store.Windows<TformLembrete>())
    if (r->form.Mode == mode) found.push_back(r);
  return found;
}

}  // namespace

class BusyInputTest : public QObject {
  Q_OBJECT

  GuiStore store_;

 private slots:
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { store_.TearDown(); }

  // A reminder window's OK clicked while printing lets the status box paint:
  // the click is held until printing ends, then stores the reminder; nothing
  // stays busy, so the next minute's check still raises a due reminder.
  void okClickedDuringPrintingIsStoredAfterIt() {
    TLembrete listed;
    listed.DateTime = At(2024, 6, 20, 9, 0);
    listed.Text = "listed";
    store_.store().AddLembrete(listed);

    auto* main = new TformTAVO(store_.app(), {});
    auto* list = WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List));
    list->bListar->click();
    QCOMPARE(list->form.ListedEntries.Count, 1);

    auto* reminder = WindowOf<TformLembrete>(&store_.desktop().CreateWindow(forms::WindowKind::Lembrete));
    reminder->show();
    QVERIFY(QTest::qWaitForWindowExposed(reminder));
    reminder->mLembrete->setPlainText(QStringLiteral("typed while printing"));
    reminder->eData->SetDate(At(2024, 6, 20));
    reminder->eHora->setText(QStringLiteral("14:36"));

    // Were the click handled inside the status box's message processing, the
    // store would wait for printing forever; end the test instead of hanging.
    FreezeWatchdog watchdog("the program froze: a store operation waits for printing", 10000);

    const QString pdf = store_.Folder() + QStringLiteral("/lista.pdf");
    bool clicked = false;
    store_.print = [&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      QueueClick(reminder->bOK);
      clicked = true;
      return true;
    };
    list->bPrintList->click();
    watchdog.Stop();
    QVERIFY(clicked);

    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(list->isEnabled());
    QVERIFY(!store_.store().ScanBusy && !store_.store().StoreBusy);
    QTRY_COMPARE(store_.store().Lembretes.Count, 2);  // the held click, delivered now
    QTRY_VERIFY(Reminders(store_, forms::LembreteForm::kModeNew).empty());

    store_.clock.time = platform::LocalTime{2024, 6, 20, 14, 36, 5, 0};
    main->form.timerChecaTimer();
    const auto alerts = Reminders(store_, forms::LembreteForm::kModeAlert);
    QCOMPARE(alerts.size(), size_t{2});

    for (forms::Form* f : std::vector<forms::Form*>(store_.app().OwnedWindows()))
      if (f != &main->form) delete WidgetOf(f);
    delete main;
  }
};

QTEST_MAIN(BusyInputTest)
#include "busy_input_test.moc"
