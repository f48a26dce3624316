// Where the widgets tell a screen reader the focus is, on a real X11 display
// with Qt's bridge to assistive technology on (support/with_a11y.sh): never
// in a control that does not have it (a hidden calendar, a grid the user is
// not in), and in the current row when the grid takes it.

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QPushButton>
#include <QTest>

#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/list_grid.h"
#include "qt/reminder_memo.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

// A focus report: the widget that sent it (the grid, for one of its cells)
// and the role of what is said to have the focus.
struct FocusReport {
  QObject* widget;
  QAccessible::Role role;
};
std::vector<FocusReport> g_reports;

void RecordFocus(QAccessibleEvent* event) {
  if (event->type() != QAccessible::Focus) return;
  QAccessibleInterface* iface = event->accessibleInterface();
  QAccessibleInterface* owner = iface;
  while (owner && !owner->object()) owner = owner->parent();
  g_reports.push_back({owner ? owner->object() : nullptr, iface ? iface->role() : QAccessible::NoRole});
}

bool FromCalendar(const FocusReport& r) {
  for (QObject* o = r.widget; o; o = o->parent())
    if (qobject_cast<QCalendarWidget*>(o)) return true;
  return false;
}

void AddAt(double when, const std::string& text) {
  TLembrete r;
  r.DateTime = when;
  r.Text = text;
  AddLembrete(r);
}

}  // namespace

class FocusReportsTest : public QObject {
  Q_OBJECT

  GuiStore store_;
  QAccessible::UpdateHandler previous_ = nullptr;

  template <typename W>
  W* Activate(W* w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
  }

 private slots:
  void initTestCase() {
    // The reports are sent only while the bridge to assistive technology is
    // on; it comes up once it has reached the accessibility bus.
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
  }
  void init() {
    QVERIFY(store_.SetUp());
    g_reports.clear();
    previous_ = QAccessible::installUpdateHandler(RecordFocus);
  }
  void cleanup() {
    QAccessible::installUpdateHandler(previous_);
    store_.TearDown();
  }

  void aReminderWindowOpensWithoutAHiddenCalendarTakingTheFocus() {
    auto& form = static_cast<forms::LembreteForm&>(store_.desktop().CreateWindow(forms::WindowKind::Lembrete));
    form.Mode = forms::LembreteForm::kModeNew;
    form.View().BringToFront();
    auto* w = Activate(WindowOf<TformLembrete>(&form));
    QVERIFY(w);
    QTRY_VERIFY(!g_reports.empty());
    QVERIFY(std::none_of(g_reports.begin(), g_reports.end(), FromCalendar));
    QCOMPARE(g_reports.back().widget, static_cast<QObject*>(w->mLembrete));
    // Dropped down, the calendar has the focus, and says so.
    w->eData->DropDown();
    QTRY_VERIFY(std::any_of(g_reports.begin(), g_reports.end(), FromCalendar));
  }

  void aRowRemovedElsewhereMovesNoFocusIntoTheGrid() {
    AddAt(At(2024, 6, 21, 9, 0), "primeiro");
    AddAt(At(2024, 6, 22, 9, 0), "segundo");
    auto* list = Activate(WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List)));
    QVERIFY(list);
    list->bListar->click();
    list->gridLembretes->setCurrentIndex(list->gridLembretes->model()->index(1, 0));
    list->bDel->setFocus();
    QTRY_VERIFY(list->bDel->hasFocus());
    g_reports.clear();
    // The selected row goes, deleted from another window: the grid's
    // selection moves, but the user is still on "Excluir".
    TLembrete second;
    static_cast<LembreteEntry&>(second) = Lembretes[1];
    DeleteLembrete(second);
    QCOMPARE(list->form.ListedEntries.Count, 1);
    // Every event the deletion posted (a focus change among them) is handled
    // before one posted after it.
    bool handled = false;
    QMetaObject::invokeMethod(qApp, [&handled] { handled = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(handled);
    for (const FocusReport& r : g_reports)
      QVERIFY2(r.widget != list->gridLembretes, "the grid took the focus from the user");

    // Tabbed into, the grid tells the row the keyboard stands on.
    list->gridLembretes->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(std::any_of(g_reports.begin(), g_reports.end(), [&](const FocusReport& r) {
      return r.widget == list->gridLembretes && r.role == QAccessible::Cell;
    }));
  }
};

int main(int argc, char** argv) {
  // Qt's bridge stays off until a screen reader asks, unless told otherwise.
  qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  QApplication app(argc, argv);
  FocusReportsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "focus_reports_a11y_test.moc"
