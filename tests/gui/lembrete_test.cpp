// The reminder window driven through its real controls, its boxes answered
// by the test, the store in a temporary program folder.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <fstream>
#include <iterator>

#include "qt/date_field.h"
#include "qt/gui_common.h"
#include "qt/grad_btn.h"
#include "qt/message_box.h"
#include "calendar/events_text.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_text.h"
#include "store/date_time.h"
#include "support/gui_fixture.h"
#include "qt/tavo_lembrete.h"

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

// The events text as the label shows it (LF line breaks).
QString EventsShown(double date) {
  QString text = FromCp(EventsText(date));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
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

}  // namespace

class LembreteTest : public QObject {
  Q_OBJECT

 private:
  GuiStore store_;  // now: Thursday 20/06/2024 14:35:12

  // Drops the table and loads it again from the files.
  void ReloadFromFiles() {
    SetEntryCount(Lembretes, 0);
    OpenStore();
  }

  std::vector<TLembrete> Stored() {
    std::vector<TLembrete> all;
    for (int32_t i = 0; i < Lembretes.Count; ++i) {
      TLembrete r;
      ReadLembrete(i, r);
      all.push_back(r);
    }
    return all;
  }

  TformLembrete* OpenNew() {
    auto* w = new TformLembrete();
    w->Mode = TformLembrete::kModeNew;
    w->show();
    return w;
  }

  // Opens the reminder at a position as the due check or the list window does.
  TformLembrete* OpenStored(int32_t position, uint8_t mode) {
    const size_t before = OwnedWindows().size();
    ShowLembrete(position, mode);
    if (OwnedWindows().size() != before + 1) return nullptr;
    return qobject_cast<TformLembrete*>(OwnedWindows().back());
  }

  static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  static QSize ScreenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

 private slots:
  void initTestCase() {
    InstallFontSubstitutes();
    SaintsList() = SplitTextLines(ReadShipped("santos.txt"));
    DatesList() = SplitTextLines(ReadShipped("datas.txt"));
  }

  void init() {
    QVERIFY(store_.SetUp());
    LastReminderPos = QPoint(-1, -1);
  }

  void cleanup() { store_.TearDown(); }

  // --- the window as it opens -------------------------------------------

