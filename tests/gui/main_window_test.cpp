// The main window, the tray menu and the window shaping, driven through
// clicks and keys. The main window's rules, the due check and backup and
// restore are tested in tests/forms/main_form_test.cpp.

#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>
#include <fstream>

#include "forms/window_tables.h"
#include "platform/testing/test_platform.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/shaped_window.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_main.h"
#include "qt/tray_menu.h"
#include "store/config.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

class CountingPlayer : public platform::WavePlayer {
 public:
  void PlayAsync(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  GuiStore store_;
  std::vector<std::unique_ptr<TformTAVO>> mains_;

  TformTAVO* NewMainWindow(std::vector<std::string> args = {}) {
    mains_.push_back(std::make_unique<TformTAVO>(store_.app(), std::move(args)));
    TformTAVO* w = mains_.back().get();
    w->show();
    if (!QTest::qWaitFor([w] { return w->form.FirstActivationDone(); }, 2000))
      QTest::qFail("the main window was never activated", __FILE__, __LINE__);
    return w;
  }

  std::vector<TformLembrete*> Reminders() { return store_.Windows<TformLembrete>(); }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }
  void init() { QVERIFY(store_.SetUp()); }
  void cleanup() {
    // The main window goes last, as when the program ends.
    for (forms::Form* f : std::vector<forms::Form*>(store_.app().OwnedWindows()))
      if (f->Kind() != forms::WindowKind::Main) delete WidgetOf(f);
    mains_.clear();
    store_.TearDown();
  }

  void missingCalendarFileIsReportedAndTheTimerStillStarts() {
    TformTAVO* w = NewMainWindow();
    QCOMPARE(store_.boxes.size(), size_t{2});
    QVERIFY(store_.boxes[0].text.startsWith(QStringLiteral("Cannot open file ")));
    QVERIFY(store_.boxes[0].text.endsWith(QStringLiteral("santos.txt.")));
    QVERIFY(w->timerCheca.isActive());
    QCOMPARE(w->timerCheca.interval(), 10000);
  }

  void minimizeSwitchLeavesTheWindowHidden() {
    TformTAVO* hidden = NewMainWindow({"minimize"});
    TformTAVO* shown = NewMainWindow({"MINIMIZE", "x"});
    if (QSystemTrayIcon::isSystemTrayAvailable()) QVERIFY(!hidden->isVisible());
    else QVERIFY(hidden->isMinimized());
    QVERIFY(shown->isVisible());
  }

  void closeRequestHidesAndConfirmedEndingCloses() {
    TformTAVO* w = NewMainWindow();
    QVERIFY(!w->close());  // Alt+F4 or the taskbar's close: hidden, not closed
    QVERIFY(!store_.app().MainWindowShown);
    w->show();
    store_.answers = {QMessageBox::No};
    QTest::mouseClick(w->bFecha, Qt::LeftButton);
    QCOMPARE(store_.boxes.back().text, QStringLiteral("Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. "
                                                      "Tem certeza de que deseja encerrar o programa?"));
    QVERIFY(w->isVisible());
    store_.answers = {QMessageBox::Yes};
    QTest::mouseClick(w->bFecha, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(store_.app().ShuttingDown);
  }

  void buttonsOpenTheirWindows() {
    TformTAVO* w = NewMainWindow();
    QTest::mouseClick(w->bNovo, Qt::LeftButton);
    QTest::mouseClick(w->bNovo, Qt::LeftButton);
    QCOMPARE(Reminders().size(), size_t{2});
    QTest::mouseClick(w->bLista, Qt::LeftButton);
    QTest::mouseClick(w->bConfig, Qt::LeftButton);
    QTest::mouseClick(w->bLista, Qt::LeftButton);
    QCOMPARE(store_.app().OwnedWindows().size(), size_t{5});
    store_.app().CloseReminderWindows();
    Flush();
    QCOMPARE(store_.app().OwnedWindows().size(), size_t{3});
  }

  void hidingWithAnotherWindowOpenMinimisesOnlyWhenItCloses() {
    TformTAVO* w = NewMainWindow();
    QTest::mouseClick(w->bNovo, Qt::LeftButton);
    QTest::mouseClick(w->bHide, Qt::LeftButton);
    QVERIFY(!store_.desktop().ApplicationMinimized());
    Reminders().front()->close();
    QVERIFY(store_.desktop().ApplicationMinimized());
    Flush();
    w->PopupMenu->findChild<QAction*>(QStringLiteral("pmJanela"))->trigger();
    QVERIFY(w->isVisible());
    QVERIFY(!store_.desktop().ApplicationMinimized());
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(395, 24));  // the hide spot
    QVERIFY(store_.desktop().ApplicationMinimized());
  }

