// The main window, the tray menu and the window shaping, driven for real.

#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QtTest>

#include "qt/app_state.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "qt/shaped_window.h"
#include "qt/tavo_main.h"
#include "qt/tray_menu.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/tavo_data.h"
#include "qt/tavo_lembrete.h"

using namespace tavo;
using namespace tavo::gui;

class MainWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  platform::MemoryRegistry registry_;
  QStringList boxes_;
  QMessageBox::StandardButton answer_ = QMessageBox::No;

  TformTAVO* NewMainWindow(std::vector<std::string> args = {}) {
    auto* w = new TformTAVO(std::move(args));
    w->show();
    for (int i = 0; i < 100 && !w->FirstActivationDone(); ++i) QTest::qWait(10);
    return w;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("dados/datas"));
    platform::SetProgramFolderForTesting(dir_.path().toStdString());
    platform::SetRegistryForTesting(&registry_);
    const auto order = platform::DateOrder::DayMonthYear;
    platform::SetDateOrderForTesting(&order);
    OpenStore();
    SetBoxAnswerer([this](const QString& text, BoxIcon) {
      boxes_ << text;
      return answer_;
    });
  }

  void init() { boxes_.clear(); }

  void missingCalendarFileIsReportedAndTheTimerStillStarts() {
    TformTAVO* w = NewMainWindow();
    QCOMPARE(boxes_.size(), 2);
    QVERIFY(boxes_[0].startsWith(QStringLiteral("Cannot open file ")));
    QVERIFY(boxes_[0].endsWith(QStringLiteral("santos.txt.")));
    QVERIFY(w->timerCheca.isActive());
    QCOMPARE(w->timerCheca.interval(), 10000);
    QCOMPARE(w->LastCheckedMinute, -1);
    delete w;
  }

  void minimizeSwitchHidesOnlyAsTheOnlyArgument() {
    struct Case {
      std::vector<std::string> args;
      bool shown;
    };
    const Case cases[] = {{{}, true}, {{"minimize"}, false}, {{"MiNiMiZe"}, false},
                          {{"MINIMIZE", "x"}, true}, {{"outro"}, true}};
    for (const Case& c : cases) {
      TformTAVO* w = NewMainWindow(c.args);
      QCOMPARE(MainWindowShown, c.shown);
      if (QSystemTrayIcon::isSystemTrayAvailable()) QCOMPARE(w->isVisible(), c.shown);
      delete w;
    }
  }

  void closeRequestHidesAndConfirmationEnds() {
    TformTAVO* w = NewMainWindow();
    QVERIFY(!w->close());  // Alt+F4 or the taskbar's close: hidden, not closed
    QVERIFY(!MainWindowShown);
    QVERIFY(!w->ShuttingDown);

    answer_ = QMessageBox::No;
    w->bFechaClick();
    QCOMPARE(boxes_.last(), QStringLiteral("Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. "
                                           "Tem certeza de que deseja encerrar o programa?"));
    QVERIFY(!w->ShuttingDown);

    answer_ = QMessageBox::Yes;
    w->bFechaClick();
    QVERIFY(w->ShuttingDown);
    answer_ = QMessageBox::No;
    delete w;
  }

  void sessionEndSetsShuttingDownSoCloseEnds() {
    TformTAVO* w = NewMainWindow();
    w->WMQueryEndSession();
    QVERIFY(w->ShuttingDown);
    QVERIFY(ShuttingDown());
    const int before = boxes_.size();
    QVERIFY(w->close());  // no confirmation any more
    QCOMPARE(boxes_.size(), before);
    delete w;
  }

  void newReminderClicksOpenIndependentWindows() {
    TformTAVO* w = NewMainWindow();
    w->bNovoClick();
    w->bNovoClick();
    QCOMPARE(OwnedWindows().size(), size_t{3});
    CloseReminderWindows();
    QTRY_COMPARE(OwnedWindows().size(), size_t{1});
    delete w;
  }

  void hidingWithAnotherWindowOpenDoesNotMinimiseUntilItCloses() {
    TformTAVO* w = NewMainWindow();
    RestoreApplication();
    w->bNovoClick();
    w->bHideClick();
    QVERIFY(!ApplicationMinimized());
    CloseReminderWindows();
    QTRY_VERIFY(ApplicationMinimized());
    w->pmJanelaClick();
    QVERIFY(MainWindowShown);
    QVERIFY(!ApplicationMinimized());
    delete w;
  }

  void menuItemsInOrderWithTheNewReminderAsDefault() {
    TformTAVO* w = NewMainWindow();
    QStringList texts;
    for (QAction* a : w->PopupMenu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"&Novo Lembrete", "&Ler / Alterar Lembretes", "-", "Gravar Backup dos Lembretes",
                                 "Restaurar Backup dos Lembretes", "-", "Exibir Menu Principal", "&Configurações", "-",
                                 "&Encerrar o Programa"}));
    QCOMPARE(w->PopupMenu->defaultAction(), w->PopupMenu->actions().first());
    // A double click on the icon runs the default item: a new reminder window.
    w->PopupMenu->RunDefaultItem();
    QCOMPARE(OwnedWindows().size(), size_t{2});
    QVERIFY(qobject_cast<TformLembrete*>(OwnedWindows().back()));
    CloseReminderWindows();
    QTRY_COMPARE(OwnedWindows().size(), size_t{1});
    delete w;
  }

  void marginGradientReadBackFromTheRenderedMenu() {
    QCOMPARE(MarginEndColor(), QColor(53, 48, 33));
    TrayMenu menu;
    for (int i = 0; i < 8; ++i) menu.addAction(QStringLiteral("Item %1").arg(i));
    menu.resize(menu.sizeHint());
    const QImage image = menu.grab().toImage();
    const int bands = std::clamp(image.height(), 2, 32);
    const int band_height = image.height() / bands;
    // The first pixel column of the first and last band, inside the margin and left of the word.
    QCOMPARE(QColor(image.pixel(1, 0)), MarginBandColor(0, bands));
    QCOMPARE(QColor(image.pixel(1, band_height * (bands - 1))), MarginBandColor(bands - 1, bands));
    QCOMPARE(MarginBandColor(0, bands), MarginStartColor());
    QCOMPARE(MarginBandColor(bands - 1, bands), MarginEndColor());
    // Some white text is drawn inside the strip.
    bool white = false;
    for (int y = 0; y < image.height() && !white; ++y)
      for (int x = 0; x < kMenuMarginWidth - 3 && !white; ++x) white = QColor(image.pixel(x, y)) == Qt::white;
    QVERIFY(white);
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

  void hitRuleIncludesTheExceptionEdges() {
    ShapedWindow w(QStringLiteral(":/assets/fundo_main.bmp"));
    int clicks = 0;
    w.AddException(QRect(384, 13, 22, 22), [&] { ++clicks; });
    QCOMPARE(w.WMNCHitTest(QPoint(384, 13)), int{kHitClient});
    QCOMPARE(w.WMNCHitTest(QPoint(406, 35)), int{kHitClient});  // right and bottom edges count
    QCOMPARE(w.WMNCHitTest(QPoint(407, 35)), int{kHitCaption});
    QCOMPARE(w.WMNCHitTest(QPoint(383, 20)), int{kHitCaption});
    QCOMPARE(w.WMNCHitTest(QPoint(200, 200)), int{kHitCaption});
    w.show();
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(406, 35));
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
    TformLembrete reminder;
    QWidget* corner = reminder.childAt(QPoint(238, 193));
    QVERIFY(corner);
    QCOMPARE(corner->cursor().shape(), HandCursor().shape());
    delete main;
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
