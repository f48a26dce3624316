// The reminder window on a real X11 display, driven as a user drives it:
// keys and clicks go through the X server (xdotool), pasted text through the
// real clipboard and the primary selection (xsel).

#include <QCalendarWidget>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QtTest>
#include <xcb/xcb.h>

#include <cstdlib>

#include "tests/common/typed_field_cases.h"
#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "store/date_text.h"
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

bool Run(const QString& program, const QStringList& arguments, const QByteArray& input = {}) {
  QProcess p;
  p.start(program, arguments);
  if (!p.waitForStarted(5000)) return false;
  if (!input.isEmpty()) p.write(input);
  p.closeWriteChannel();
  return p.waitForFinished(10000) && p.exitCode() == 0;
}

bool Keys(const QString& keys) {
  return Run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys.split(QLatin1Char(' ')));
}

// Clicks `button` (1 left, 2 middle) at a point of `w`, placed by the X
// server's own idea of where the window is (the window manager may have
// moved it since Qt last heard).
bool ClickAt(QWidget* w, QPoint local, int button = 1) {
  QWidget* top = w->window();
  const QPoint p = w->mapTo(top, local);
  return Run(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(top->winId()),
              QString::number(p.x()), QString::number(p.y()), QStringLiteral("click"), QString::number(button)});
}

// Types `text` one character at a time, through the keyboard's own keys.
bool Type(const QString& text) { return Run(QStringLiteral("xdotool"), {QStringLiteral("type"), text}); }

bool ClickCentre(QWidget* w, int button = 1) { return ClickAt(w, w->rect().center(), button); }

// Asks the X server for something and waits for the answer on the program's
// connection, handling no event meanwhile.
void XServerRoundTrip() {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return;
  xcb_connection_t* connection = x11->connection();
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Proves that every key and click sent so far has been handled: the X server
// delivers input in order, so once a later Ctrl+Home has moved the memo's
// cursor to the start, everything before it has had its effect.
bool InputHandled(QPlainTextEdit* memo) {
  QTextCursor cursor = memo->textCursor();
  cursor.movePosition(QTextCursor::End);
  memo->setTextCursor(cursor);
  if (!Keys(QStringLiteral("ctrl+Home"))) return false;
  return QTest::qWaitFor([memo] { return memo->textCursor().position() == 0; }, 5000);
}

// Puts `text` on the clipboard ("-b") or in the primary selection ("-p"),
// owned by another program, as a text copied elsewhere would be.
bool Offer(const QString& text, const char* which = "-b") {
  return Run(QStringLiteral("xsel"), {QString::fromLatin1(which), QStringLiteral("-i")}, text.toUtf8());
}

}  // namespace

class RealInputTest : public QObject {
  Q_OBJECT

  GuiStore store_{GuiStore::Options{true, true, true}};