  void backupButtonWritesTheFileTheDialogNames() {
    TLembrete r;
    r.DateTime = At(2024, 7, 1, 8, 0);
    r.Text = "um";
    store_.store().AddLembrete(r);
    TformTAVO* w = NewMainWindow();
    const QString path = store_.Folder() + QStringLiteral("/copia.tvb");
    store_.files = {path};
    QTest::mouseClick(w->bDoBackup, Qt::LeftButton);
    QCOMPARE(store_.file_dialogs, 1);
    QCOMPARE(QFileInfo(path).size(), qint64{15 + 20 + 2});
  }

  void aTimerTickRaisesTheDueReminderWithOneSound() {
    CountingPlayer player;
    platform::SetSoundForTesting(&player);
    const std::string sound = store_.Folder().toStdString() + "/dados/gongo.wav";
    std::ofstream(sound) << "RIFF";
    store_.store().Config.WaveFile = sound;
    TLembrete r;
    r.DateTime = At(2024, 6, 20, 10, 0);
    r.Text = "vencido";
    store_.store().AddLembrete(r);
    TformTAVO* w = NewMainWindow();
    // The timer's next event, without waiting its ten seconds.
    w->timerCheca.start(0);
    QTRY_COMPARE(Reminders().size(), size_t{1});
    w->timerCheca.stop();
    platform::SetSoundForTesting(nullptr);
    QCOMPARE(Reminders()[0]->bAlternate->text(), QStringLiteral("Excluir"));
    QCOMPARE(player.played, std::vector<std::string>{sound});
  }

