// The alert window's "Adiar" control on a real X11 display: clicks and keys
// go through the X server (xdotool) to the button, its menu and the time box,
// under the fixture's fixed clock; the due check is run by hand.

#include <QAccessible>
#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <fstream>
#include <iterator>

#include "dates/date_time.h"
#include "forms/snooze_control.h"
#include "qt/grad_btn.h"
#include "qt/masked_field.h"
#include "qt/reminder_memo.h"
#include "qt/snooze_menu.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_main.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

bool Run(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  return p.waitForStarted(5000) && p.waitForFinished(10000) && p.exitCode() == 0;
}

bool Keys(const QString& keys) {
  return Run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys.split(QLatin1Char(' ')));
}

bool Type(const QString& text) { return Run(QStringLiteral("xdotool"), {QStringLiteral("type"), text}); }

// A click at a point of `w`, placed by the X server's idea of where its window is.
bool ClickAt(QWidget* w, QPoint local) {
  QWidget* top = w->window();
  const QPoint p = w->mapTo(top, local);
  return Run(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(top->winId()),
              QString::number(p.x()), QString::number(p.y()), QStringLiteral("click"), QStringLiteral("1")});
}

TLembrete Make(double when, const std::string& text) {
  TLembrete r;
  r.DateTime = when;
  r.Text = text;
  return r;
}

}  // namespace

class SnoozeX11Test : public QObject {
  Q_OBJECT

  GuiStore store_;
  TformTAVO* main_ = nullptr;

  std::vector<TformLembrete*> Alerts() {
    std::vector<TformLembrete*> found;
    for (TformLembrete* r : store_.Windows<TformLembrete>())
      if (r->form.Mode == forms::LembreteForm::kModeAlert) found.push_back(r);
    return found;
  }

  // The due check at a minute of 20/06/2024; the alerts open then.
  std::vector<TformLembrete*> CheckAt(int hour, int minute) {
    store_.clock.time = platform::LocalTime{2024, 6, 20, hour, minute, 5, 0};
    main_->form.timerChecaTimer();
    return Alerts();
  }

  std::string DataFiles() {
    std::string bytes;
    for (const char* name : {"/dados/tavodb.idx", "/dados/tavodb.dat"}) {
      std::ifstream in((store_.Folder() + QString::fromLatin1(name)).toStdString(), std::ios::binary);
      bytes += std::string(std::istreambuf_iterator<char>(in), {}) + "|";
    }
    return bytes;
  }

  // "Consulta" due at 14:30, alerting at the fixture's 14:35: its window, active.
  TformLembrete* DueAlert() {
    store_.store().AddLembrete(Make(At(2024, 6, 20, 14, 30), "Consulta"));
    const auto alerts = CheckAt(14, 35);
    if (alerts.size() != 1) return nullptr;
    TformLembrete* w = alerts[0];
    w->activateWindow();
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
  }

  std::optional<double> Snooze() { return store_.store().SnoozedUntil(store_.store().Lembretes[0].Id); }

 private slots:
  void init() {
    QVERIFY(store_.SetUp());
    main_ = new TformTAVO(store_.app(), {});
  }
  void cleanup() {
    for (forms::Form* f : std::vector<forms::Form*>(store_.app().OwnedWindows()))
      if (f != &main_->form) delete WidgetOf(f);
    delete main_;
    main_ = nullptr;
    store_.TearDown();
  }

  // A click on "Adiar" and on "5 minutos": the alert closes, the snooze is
  // 14:40, the data files keep the date, and the 14:40 check alerts again.
  void theFirstChoiceClickedPutsTheAlertOffFiveMinutes() {
    TformLembrete* w = DueAlert();
    QVERIFY(w);
    const std::string files = DataFiles();
    QPointer<TformLembrete> alive(w);
    QVERIFY(w->snooze->button->isVisible());
    QCOMPARE(w->bOK->geometry(), QRect(31, 181, 60, 21));
    QCOMPARE(w->bAlternate->geometry(), QRect(96, 181, 60, 21));
    QCOMPARE(w->snooze->button->geometry(), QRect(161, 181, 60, 21));
    QVERIFY(ClickAt(w->snooze->button, w->snooze->button->rect().center()));
    TrayMenu* menu = w->snooze->menu;
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 7);
    QVERIFY(ClickAt(menu, menu->actionGeometry(menu->actions()[0]).center()));
    QTRY_VERIFY(!alive || !alive->isVisible());
    QCOMPARE(Snooze(), std::optional<double>(At(2024, 6, 20, 14, 40)));
    TLembrete stored;
    store_.store().ReadLembrete(0, stored);
    QCOMPARE(stored.DateTime, At(2024, 6, 20, 14, 30));
    QCOMPARE(DataFiles(), files);