  void newWindowStartsWithTodayAndNow() {
    TformLembrete* w = OpenNew();
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    QCOMPARE(w->eData->text(), QStringLiteral("20/06/2024"));
    QCOMPARE(w->eHora->displayText(), QStringLiteral("14:35"));
    QCOMPARE(w->cbRepeat->currentText(), QStringLiteral("Nenhuma"));
    QCOMPARE(w->cbRepeat->count(), 5);
    QCOMPARE(w->cbRepeat->itemText(1), QStringLiteral("Diária"));
    QCOMPARE(w->cbRepeat->itemText(4), QStringLiteral("Anual"));
    QVERIFY(w->mLembrete->toPlainText().isEmpty());
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Cancelar"));
    QCOMPARE(w->lEventos->text(), EventsShown(EncodeDate(2024, 6, 20)));
    QVERIFY(!w->lEventos->text().isEmpty());
    QCOMPARE(w->size(), QSize(255, 266));
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->mLembrete));
    QCOMPARE(w->Reminder.TextLen, uint16_t{0});
    QVERIFY(!IsLembreteOpen(w->Reminder.Id));
  }

  void controlsSitWhereTheLayoutSays() {
    Config.FrontColor = 0x00FF0000;  // blue text
    Config.BackColor = 0x0000FF00;   // on green
    TformLembrete* w = OpenNew();
    QCOMPARE(w->eData->geometry(), QRect(32, 63, 88, 21));
    QCOMPARE(w->eHora->geometry(), QRect(121, 63, 37, 21));
    QCOMPARE(w->cbRepeat->geometry(), QRect(160, 63, 82, 21));
    QCOMPARE(w->pLembrete->geometry(), QRect(32, 86, 212, 92));
    QCOMPARE(w->bOK->geometry(), QRect(31, 181, 88, 21));
    QCOMPARE(w->bAlternate->geometry(), QRect(129, 181, 88, 21));
    QCOMPARE(w->scroll->geometry(), QRect(12, 211, 236, 54));
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
    AddLembrete(Make(At(2024, 6, 1, 8, 5), "Linha um\r\nLinha dois", 3));
    QVERIFY(!OpenStored(1, TformLembrete::kModeAlert));  // beyond the table: nothing
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
    QVERIFY(w);
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Excluir"));
    QCOMPARE(w->eData->text(), QStringLiteral("01/06/2024"));
    QCOMPARE(w->eHora->displayText(), QStringLiteral("08:05"));
    QCOMPARE(w->cbRepeat->currentIndex(), 3);
    QCOMPARE(w->mLembrete->toPlainText(), QStringLiteral("Linha um\nLinha dois"));
    QVERIFY(IsLembreteOpen(Lembretes[0].Id));
    QVERIFY(!IsLembreteOpen(Lembretes[0].Id + 1));
    w->SwitchToAlterMode();
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Cancelar"));
    QVERIFY(IsLembreteOpen(Lembretes[0].Id));
  }

  // --- OK ---------------------------------------------------------------

  void okInNewModeAddsToTheFiles() {
    TformLembrete* w = OpenNew();
    QPointer<TformLembrete> alive(w);
    w->eData->setText(QStringLiteral("24/12/2024"));
    w->eHora->setText(QStringLiteral("0930"));
    w->cbRepeat->setCurrentIndex(4);
    w->mLembrete->setPlainText(QStringLiteral("  Ceia de Natal\ncom a família \n\n"));
    w->bOK->click();
    Flush();
    QVERIFY(!alive);
    QVERIFY(store_.boxes.empty());
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all[0].DateTime, At(2024, 12, 24, 9, 30));
    QCOMPARE(int(all[0].RepeatKind), 4);
    QCOMPARE(all[0].Text, ToCp(QStringLiteral("Ceia de Natal\r\ncom a família")));
  }

  void okInNewModeRepairsDateAndTimeFirst() {
    TformLembrete* w = OpenNew();
    w->eData->setText(QStringLiteral("31/02/2025"));
    w->eHora->setText(QStringLiteral("2899"));
    w->mLembrete->setPlainText(QStringLiteral("x"));
    w->bOK->click();
    QCOMPARE(Lembretes.Count, 1);
    QCOMPARE(Lembretes[0].DateTime, At(2025, 2, 28, 23, 59));
  }

  void okWithAnEmptyTextInNewModeAddsNothing() {
    TformLembrete* w = OpenNew();
    QPointer<TformLembrete> alive(w);
    w->mLembrete->setPlainText(QStringLiteral("  \n\t \n"));
    w->bOK->click();
    Flush();
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Lembrete vazio. Inclusão cancelada"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Information);
    QVERIFY(!alive);
    ReloadFromFiles();
    QCOMPARE(Lembretes.Count, 0);
  }

  void okWithAnEmptyTextOnAStoredReminderKeepsTheWindow() {
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Texto", 0));
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
    QPointer<TformLembrete> alive(w);
    w->mLembrete->setPlainText(QStringLiteral(" "));
    w->bOK->click();
    Flush();
    QVERIFY(alive);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Digite algum texto no lembrete ou clique em Excluir, para removê-lo"));
    ReloadFromFiles();
    QCOMPARE(Stored().at(0).Text, std::string("Texto"));
  }

  void okInAlterModeAlters() {
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Primeiro", 0));
    AddLembrete(Make(At(2024, 7, 1, 8, 0), "Segundo", 1));
    TformLembrete* w = OpenStored(1, TformLembrete::kModeAlter);
    QPointer<TformLembrete> alive(w);
    QCOMPARE(w->bAlternate->text(), QStringLiteral("Cancelar"));
    w->eData->setText(QStringLiteral("01/05/2024"));
    w->eHora->setText(QStringLiteral("1745"));
    w->cbRepeat->setCurrentIndex(2);
    w->mLembrete->setPlainText(QStringLiteral("Segundo, alterado"));
    w->bOK->click();
    Flush();
    QVERIFY(!alive);
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{2});
    QCOMPARE(all[0].DateTime, At(2024, 5, 1, 17, 45));
    QCOMPARE(int(all[0].RepeatKind), 2);
    QCOMPARE(all[0].Text, std::string("Segundo, alterado"));
    QCOMPARE(all[1].Text, std::string("Primeiro"));
  }

  // --- Excluir and Cancelar -----------------------------------------------

  void excluirDeletesAOneTimeReminder() {
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Uma vez", 0));
    AddLembrete(Make(At(2024, 6, 2, 8, 0), "Outro", 0));
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
    QPointer<TformLembrete> alive(w);
    store_.answers.push_back(QMessageBox::Yes);
    w->bAlternate->click();
    Flush();
    QVERIFY(!alive);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Deseja realmente excluir este lembrete?"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Question);
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all[0].Text, std::string("Outro"));
  }

  void excluirMovesARepeatingReminderOnePeriod_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("daily across the year") << 1 << At(2024, 12, 31, 7, 0) << At(2025, 1, 1, 7, 0);
    QTest::newRow("weekly across the year") << 2 << At(2024, 12, 30, 18, 15) << At(2025, 1, 6, 18, 15);
    QTest::newRow("monthly") << 3 << At(2025, 1, 15, 9, 30) << At(2025, 2, 15, 9, 30);
    QTest::newRow("monthly after December") << 3 << At(2024, 12, 15, 9, 30) << At(2025, 1, 15, 9, 30);
    QTest::newRow("monthly into a shorter month") << 3 << At(2025, 1, 31, 9, 30) << At(2025, 2, 28, 9, 30);
    QTest::newRow("yearly from 29 February") << 4 << At(2024, 2, 29, 6, 0) << At(2025, 2, 28, 6, 0);
  }

  void excluirMovesARepeatingReminderOnePeriod() {
    QFETCH(int, kind);
    QFETCH(double, from);
    QFETCH(double, to);
    AddLembrete(Make(from, "Repete", kind));
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
    QPointer<TformLembrete> alive(w);
    // What the fields hold does not matter: the stored record moves on.
    w->mLembrete->setPlainText(QStringLiteral("mudado"));
    w->cbRepeat->setCurrentIndex(0);
    w->eData->setText(QStringLiteral("01/01/2030"));
    store_.answers.push_back(QMessageBox::Yes);
    w->bAlternate->click();
    Flush();
    QVERIFY(!alive);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QVERIFY(store_.boxes[0].text.startsWith(QStringLiteral("Ao confirmar a exclusão, você só será lembrado")));
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all[0].DateTime, to);
    QCOMPARE(int(all[0].RepeatKind), kind);
    QCOMPARE(all[0].Text, std::string("Repete"));
  }

  void answeringNoKeepsEverything_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("one-time") << 0;
    QTest::newRow("monthly") << 3;
  }

  void answeringNoKeepsEverything() {
    QFETCH(int, kind);
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Fica", kind));
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
    QPointer<TformLembrete> alive(w);
    store_.answers.push_back(QMessageBox::No);
    w->bAlternate->click();
    Flush();
    QVERIFY(alive);
    QCOMPARE(store_.boxes.size(), size_t{1});
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all[0].DateTime, At(2024, 6, 1, 8, 0));
  }

  void cancelarChangesNothing() {
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Fica", 0));
    TformLembrete* alter = OpenStored(0, TformLembrete::kModeAlter);
    QPointer<TformLembrete> alter_alive(alter);
    alter->mLembrete->setPlainText(QStringLiteral("outro"));
    alter->bAlternate->click();
    TformLembrete* fresh = OpenNew();
    QPointer<TformLembrete> fresh_alive(fresh);
    fresh->mLembrete->setPlainText(QStringLiteral("novo"));
    fresh->bAlternate->click();
    Flush();
    QVERIFY(!alter_alive);
    QVERIFY(!fresh_alive);
    QVERIFY(store_.boxes.empty());
    ReloadFromFiles();
    const auto all = Stored();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all[0].Text, std::string("Fica"));
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

  // --- the events area --------------------------------------------------------

  void eventsTextColour_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Sunday, Dia das Maes") << "12/05/2024" << QColor(255, 0, 0);
    QTest::newRow("Natal on a Wednesday") << "25/12/2024" << QColor(255, 0, 0);
    QTest::newRow("ordinary Monday") << "13/05/2024" << QColor(0, 0, 0);
  }

  void eventsTextColour() {
    QFETCH(QString, date);
    QFETCH(QColor, colour);
    TformLembrete* w = OpenNew();
    w->eData->setText(date);
    w->eDataExit();
    QCOMPARE(w->lEventos->palette().color(QPalette::WindowText), colour);
    QCOMPARE(w->lEventos->text(), EventsShown(TextToDate(ToCp(date))));
  }

  void eventsLabelIsMeasuredAndScrollsBackToTop() {
    TformLembrete* w = OpenNew();
    w->eData->setText(QStringLiteral("12/05/2024"));
    w->eDataExit();
    const QRect expected = QFontMetrics(w->lEventos->font())
                               .boundingRect(QRect(0, 0, 216, 0), Qt::TextWordWrap, w->lEventos->text());
    QCOMPARE(w->lEventos->size(), expected.size());
    QVERIFY(w->lEventos->width() <= 216);
    // A tall text scrolls; leaving the date field starts it at the top again.
    w->lEventos->setFixedHeight(200);
    QCoreApplication::processEvents();
    w->scroll->verticalScrollBar()->setValue(50);
    w->eDataExit();
    QCOMPARE(w->scroll->verticalScrollBar()->value(), 0);
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
    QCOMPARE(Lembretes.Count, 0);
    QTest::keyClick(w->mLembrete, Qt::Key_Return, Qt::ControlModifier);
    Flush();
    QVERIFY(!alive);
    QCOMPARE(Lembretes.Count, 1);
    QCOMPARE(Stored().at(0).Text, std::string("um\r\ndois"));
  }

  void ctrlBreakCancelsOnlyANewReminder_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("closes");
    QTest::newRow("new") << int(TformLembrete::kModeNew) << true;
    QTest::newRow("alert") << int(TformLembrete::kModeAlert) << false;
    QTest::newRow("alter") << int(TformLembrete::kModeAlter) << false;
  }

  void ctrlBreakCancelsOnlyANewReminder() {
    QFETCH(int, mode);
    QFETCH(bool, closes);
    AddLembrete(Make(At(2024, 6, 1, 8, 0), "Fica", 0));
    TformLembrete* w = mode == TformLembrete::kModeNew ? OpenNew() : OpenStored(0, static_cast<uint8_t>(mode));
    QPointer<TformLembrete> alive(w);
    PressKey(w->mLembrete, Qt::Key_Cancel, Qt::ControlModifier);
    Flush();
    QCOMPARE(alive.isNull(), closes);
    if (alive) {
      PressKey(w->mLembrete, Qt::Key_Pause, Qt::ControlModifier);
      Flush();
      QVERIFY(alive);
    }
    QVERIFY(store_.boxes.empty());
    QCOMPARE(Lembretes.Count, 1);
  }

  // --- the expand corner -----------------------------------------------------

  void theCornerTogglesTheEventsArea() {
    Config.ShowInfo = false;
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

  void firstWindowIsCentredAndTheNextCascades() {
    const QSize screen = ScreenSize();
    TformLembrete* first = OpenNew();
    const QPoint centre((screen.width() - 255) / 2, (screen.height() - 266) / 2);
    QCOMPARE(first->pos(), centre);
    QCOMPARE(LastReminderPos, centre);
    TformLembrete* second = OpenNew();
    QCOMPARE(second->pos(), centre + QPoint(20, 20));
    // Closing the second and opening another puts the new one where the second was.
    second->close();
    Flush();
    QCOMPARE(LastReminderPos, centre);
    TformLembrete* third = OpenNew();
    QCOMPARE(third->pos(), centre + QPoint(20, 20));
    // Closing the first moves the point before it; closing one right of and
    // below the point then leaves the point alone.
    first->close();
    QCOMPARE(LastReminderPos, centre - QPoint(20, 20));
    third->close();
    QCOMPARE(LastReminderPos, centre - QPoint(20, 20));
  }

  void cascadeWrapsAtTheScreenEdges() {
    const QSize screen = ScreenSize();
    LastReminderPos = QPoint(screen.width() - 255 - 10, 40);
    TformLembrete* right = OpenNew();
    QCOMPARE(right->pos(), QPoint(0, 60));
    LastReminderPos = QPoint(50, screen.height() - 266 - 10);
    TformLembrete* bottom = OpenNew();
    QCOMPARE(bottom->pos(), QPoint(70, 0));
    // Just fitting is no wrap.
    LastReminderPos = QPoint(screen.width() - 255 - 20, screen.height() - 266 - 20);
    TformLembrete* fits = OpenNew();
    QCOMPARE(fits->pos(), QPoint(screen.width() - 255, screen.height() - 266));
  }

  // --- the picture -----------------------------------------------------------

  void windowRendersOnItsPicture() {
    AddLembrete(Make(At(2024, 5, 12, 9, 30), ToCp(QStringLiteral("Ligar para a mãe e desejar um feliz Dia das Mães")), 4));
    TformLembrete* w = OpenStored(0, TformLembrete::kModeAlert);
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