  TformLembrete* OpenNew() {
    auto* w = WindowOf<TformLembrete>(&store_.desktop().CreateWindow(forms::WindowKind::Lembrete));
    w->form.Mode = forms::LembreteForm::kModeNew;
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w)) return nullptr;
    // Clicks are placed by the X server's idea of the window and keys go to
    // the active window, so where the window manager puts it does not matter.
    w->mLembrete->setFocus();
    return w;
  }

  static int MemoLength(TformLembrete* w) { return static_cast<int>(w->mLembrete->toPlainText().size()); }

 private slots:
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { store_.TearDown(); }

  // Pasting more than fits keeps 1024 characters, ends with the cursor after
  // what went in, and OK stores no more than that.
  void pastingMoreThanFitsKeepsTheLimit() {
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    QVERIFY(Offer(QString(1030, QLatin1Char('x'))));
    QVERIFY(Keys(QStringLiteral("ctrl+v")));
    QTRY_COMPARE(MemoLength(w), 1024);
    QCOMPARE(w->mLembrete->textCursor().position(), 1024);

    // Three pastes of 500: the third is cut to what is left.
    w->mLembrete->clear();
    QVERIFY(Offer(QString(500, QLatin1Char('y'))));
    for (int i = 0; i < 3; ++i) QVERIFY(Keys(QStringLiteral("ctrl+v")));
    QTRY_COMPARE(MemoLength(w), 1024);
    QVERIFY(InputHandled(w->mLembrete));
    QCOMPARE(MemoLength(w), 1024);

    // Over a full selection the paste replaces it, again up to the limit.
    QVERIFY(Offer(QString(1030, QLatin1Char('z'))));
    QVERIFY(Keys(QStringLiteral("ctrl+a ctrl+v")));
    QTRY_COMPARE(w->mLembrete->toPlainText(), QString(1024, QLatin1Char('z')));

    QPointer<TformLembrete> alive(w);
    QVERIFY(ClickCentre(w->bOK));
    QTRY_VERIFY(alive.isNull());
    QCOMPARE(store_.store().Lembretes.Count, 1);
    QCOMPARE(store_.store().Lembretes[0].TextLen, uint16_t{1024});
  }

  // A line break is stored as two characters; the middle button pastes the
  // primary selection under the same limit.
  void middleClickPasteCountsLineBreaksTwice() {
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    w->mLembrete->setPlainText(QString(1020, QLatin1Char('a')));
    QVERIFY(Offer(QStringLiteral("b\nc\nd"), "-p"));
    QVERIFY(ClickAt(w->mLembrete->viewport(), QPoint(w->mLembrete->viewport()->width() - 20, 70), 2));
    QTRY_VERIFY(w->mLembrete->toPlainText().size() > 1020);
    QVERIFY(InputHandled(w->mLembrete));
    QCOMPARE(ReminderStoredLength(w), 1024);
    QVERIFY(w->mLembrete->toPlainText().contains(QStringLiteral("b\nc")));
  }

  // Keys typed into the date and time fields, entered with the keyboard from
  // the memo: once the field is left it holds the repaired date or time, and
  // letters never got in (the cases both front-ends share).
  void typedDatesAndTimesAreRepairedOnLeaving() {
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    const struct {
      QLineEdit* field;
      const char* back_tabs;
      const std::vector<tavo::testing::TypedFieldCase> cases;
    } fields[] = {
        {w->eHora, "shift+Tab shift+Tab", {std::begin(tavo::testing::kTypedTimeCases), std::end(tavo::testing::kTypedTimeCases)}},
        {w->eData, "shift+Tab shift+Tab shift+Tab", {std::begin(tavo::testing::kTypedDateCases), std::end(tavo::testing::kTypedDateCases)}},
    };
    for (const auto& f : fields) {
      for (const auto& c : f.cases) {
        QVERIFY(Keys(QString::fromLatin1(f.back_tabs)));
        QTRY_VERIFY(f.field->hasFocus());
        QVERIFY(Type(QString::fromUtf8(c.keys)));
        QVERIFY(Keys(QStringLiteral("Tab")));
        // Keys arrive in order: once the focus has left, every one was handled.
        QTRY_VERIFY(!f.field->hasFocus());
        QVERIFY2(f.field->displayText() == QString::fromUtf8(c.expected),
                 qPrintable(QStringLiteral("%1 -> %2").arg(QString::fromUtf8(c.keys), f.field->displayText())));
        w->mLembrete->setFocus();
      }
    }
  }

  // Ctrl+Pause on a PC keyboard (the Break key) cancels a new reminder only.
  void ctrlBreakFromTheKeyboardCancelsANewReminder() {
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    QPointer<TformLembrete> alive(w);
    QVERIFY(Keys(QStringLiteral("ctrl+Pause")));
    QTRY_VERIFY(alive.isNull());

    TLembrete r;
    r.DateTime = At(2024, 6, 1, 8, 0);
    r.Text = "Fica";
    store_.store().AddLembrete(r);
    store_.app().ShowLembrete(0, forms::LembreteForm::kModeAlert);
    auto* alert = WindowOf<TformLembrete>(store_.app().OwnedWindows().back());
    QVERIFY(alert);
    alert->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(alert));
    QPointer<TformLembrete> alert_alive(alert);
    QVERIFY(Keys(QStringLiteral("ctrl+Pause")));
    // Keys arrive in order: once the later Ctrl+I has toggled the day's
    // information, Ctrl+Pause has been handled.
    const int height = alert->height();
    QVERIFY(Keys(QStringLiteral("ctrl+i")));
    QTRY_VERIFY(!alert_alive || alert->height() != height);
    QVERIFY(alert_alive);
  }

  // One click on a day of the drop-down calendar picks it and closes it; the
  // date field's exit handler runs (the events text follows the date).
  void oneClickOnACalendarDayPicksIt() {
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    auto* button = w->eData->findChild<QToolButton*>();
    QVERIFY(button);
    QVERIFY(!w->eData->Calendar());  // made at the first drop-down
    QVERIFY(ClickCentre(button));
    QTRY_VERIFY(w->eData->Calendar() && w->eData->Calendar()->isVisible());
    QCalendarWidget* calendar = w->eData->Calendar();
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    // Day 25 of the shown month (June 2024): its cell in the month grid.
    auto* view = calendar->findChild<QTableView*>();
    QVERIFY(view);
    QModelIndex day25;
    for (int row = 0; row < view->model()->rowCount() && !day25.isValid(); ++row)
      for (int col = 0; col < view->model()->columnCount(); ++col) {
        const QModelIndex i = view->model()->index(row, col);
        if (row > 2 && i.data().toInt() == 25) day25 = i;
      }
    QVERIFY(day25.isValid());
    QVERIFY(ClickAt(view->viewport(), view->visualRect(day25).center()));
    QTRY_VERIFY(!calendar->isVisible());
    QCOMPARE(w->eData->displayText(), QStringLiteral("25/06/2024"));
    QCOMPARE(w->lEventos->text().left(5), QStringLiteral("Terça"));
  }

  // A click on OK sent through the X server while printing starts reaches
  // the program during the status box's message processing: it is held
  // until printing ends, then stores the reminder.
  void clickDuringPrintingIsHeldUntilItEnds() {
    TLembrete listed;
    listed.DateTime = At(2024, 6, 20, 9, 0);
    listed.Text = "listed";
    store_.store().AddLembrete(listed);
    auto* list = WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List));
    list->bListar->click();
    TformLembrete* w = OpenNew();
    QVERIFY(w);
    QTest::keyClicks(w->mLembrete, QStringLiteral("clicado durante a impressao"));

    FreezeWatchdog watchdog("the program froze: a store operation waits for printing", 15000);
    const QString pdf = store_.Folder() + QStringLiteral("/lista.pdf");
    store_.print = [&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      ClickCentre(w->bOK);
      // A round trip to the X server on the program's own connection, without
      // handling any event: the reply comes after the click the server made for
      // xdotool, so the click is queued in the connection before printing goes on.
      XServerRoundTrip();
      return true;
    };
    list->bPrintList->click();
    watchdog.Stop();
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(list->isEnabled());
    QTRY_COMPARE(store_.store().Lembretes.Count, 2);
  }

 private:
  static int ReminderStoredLength(TformLembrete* w) {
    const QString text = w->mLembrete->toPlainText();
    return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
  }
};

QTEST_MAIN(RealInputTest)
#include "real_input_x11_test.moc"