    QVERIFY(CheckAt(14, 39).empty());
    const auto again = CheckAt(14, 40);
    QCOMPARE(again.size(), size_t{1});
    QCOMPARE(again[0]->mLembrete->toPlainText(), QStringLiteral("Consulta"));
    QCOMPARE(DataFiles(), files);
  }

  // Alt+A, Down, Enter: the keyboard reaches the same first choice.
  void altADownEnterPicksTheFirstChoice() {
    TformLembrete* w = DueAlert();
    QVERIFY(w);
    QPointer<TformLembrete> alive(w);
    const std::string files = DataFiles();
    QVERIFY(Keys(QStringLiteral("alt+a")));
    TrayMenu* menu = w->snooze->menu;
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(Keys(QStringLiteral("Down")));
    QTRY_COMPARE(menu->activeAction(), menu->actions()[0]);
    QVERIFY(Keys(QStringLiteral("Return")));
    QTRY_VERIFY(!alive || !alive->isVisible());
    QCOMPARE(Snooze(), std::optional<double>(At(2024, 6, 20, 14, 40)));
    QCOMPARE(DataFiles(), files);
  }

  // Esc closes the menu only: the alert stays open and nothing is snoozed.
  void escClosesTheMenuAndLeavesTheAlert() {
    TformLembrete* w = DueAlert();
    QVERIFY(w);
    QVERIFY(Keys(QStringLiteral("alt+a")));
    QTRY_VERIFY(w->snooze->menu->isVisible());
    QVERIFY(Keys(QStringLiteral("Escape")));
    QTRY_VERIFY(!w->snooze->menu->isVisible());
    QTRY_VERIFY(w->isActiveWindow());
    QVERIFY(w->isVisible());
    QVERIFY(!Snooze());
  }

  // "Outro horário...": the time box takes a typed time; Enter snoozes until it.
  void otherTimeAsksForATimeAndSnoozesUntilIt() {
    TformLembrete* w = DueAlert();
    QVERIFY(w);
    QPointer<TformLembrete> alive(w);
    QVERIFY(Keys(QStringLiteral("alt+a")));
    TrayMenu* menu = w->snooze->menu;
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(Keys(QStringLiteral("Up")));  // round to the last item
    QTRY_COMPARE(menu->activeAction(), menu->actions().back());
    QVERIFY(Keys(QStringLiteral("Return")));
    QTRY_VERIFY(w->snooze->box && w->snooze->box->isVisible());
    SnoozeTimeBox* box = w->snooze->box;
    QCOMPARE(box->field->displayText(), QStringLiteral("14:35"));  // the current time, offered
    QVERIFY(QTest::qWaitForWindowActive(box));
    QTRY_COMPARE(box->focusWidget(), static_cast<QWidget*>(box->field));
    QVERIFY(Type(QStringLiteral("1610")));
    QTRY_COMPARE(box->field->displayText(), QStringLiteral("16:10"));
    QVERIFY(Keys(QStringLiteral("Return")));
    QTRY_VERIFY(!alive || !alive->isVisible());
    QCOMPARE(Snooze(), std::optional<double>(At(2024, 6, 20, 16, 10)));
  }

  // The time box is laid out from its table: its client size, each control's
  // place, and the field named by its label.
  void theTimeBoxTakesItsPlacesFromItsTable() {
    SnoozeTimeBox box(nullptr);
    QCOMPARE(box.size(), QSize(forms::kSnoozeTimeClient.width, forms::kSnoozeTimeClient.height));
    for (const auto& c : forms::kSnoozeTimeBox.controls) {
      auto* widget = box.findChild<QWidget*>(QString::fromUtf8(c.name));
      QVERIFY2(widget, c.name);
      QCOMPARE(widget->geometry(), QRect(c.place.left, c.place.top, c.place.width, c.place.height));
    }
    QCOMPARE(box.field->accessibleName(), QStringLiteral("Hora"));
  }

  // Screen readers: the button by its caption, the menu and each item by name.
  void theButtonAndTheItemsAreNamed() {
    TformLembrete* w = DueAlert();
    QVERIFY(w);
    QCOMPARE(w->snooze->button->accessibleName(), QStringLiteral("Adiar"));
    w->snooze->PopUp();
    QTRY_VERIFY(w->snooze->menu->isVisible());
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(w->snooze->menu);
    QVERIFY(menu);
    QCOMPARE(menu->text(QAccessible::Name), QStringLiteral("Adiar por"));
    QCOMPARE(menu->childCount(), 7);
    QCOMPARE(menu->child(0)->text(QAccessible::Name), QStringLiteral("5 minutos"));
    QCOMPARE(menu->child(5)->text(QAccessible::Name), QStringLiteral("Amanhã neste horário"));
    QCOMPARE(menu->child(6)->text(QAccessible::Name), QStringLiteral("Outro horário..."));
    QCOMPARE(menu->child(0)->role(), QAccessible::MenuItem);
    w->snooze->menu->hide();
  }

  // New and alter windows have no snooze: no button, two buttons across.
  void newAndAlterWindowsHaveNoAdiar() {
    store_.store().AddLembrete(Make(At(2024, 6, 20, 14, 30), "Consulta"));
    store_.app().ShowLembrete(0, forms::LembreteForm::kModeAlter);
    auto* alter = WindowOf<TformLembrete>(store_.app().OwnedWindows().back());
    QVERIFY(alter);
    QVERIFY(!alter->snooze->button->isVisible());
    QCOMPARE(alter->bOK->geometry(), QRect(31, 181, 88, 21));
    QCOMPARE(alter->bAlternate->geometry(), QRect(129, 181, 88, 21));
    // Alt+A does nothing there.
    alter->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(alter));
    const int height = alter->height();
    QVERIFY(Keys(QStringLiteral("alt+a ctrl+i")));
    QTRY_VERIFY(alter->height() != height);  // the later key has been handled
    QVERIFY(!alter->snooze->menu->isVisible());
  }
};

QTEST_MAIN(SnoozeX11Test)
#include "snooze_x11_test.moc"
