// Every control a click works on shows the program's hand cursor: the
// buttons, check box, lists and click spots of every window, and the
// drop-downs (the calendar's buttons and days, the colour palette).

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QTest>
#include <memory>

#include "qt/color_selector.h"
#include "qt/date_field.h"
#include "qt/gui_common.h"
#include "qt/shaped_window.h"
#include "qt/sync_window.h"
#include "qt/tavo_config.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"
#include "qt/tavo_main.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

bool Clickable(QWidget* w) {
  return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
         qobject_cast<ClickSpot*>(w);
}

// The clickable controls of `window` (shown ones) whose cursor is not the hand.
QStringList WithoutTheHand(QWidget* window) {
  QStringList missing;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!Clickable(w) || !w->isVisibleTo(window)) continue;
    auto* view = qobject_cast<QAbstractItemView*>(w);
    const QCursor cursor = view ? view->viewport()->cursor() : w->cursor();
    if (cursor.shape() == HandCursor().shape()) continue;
    auto* button = qobject_cast<QAbstractButton*>(w);
    const QString name = !w->accessibleName().isEmpty() ? w->accessibleName()
                         : button                       ? button->text()
                                                        : w->objectName();
    missing << QStringLiteral("%1 \"%2\" in %3")
                   .arg(QString::fromLatin1(w->metaObject()->className()), name, window->accessibleName());
  }
  return missing;
}

}  // namespace

class HandCursorTest : public QObject {
  Q_OBJECT

  GuiStore store_;

  template <typename W>
  W* Open(forms::WindowKind kind) {
    auto* w = WindowOf<W>(&store_.desktop().CreateWindow(kind));
    w->show();
    return w;
  }

 private slots:
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() { store_.TearDown(); }

  void everyClickableControlShowsTheHand() {
    auto main_window = std::make_unique<TformTAVO>(store_.app(), std::vector<std::string>{});
    main_window->show();
    auto* lembrete = Open<TformLembrete>(forms::WindowKind::Lembrete);
    lembrete->eData->DropDown();
    auto* list = Open<TformList>(forms::WindowKind::List);
    auto* config = Open<TformConfig>(forms::WindowKind::Config);
    QTest::mouseClick(config->csFront, Qt::LeftButton);
    QTRY_VERIFY(config->csFront->OpenPalette());
    auto* sync = Open<TformSync>(forms::WindowKind::Sync);

    QStringList missing;
    for (QWidget* window : {static_cast<QWidget*>(main_window.get()), static_cast<QWidget*>(lembrete),
                            static_cast<QWidget*>(lembrete->eData->Calendar()), static_cast<QWidget*>(list),
                            static_cast<QWidget*>(config), static_cast<QWidget*>(config->csFront->OpenPalette()),
                            static_cast<QWidget*>(sync)})
      missing << WithoutTheHand(window);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
  }
};

QTEST_MAIN(HandCursorTest)
#include "hand_cursor_test.moc"