  void menuItemsInOrderWithTheNewReminderAsDefault() {
    TformTAVO* w = NewMainWindow();
    QStringList texts;
    for (QAction* a : w->PopupMenu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"&Novo Lembrete", "&Ler / Alterar Lembretes", "-", "Gravar Backup dos Lembretes",
                                 "Restaurar Backup dos Lembretes", "Exportar Calendário", "Importar Calendário",
                                 "Sincronização", "-",
                                 "Exibir Menu Principal", "&Configurações", "-",
                                 "&Encerrar o Programa"}));
    QCOMPARE(w->PopupMenu->defaultAction(), w->PopupMenu->actions().first());
    // A double click on the icon runs the default item: a new reminder window.
    w->PopupMenu->RunDefaultItem();
    QCOMPARE(Reminders().size(), size_t{1});
  }

  void marginGradientReadBackFromTheRenderedMenu() {
    TrayMenu menu;
    for (int i = 0; i < 8; ++i) menu.addAction(QStringLiteral("Item %1").arg(i));
    menu.resize(menu.sizeHint());
    const QImage image = menu.grab().toImage();
    const int bands = std::clamp(image.height(), 2, 32);
    const int band_height = image.height() / bands;
    // The first pixel column of the first and last band, inside the margin and left of the word.
    QCOMPARE(QColor(image.pixel(1, 0)), ToQColor(forms::MarginBandColor(0, bands)));
    QCOMPARE(QColor(image.pixel(1, band_height * (bands - 1))), ToQColor(forms::MarginBandColor(bands - 1, bands)));
    QCOMPARE(QColor(image.pixel(1, band_height * (bands - 1))), QColor(53, 48, 33));
    // Some white text is drawn inside the strip.
    bool white = false;
    for (int y = 0; y < image.height() && !white; ++y)
      for (int x = 0; x < forms::kMenuMarginWidth - 3 && !white; ++x) white = QColor(image.pixel(x, y)) == Qt::white;
    QVERIFY(white);
  }

  // No check-mark column: every item's text begins one pixel right of the
  // margin (the leftmost dark pixel of its row, within the glyph's bearing).
  void menuTextBeginsRightOfTheMargin() {
    TformTAVO* w = NewMainWindow();
    TrayMenu& menu = *w->PopupMenu;
    menu.resize(menu.sizeHint());
    const QImage image = menu.grab().toImage();
    for (QAction* action : menu.actions()) {
      if (action->isSeparator()) continue;
      const QRect place = menu.actionGeometry(action);
      int first_ink = image.width();
      for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = forms::kMenuMarginWidth; x < first_ink; ++x)
          if (qGray(image.pixel(x, y)) < 128) first_ink = x;
      QVERIFY2(first_ink >= forms::MenuItemTextLeft() && first_ink <= forms::MenuItemTextLeft() + 2,
               qPrintable(action->text() + QStringLiteral(" begins at x = %1").arg(first_ink)));
    }
  }

  void regionFromPictureRunsAndHoles() {
    QImage picture(6, 2, QImage::Format_Indexed8);
    picture.setColorCount(2);
    picture.setColor(0, qRgb(255, 255, 255));
    picture.setColor(1, qRgb(255, 255, 0));
    const int rows[2][6] = {{0, 1, 1, 0, 1, 1}, {1, 1, 1, 1, 1, 1}};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 6; ++x) picture.setPixel(x, y, static_cast<uint>(rows[y][x]));
    const QRegion region = RegionFromPicture(picture);
    QVERIFY(!region.contains(QPoint(0, 0)));
    QVERIFY(region.contains(QPoint(1, 0)));
    QVERIFY(!region.contains(QPoint(3, 0)));  // a hole from one index-0 pixel
    QVERIFY(region.contains(QPoint(5, 0)));   // a run reaching the right edge
    QVERIFY(region.contains(QPoint(0, 1)) && region.contains(QPoint(5, 1)));
    // A picture without a palette: transparent and white pixels are outside.
    QImage argb(3, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(0, 0, 0, 0));
    argb.setPixel(1, 0, qRgb(10, 20, 30));
    argb.setPixel(2, 0, qRgb(255, 255, 255));
    const QRegion plain = RegionFromPicture(argb);
    QVERIFY(!plain.contains(QPoint(0, 0)) && plain.contains(QPoint(1, 0)) && !plain.contains(QPoint(2, 0)));
  }

  void mainPictureHasItsPinHoles() {
    const QImage picture(QStringLiteral(":/assets/fundo_main.bmp"));
    QCOMPARE(picture.format(), QImage::Format_Indexed8);
    QCOMPARE(picture.size(), QSize(417, 278));
    const QRegion region = RegionFromPicture(picture);
    // Pin-holes: single outside pixels whose four neighbours are inside; each is a hole in the region.
    int holes = 0;
    for (int y = 1; y + 1 < picture.height(); ++y)
      for (int x = 1; x + 1 < picture.width(); ++x)
        if (picture.pixelIndex(x, y) == 0 && picture.pixelIndex(x - 1, y) && picture.pixelIndex(x + 1, y) &&
            picture.pixelIndex(x, y - 1) && picture.pixelIndex(x, y + 1)) {
          ++holes;
          QVERIFY(!region.contains(QPoint(x, y)));
          QVERIFY(region.contains(QPoint(x + 1, y)));
        }
    QCOMPARE(holes, 15);
    QVERIFY(!region.contains(QPoint(0, 0)));  // rounded corner outside
  }

  void clicksOnTheExceptionEdgesRunItsAction() {
    ShapedWindow w(QStringLiteral(":/assets/fundo_main.bmp"));
    int clicks = 0;
    w.AddException(forms::kHideArea, [&] { ++clicks; });
    QCOMPARE(w.WMNCHitTest(QPoint(406, 35)), forms::kHitClient);  // right and bottom edges count
    QCOMPARE(w.WMNCHitTest(QPoint(407, 35)), forms::kHitCaption);
    w.show();
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(406, 35));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(200, 200));  // the free picture drags instead
    QCOMPARE(clicks, 1);
  }

  // Every clickable spot shows the hand; the picture around it the arrow.
  void clickableSpotsShowTheHand() {
    TformTAVO* main = NewMainWindow();
    QWidget* hide = main->childAt(QPoint(395, 24));
    QVERIFY(hide);
    QCOMPARE(hide->cursor().shape(), HandCursor().shape());
    QVERIFY(main->childAt(QPoint(395, 35)));  // the bottom edge belongs to the spot
    QVERIFY(!main->childAt(QPoint(200, 30)) || main->childAt(QPoint(200, 30))->cursor().shape() == Qt::ArrowCursor);
    TformLembrete reminder(store_.app());
    QWidget* corner = reminder.childAt(QPoint(238, 193));
    QVERIFY(corner);
    QCOMPARE(corner->cursor().shape(), HandCursor().shape());
  }

  // A focused flat button keeps its face and shows a dotted outline two
  // pixels inside its edge: the outline's pixels alternate.
  void focusedButtonShowsTheDottedRectangle() {
    QWidget parent;
    TGradBtn button(QStringLiteral("OK"), &parent, ArialFont(13));
    button.setGeometry(0, 0, 88, 21);
    parent.show();
    parent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parent));
    button.setFocus();
    QVERIFY(button.hasFocus());
    const QImage image = button.grab().toImage();
    const QColor face(213, 194, 132);
    const QColor inverted(255 - 213, 255 - 194, 255 - 132);
    QCOMPARE(QColor(image.pixel(2, 2)), inverted);
    QCOMPARE(QColor(image.pixel(3, 2)), face);
    QCOMPARE(QColor(image.pixel(4, 2)), inverted);
    QCOMPARE(QColor(image.pixel(2, 4)), inverted);
    QCOMPARE(QColor(image.pixel(3, 3)), face);  // inside: the face, untinted
    QCOMPARE(QColor(image.pixel(1, 1)), face);  // outside the outline
  }

  void flatButtonAcceleratorClicks() {
    QWidget parent;
    TGradBtn button(QStringLiteral("&Outra..."), &parent, ArialFont(13));
    QSignalSpy spy(&button, &QAbstractButton::clicked);
    parent.show();
    parent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parent));
    QCOMPARE(button.shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    QTest::keyClick(&button, Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(spy.count(), 1);  // the accelerator animates a click
    const QImage image = button.grab().toImage();
    QCOMPARE(QColor(image.pixel(1, button.height() / 2)), QColor(213, 194, 132));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
