// The reminder window's widgets, driven through keys and clicks; its rules
// are tested in tests/forms/lembrete_form_test.cpp.

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <fstream>
#include <iterator>

#include "calendar/events_text.h"
#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/reminder_memo.h"
#include "qt/tavo_lembrete.h"
#include "qt/window_table.h"
#include "store/config.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

TLembrete Make(double when, const std::string& text, int kind) {
  TLembrete r;
  r.DateTime = when;
  r.RepeatKind = static_cast<uint8_t>(kind);
  r.Text = text;
  return r;
}

std::string ReadShipped(const char* name) {
  std::ifstream in(std::string(QUELVO_SOURCE_DIR) + "/assets/datas/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The next control the Tab key reaches.
QWidget* NextTabStop(QWidget* w) {
  QWidget* next = w->nextInFocusChain();
  while (next != w && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

// A key press as the keyboard delivers it (also keys QTest cannot type).
void PressKey(QWidget* w, int key, Qt::KeyboardModifiers mods) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

// Types text as the keyboard delivers it, one key event per character
// (QTest::keyClicks takes only ASCII).
void TypeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

// Replaces a field's text by typing, as a user selecting all and typing does.
void Type(QLineEdit* field, const QString& keys) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, keys);
}

}  // namespace

class LembreteTest : public QObject {
  Q_OBJECT

 private:
  GuiStore store_;  // now: Thursday 20/06/2024 14:35:12

  TformLembrete* OpenNew() { return OpenNewLembrete(store_); }

  // Opens the reminder at a position as the due check or the list window does.
  TformLembrete* OpenStored(int32_t position, uint8_t mode) {
    store_.app().ShowLembrete(position, mode);
    return WindowOf<TformLembrete>(store_.app().OwnedWindows().back());
  }

 private slots:
  void initTestCase() {
    InstallFontSubstitutes();
    SaintsList() = SplitTextLines(ReadShipped("santos.txt"));
    DatesList() = SplitTextLines(ReadShipped("datas.txt"));
  }

  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { store_.TearDown(); }

  // --- the window as it opens -------------------------------------------

  void newWindowShowsTodayAndNowInItsControls() {
    TformLembrete* w = OpenNew();
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    QCOMPARE(w->eData->text(), QStringLiteral("20/06/2024"));
    QCOMPARE(w->eHora->displayText(), QStringLiteral("14:35"));
    QCOMPARE(w->cbRepeat->currentText(), QStringLiteral("Nenhuma"));
    QCOMPARE(w->cbRepeat->count(), 5);
    QCOMPARE(w->cbRepeat->itemText(1), QStringLiteral("Diária"));
    QVERIFY(w->mLembrete->toPlainText().isEmpty());
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Cancelar"));
    QString events = FromCp(EventsText(EncodeDate(2024, 6, 20)));
    events.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(w->lEventos->text(), events);
    QCOMPARE(w->size(), QSize(255, 266));
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->mLembrete));
  }

  void controlsSitWhereTheLayoutSays() {
    store_.store().Config.FrontColor = 0x00FF0000;  // blue text
    store_.store().Config.BackColor = 0x0000FF00;   // on green
    TformLembrete* w = OpenNew();
    // Every widget of the table at its place in the window, found by its name.
    for (const auto& c : forms::kLembreteWindow.controls) {
      if (c.kind == forms::ControlKind::ClickArea) continue;
      const auto* widget = w->findChild<QWidget*>(QString::fromUtf8(c.name));
      QVERIFY2(widget, c.name);
      QCOMPARE(QRect(widget->mapTo(w, QPoint(0, 0)), widget->size()), ToQRect(c.place));
    }
    QCOMPARE(w->mLembrete->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(w->mLembrete->palette().color(QPalette::Base), QColor(0, 255, 0));
    QCOMPARE(w->pLembrete->palette().color(QPalette::Window), QColor(0, 255, 0));
    QCOMPARE(w->mLembrete->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(w->scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // Tab order: date, time, repetition, memo, OK, the other button.
    const std::vector<QWidget*> order = {w->eData, w->eHora, w->cbRepeat, w->mLembrete,
                                         w->bOK,   w->bAlternate, w->scroll};
    for (size_t i = 0; i + 1 < order.size(); ++i) QCOMPARE(NextTabStop(order[i]), order[i + 1]);
  }

  void alertWindowShowsTheStoredReminder() {
    store_.store().AddLembrete(Make(At(2024, 6, 1, 8, 5), "Linha um\r\nLinha dois", 3));
    TformLembrete* w = OpenStored(0, forms::LembreteForm::kModeAlert);
    QVERIFY(w);
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Excluir"));
    QCOMPARE(w->eData->text(), QStringLiteral("01/06/2024"));
    QCOMPARE(w->eHora->displayText(), QStringLiteral("08:05"));
    QCOMPARE(w->cbRepeat->currentIndex(), 3);
    QCOMPARE(w->mLembrete->toPlainText(), QStringLiteral("Linha um\nLinha dois"));
  }

  // --- the buttons -------------------------------------------------------

  void typedReminderIsStoredByOk() {
    TformLembrete* w = OpenNew();
    QPointer<TformLembrete> alive(w);
    Type(w->eData, QStringLiteral("24122024"));
    Type(w->eHora, QStringLiteral("0930"));
    w->cbRepeat->setFocus();
    QTest::keyClick(w->cbRepeat, Qt::Key_End);  // the last kind, "Anual"
    w->mLembrete->setFocus();
    QTest::keyClicks(w->mLembrete, QStringLiteral("  Ceia de Natal"));
    QTest::keyClick(w->mLembrete, Qt::Key_Return);
    TypeText(w->mLembrete, QStringLiteral("com a família "));
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    Flush();
    QVERIFY(!alive);
    QVERIFY(store_.boxes.empty());
    QCOMPARE(store_.store().Lembretes.Count, 1);
    TLembrete stored;
    store_.store().ReadLembrete(0, stored);
    QCOMPARE(stored.DateTime, At(2024, 12, 24, 9, 30));
    QCOMPARE(int(stored.RepeatKind), 4);
    QCOMPARE(stored.Text, ToCp(QStringLiteral("Ceia de Natal\r\ncom a família")));
  }

  void excluirAndCancelarAreClickedLikeAnyButton() {
    store_.store().AddLembrete(Make(At(2024, 6, 1, 8, 0), "Uma vez", 0));
    store_.store().AddLembrete(Make(At(2024, 6, 2, 8, 0), "Outro", 0));
    TformLembrete* alert = OpenStored(0, forms::LembreteForm::kModeAlert);
    QPointer<TformLembrete> alert_alive(alert);
    store_.answers.push_back(QMessageBox::Yes);
    QTest::mouseClick(alert->bAlternate, Qt::LeftButton);
    Flush();
    QVERIFY(!alert_alive);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Deseja realmente excluir este lembrete?"));
    QCOMPARE(store_.boxes[0].icon, forms::BoxIcon::Question);
    QCOMPARE(store_.store().Lembretes.Count, 1);

    TformLembrete* fresh = OpenNew();
    QPointer<TformLembrete> fresh_alive(fresh);
    QTest::keyClicks(fresh->mLembrete, QStringLiteral("novo"));
    QTest::mouseClick(fresh->bAlternate, Qt::LeftButton);
    Flush();
    QVERIFY(!fresh_alive);
    QCOMPARE(store_.store().Lembretes.Count, 1);
  }

  // --- repairs on leaving the fields ----------------------------------------

  void leavingTheFieldsRepairsThem() {
    TformLembrete* w = OpenNew();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->eData->setFocus();
    w->eData->setText(QStringLiteral("  /  /    "));
    w->eHora->setFocus();  // leaves the date field
    QCOMPARE(w->eData->text(), QStringLiteral("20/06/2024"));
    w->eHora->setText(QStringLiteral("2575"));
    w->cbRepeat->setFocus();  // leaves the time field
    QCOMPARE(w->eHora->displayText(), QStringLiteral("23:59"));
    w->eHora->setFocus();
    w->eHora->setText(QString());
    QTest::keyClick(w->eHora, Qt::Key_Return);  // Enter validates too
    QCOMPARE(w->eHora->displayText(), QStringLiteral("00:00"));
  }

  // A separator typed with the caret inside a filled part ends that part:
  // "7:" at the start of 14:25 is 07:25, not 74:25 (which would be repaired
  // to 23:25), and "5/" at the start of the date is the 5th.
  void aTypedSeparatorEndsThePartItIsTypedIn() {
    TformLembrete* w = OpenNew();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->eHora->setFocus();
    w->eHora->setText(QStringLiteral("14:25"));
    w->eHora->setCursorPosition(0);
    QTest::keyClicks(w->eHora, QStringLiteral("7:"));
    w->cbRepeat->setFocus();
    QCOMPARE(w->eHora->displayText(), QStringLiteral("07:25"));
    w->eData->setFocus();
    w->eData->setText(QStringLiteral("20/06/2024"));
    w->eData->setCursorPosition(0);
    QTest::keyClicks(w->eData, QStringLiteral("5/"));
    w->eHora->setFocus();
    QCOMPARE(w->eData->displayText(), QStringLiteral("05/06/2024"));
  }

  // --- the events area --------------------------------------------------------

  // The drop-down calendar: its title, and from left to right a year back,
  // a month back, a month on and a year on, named for screen readers and
  // without tooltips; each click moves the month shown by its step.
  void calendarStepsByYearsAndMonths() {
    TformLembrete* w = OpenNew();
    w->eData->DropDown();
    QCalendarWidget* calendar = w->eData->Calendar();
    QVERIFY(calendar && calendar->isVisible());
    QCOMPARE(calendar->windowTitle(), QStringLiteral("Escolha uma Data"));
    QList<QToolButton*> named;
    for (QToolButton* b : calendar->findChildren<QToolButton*>())
      if (!b->accessibleName().isEmpty() && b->isVisible()) named << b;
    std::sort(named.begin(), named.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QStringList names;
    for (QToolButton* b : named) names << b->accessibleName();
    QCOMPARE(names, (QStringList{QStringLiteral("Ano Anterior"), QStringLiteral("Mês Anterior"),
                                 QStringLiteral("Próximo Mês"), QStringLiteral("Próximo Ano")}));
    const int steps[] = {-12, -1, 1, 12};
    for (int i = 0; i < 4; ++i) {
      QVERIFY(named[i]->toolTip().isEmpty());
      const int before = calendar->yearShown() * 12 + calendar->monthShown();
      QTest::mouseClick(named[i], Qt::LeftButton);
      QCOMPARE(calendar->yearShown() * 12 + calendar->monthShown() - before, steps[i]);
    }
  }

  void eventsLabelIsMeasuredColouredAndScrollsBackToTop() {
    TformLembrete* w = OpenNew();
    Type(w->eData, QStringLiteral("12052024"));
    QTest::keyClick(w->eData, Qt::Key_Return);  // a Sunday, Dia das Mães
    QCOMPARE(w->lEventos->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const QRect expected = QFontMetrics(w->lEventos->font())
                               .boundingRect(QRect(0, 0, 216, 0), Qt::TextWordWrap, w->lEventos->text());
    QCOMPARE(w->lEventos->size(), expected.size());
    QVERIFY(w->lEventos->width() <= 216);
    // A tall text scrolls; leaving the date field starts it at the top again.
    w->lEventos->setFixedHeight(200);
    QCoreApplication::processEvents();
    w->scroll->verticalScrollBar()->setValue(50);
    Type(w->eData, QStringLiteral("13052024"));
    QTest::keyClick(w->eData, Qt::Key_Return);
    QCOMPARE(w->scroll->verticalScrollBar()->value(), 0);
    QCOMPARE(w->lEventos->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  }

  // --- keys and the memo limit ------------------------------------------------

  void memoRefusesThe1025thCharacter() {
    TformLembrete* w = OpenNew();
    w->mLembrete->setPlainText(QString(1024, QLatin1Char('a')));
    w->mLembrete->moveCursor(QTextCursor::End);
    QTest::keyClick(w->mLembrete, Qt::Key_B);
    QCOMPARE(w->mLembrete->toPlainText(), QString(1024, QLatin1Char('a')));
    // A paste keeps only what fits, and the cursor stands after it.
    w->mLembrete->setPlainText(QString(1000, QLatin1Char('a')));
    w->mLembrete->moveCursor(QTextCursor::Start);
    QGuiApplication::clipboard()->setText(QString(30, QLatin1Char('c')));
    QTest::keyClick(w->mLembrete, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->mLembrete->toPlainText(), QString(24, QLatin1Char('c')) + QString(1000, QLatin1Char('a')));
    QCOMPARE(w->mLembrete->textCursor().position(), 24);
    // A line break is stored as two characters.
    w->mLembrete->setPlainText(QString(1021, QLatin1Char('a')));
    w->mLembrete->moveCursor(QTextCursor::End);
    QTest::keyClick(w->mLembrete, Qt::Key_Return);
    QTest::keyClick(w->mLembrete, Qt::Key_B);
    QTest::keyClick(w->mLembrete, Qt::Key_C);
    QCOMPARE(w->mLembrete->toPlainText(), QString(1021, QLatin1Char('a')) + QStringLiteral("\nb"));
  }

  void enterInTheMemoIsANewLineAndCtrlEnterIsOk() {
    TformLembrete* w = OpenNew();
    QPointer<TformLembrete> alive(w);
    QTest::keyClicks(w->mLembrete, QStringLiteral("um"));
    QTest::keyClick(w->mLembrete, Qt::Key_Return);
    QTest::keyClicks(w->mLembrete, QStringLiteral("dois"));
    QCOMPARE(w->mLembrete->toPlainText(), QStringLiteral("um\ndois"));
    QCOMPARE(store_.store().Lembretes.Count, 0);
    QTest::keyClick(w->mLembrete, Qt::Key_Return, Qt::ControlModifier);
    Flush();
    QVERIFY(!alive);
    QCOMPARE(store_.store().Lembretes.Count, 1);
    TLembrete stored;
    store_.store().ReadLembrete(0, stored);
    QCOMPARE(stored.Text, std::string("um\r\ndois"));
  }

  void ctrlBreakCancelsANewReminderOnly() {
    store_.store().AddLembrete(Make(At(2024, 6, 1, 8, 0), "Fica", 0));
    TformLembrete* fresh = OpenNew();
    QPointer<TformLembrete> fresh_alive(fresh);
    PressKey(fresh->mLembrete, Qt::Key_Cancel, Qt::ControlModifier);
    Flush();
    QVERIFY(!fresh_alive);
    fresh = OpenNew();
    fresh_alive = fresh;
    PressKey(fresh->mLembrete, Qt::Key_Pause, Qt::ControlModifier);
    Flush();
    QVERIFY(!fresh_alive);
    TformLembrete* alert = OpenStored(0, forms::LembreteForm::kModeAlert);
    QPointer<TformLembrete> alert_alive(alert);
    PressKey(alert->mLembrete, Qt::Key_Cancel, Qt::ControlModifier);
    PressKey(alert->mLembrete, Qt::Key_Pause, Qt::ControlModifier);
    Flush();
    QVERIFY(alert_alive);
    QVERIFY(store_.boxes.empty());
    QCOMPARE(store_.store().Lembretes.Count, 1);
  }

  // --- the expand corner -----------------------------------------------------

  void theCornerTogglesTheEventsArea() {
    store_.store().Config.ShowInfo = false;
    TformLembrete* w = OpenNew();
    QCOMPARE(w->height(), 206);
    const QPoint corner(238, 192);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, corner);
    QCOMPARE(w->height(), 266);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, corner);
    QCOMPARE(w->height(), 206);
    // The double-click message toggles too.
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(corner), w->mapToGlobal(QPointF(corner)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QCOMPARE(w->height(), 266);
    // A click beside the corner changes nothing.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 30));
    QCOMPARE(w->height(), 266);
  }

  // --- placement ------------------------------------------------------------

  void windowsOpenWhereThePlacementRuleSays() {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    TformLembrete* first = OpenNew();
    const QPoint centre((screen.width() - 255) / 2, (screen.height() - 266) / 2);
    QCOMPARE(first->pos(), centre);
    TformLembrete* second = OpenNew();
    QCOMPARE(second->pos(), centre + QPoint(20, 20));
    // Closing one tells the rule where it was.
    second->close();
    QCOMPARE(store_.app().LastReminderPos, (forms::Point{centre.x(), centre.y()}));
  }

  // --- the picture -----------------------------------------------------------

  void windowRendersOnItsPicture() {
    store_.store().AddLembrete(Make(At(2024, 5, 12, 9, 30), ToCp(QStringLiteral("Ligar para a mãe e desejar um feliz Dia das Mães")), 4));
    TformLembrete* w = OpenStored(0, forms::LembreteForm::kModeAlert);
    const QImage shot = w->grab().toImage();
    QCOMPARE(shot.size(), QSize(255, 266));
    // Inside the panel's border: the BackColor yellow; the events area: white.
    QCOMPARE(QColor(shot.pixel(34, 150)), QColor(255, 255, 0));
    QCOMPARE(QColor(shot.pixel(240, 260)), QColor(255, 255, 255));
    const QByteArray out = qgetenv("QUELVO_SCREENSHOT");
    if (!out.isEmpty()) QVERIFY(shot.save(QString::fromLocal8Bit(out)));
  }
};

QTEST_MAIN(LembreteTest)
#include "lembrete_test.moc"
