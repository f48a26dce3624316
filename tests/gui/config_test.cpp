// The settings window and its colour palette driven through clicks and keys;
// the dialogs answered through the test's hook, the sound folder in a
// temporary program folder. Its rules are tested in
// tests/forms/config_form_test.cpp and palette_and_margin_test.cpp.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/registry.h"
#include "platform/system.h"
#include "qt/color_selector.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/tavo_config.h"
#include "qt/tavo_lembrete.h"
#include "store/config.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

class RecordingPlayer : public platform::WavePlayer {
 public:
  void PlayAsync(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

void Touch(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("RIFF");
}

// With QUELVO_SCREENSHOT_DIR set, keeps a picture of the widget there.
void SaveIfAsked(QWidget* widget, const char* name) {
  const QString folder = qEnvironmentVariable("QUELVO_SCREENSHOT_DIR");
  if (!folder.isEmpty()) widget->grab().save(folder + "/" + name);
}

}  // namespace

class ConfigTest : public QObject {
  Q_OBJECT

 private:
  // The real clock and date order: nothing here depends on them.
  GuiStore store_{{.fixed_clock = false, .fixed_date_order = false}};
  QTemporaryDir elsewhere_;
  RecordingPlayer player_;

  QString Sons() const { return store_.Folder() + "/dados/sons/"; }
  std::string SonsNative() const { return Sons().toStdString(); }

  TformConfig* Open() { return WindowOf<TformConfig>(&store_.app().OpenWindowOnce(forms::WindowKind::Config)); }

  static QStringList Entries(TformConfig* w) {
    QStringList items;
    for (int i = 0; i < w->lbWave->count(); ++i) items << w->lbWave->item(i)->text();
    return items;
  }

  static QString Selected(TformConfig* w) {
    return w->lbWave->currentItem() ? w->lbWave->currentItem()->text() : QString();
  }

  static void ClickEntry(TformConfig* w, const QString& text) {
    const auto found = w->lbWave->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    w->lbWave->scrollToItem(found.first());
    QTest::mouseClick(w->lbWave->viewport(), Qt::LeftButton, {}, w->lbWave->visualItemRect(found.first()).center());
  }

  // The registry value of that name, as raw bytes and type.
  std::optional<platform::RegValue> Stored(const char* name) {
    auto key = store_.registry->Keys.find(kConfigKey);
    if (key == store_.registry->Keys.end()) return std::nullopt;
    auto value = key->second.find(name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
  }

  // Picks a palette swatch (row, column) of a selector with the mouse.
  static void PickSwatch(ColorSelector* selector, int row, int column) {
    QTest::mouseClick(selector, Qt::LeftButton);
    ColorPalette* palette = selector->OpenPalette();
    QVERIFY(palette);
    QTest::mouseClick(palette, Qt::LeftButton, {}, ColorPalette::SwatchRect(row, column).center());
    Flush();
  }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }

  void init() {
    QVERIFY(elsewhere_.isValid());
    QVERIFY(store_.SetUp(QStringLiteral("dados/sons")));
    for (const char* name : {"gongo.wav", "sino.wav", "bipe.wav"}) Touch(Sons() + name);
    player_.played.clear();
    platform::SetSoundForTesting(&player_);
  }

  void cleanup() {
    platform::SetSoundForTesting(nullptr);
    store_.TearDown();
  }

  // --- the window as it opens -------------------------------------------

  void defaultsShowGongoTheBoxOnAndBlackOnYellow() {
    TformConfig* w = Open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    QCOMPARE(w->size(), QSize(417, 278));
    QCOMPARE(Entries(w), (QStringList{"bipe", "gongo", "sino", "[Outro som...]"}));
    QCOMPARE(Selected(w), QStringLiteral("gongo"));
    QCOMPARE(w->lbWave->visualItemRect(w->lbWave->item(0)).height(), 13);
    QVERIFY(w->cbInfo->isChecked());
    QCOMPARE(w->csFront->Color(), 0);
    QCOMPARE(w->csBack->Color(), 65535);
    QCOMPARE(w->mExemplo->toPlainText(), QStringLiteral("Exemplo de janela do \nQuelvo 3"));
    QVERIFY(w->mExemplo->isReadOnly());
    QCOMPARE(w->mExemplo->palette().color(QPalette::Text), QColor(0, 0, 0));
    QCOMPARE(w->mExemplo->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(w->bOuvir->text(), QStringLiteral("Testar"));
    QCOMPARE(w->bOK->size(), QSize(93, 28));
    QCOMPARE(w->lbInfo->text(), QStringLiteral("Exibir informações adicionais na janela de lembretes"));
    QVERIFY(store_.registry->Keys.empty());
    SaveIfAsked(w, "configuracoes.png");
  }

  void opensWithTheFocusOnCancelar() {
    TformConfig* w = Open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->bCancel));
  }

  // --- choosing and hearing the sound ----------------------------------------

  void clicksAndKeyboardMovesChooseTheSound() {
    TformConfig* w = Open();
    ClickEntry(w, "sino");
    QCOMPARE(w->form.EditedConfig.WaveFile, SonsNative() + "sino.wav");
    w->lbWave->setFocus();
    QTest::keyClick(w->lbWave, Qt::Key_Up);
    QCOMPARE(Selected(w), QStringLiteral("gongo"));
    QCOMPARE(w->form.EditedConfig.WaveFile, SonsNative() + "gongo.wav");
    QCOMPARE(store_.file_dialogs, 0);
  }

  void otherSoundComesFromTheOpenDialogAndTestarPlaysIt() {
    const QString outside = elsewhere_.path() + "/trompete.wav";
    Touch(outside);
    store_.files = {outside};
    TformConfig* w = Open();
    ClickEntry(w, "[Outro som...]");
    QCOMPARE(store_.file_dialogs, 1);
    QCOMPARE(Entries(w).size(), 4);  // the chosen file is not added
    QTest::mouseClick(w->bOuvir, Qt::LeftButton);
    QCOMPARE(player_.played, std::vector<std::string>{outside.toStdString()});
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    QCOMPARE(store_.store().Config.WaveFile, outside.toStdString());
  }

  // --- confirming and cancelling -------------------------------------------

  void okWritesTheChosenColoursSoundAndOption() {
    TformConfig* w = Open();
    QPointer<TformConfig> alive(w);
    PickSwatch(w->csFront, 2, 1);  // red
    PickSwatch(w->csBack, 5, 2);   // sky blue
    ClickEntry(w, "bipe");
    QTest::mouseClick(w->cbInfo, Qt::LeftButton);
    QCOMPARE(w->mExemplo->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w->mExemplo->palette().color(QPalette::Base), QColor(166, 202, 240));
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    Flush();
    QVERIFY(!alive);
    const int32_t red = 0x0000FF, sky = 0xF0CAA6;
    QCOMPARE(store_.store().Config.FrontColor, red);
    QCOMPARE(store_.store().Config.BackColor, sky);
    QCOMPARE(store_.store().Config.WaveFile, SonsNative() + "bipe.wav");
    QCOMPARE(store_.store().Config.ShowInfo, false);
    QCOMPARE(Stored("FrontColor")->Data, platform::RegValue::Dword(red).Data);
    QCOMPARE(Stored("ShowInfo")->Data, platform::RegValue::Dword(0).Data);
  }

  void cancelAndTheCloseSpotChangeNothing() {
    const TConfig before = store_.store().Config;
    for (bool use_hide_spot : {false, true}) {
      TformConfig* w = Open();
      QPointer<TformConfig> alive(w);
      PickSwatch(w->csFront, 4, 1);
      ClickEntry(w, "sino");
      QTest::mouseClick(w->cbInfo, Qt::LeftButton);
      if (use_hide_spot) QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(395, 24));
      else QTest::mouseClick(w->bCancel, Qt::LeftButton);
      Flush();
      QVERIFY(!alive);
      QCOMPARE(store_.store().Config.FrontColor, before.FrontColor);
      QCOMPARE(store_.store().Config.WaveFile, before.WaveFile);
      QCOMPARE(store_.store().Config.ShowInfo, before.ShowInfo);
      QVERIFY(store_.registry->Keys.empty());
    }
  }

  void clickingTheLabelTogglesTheBox() {
    TformConfig* w = Open();
    QTest::mouseClick(w->lbInfo, Qt::LeftButton, {}, QPoint(40, 7));
    QVERIFY(!w->cbInfo->isChecked());
    QCOMPARE(w->form.EditedConfig.ShowInfo, false);
    QTest::mouseClick(w->lbInfo, Qt::LeftButton, {}, QPoint(200, 7));
    QVERIFY(w->cbInfo->isChecked());
    QCOMPARE(w->form.EditedConfig.ShowInfo, true);
    QTest::mouseClick(w->cbInfo, Qt::LeftButton);
    QCOMPARE(w->form.EditedConfig.ShowInfo, false);
    // A click on the window beside the label does not toggle.
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(360, 204));
    QCOMPARE(w->form.EditedConfig.ShowInfo, false);
  }

  void secondOpenBringsTheWindowForward() {
    TformConfig* first = Open();
    store_.desktop().CreateWindow(forms::WindowKind::Lembrete).View().BringToFront();
    TformConfig* second = Open();
    QCOMPARE(second, first);
    QCOMPARE(store_.Windows<TformConfig>().size(), size_t{1});
    QVERIFY(first->isActiveWindow() || first->isVisible());
  }

  // --- the colour selector and its palette ------------------------------------

  void paletteShowsTheTwentyColoursAtTheirSquares() {
    static const int kExpected[5][4][3] = {
        {{255, 255, 255}, {0, 0, 0}, {192, 192, 192}, {128, 128, 128}},
        {{255, 0, 0}, {128, 0, 0}, {255, 255, 0}, {128, 128, 0}},
        {{0, 255, 0}, {0, 128, 0}, {0, 255, 255}, {0, 128, 128}},
        {{0, 0, 255}, {0, 0, 128}, {255, 0, 255}, {128, 0, 128}},
        {{192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164}},
    };
    TformConfig* w = Open();
    QTest::mouseClick(w->csBack, Qt::LeftButton);
    ColorPalette* palette = w->csBack->OpenPalette();
    QVERIFY(palette);
    QCOMPARE(palette->size(), QSize(78, 120));
    QVERIFY(palette->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(palette->pos(), w->csBack->mapToGlobal(QPoint(0, w->csBack->height())));
    const QImage image = palette->grab().toImage();
    SaveIfAsked(palette, "paleta.png");
    for (int i = 1; i <= 5; ++i) {
      for (int j = 1; j <= 4; ++j) {
        const QPoint centre(18 * j - 6, 18 * i - 6);
        const int* rgb = kExpected[i - 1][j - 1];
        QCOMPARE(QColor(image.pixel(centre)), QColor(rgb[0], rgb[1], rgb[2]));
        // The swatch's fill starts 2 pixels inside its 16-pixel square.
        QCOMPARE(QColor(image.pixel(18 * j - 12, 18 * i - 12)), QColor(rgb[0], rgb[1], rgb[2]));
      }
    }
    // Yellow (row 2, column 3) is current: marked black, white, black from
    // one pixel outside its square inwards; no extra swatch.
    const QRect yellow = ColorPalette::SwatchRect(2, 3);
    QCOMPARE(QColor(image.pixel(yellow.topLeft() - QPoint(1, 1))), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(yellow.topLeft())), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(yellow.topLeft() + QPoint(1, 1))), QColor(Qt::black));
    QVERIFY(!palette->HasExtra());
    QCOMPARE(palette->OtherRect(), QRect(QPoint(3, 99), QPoint(74, 116)));
  }

  void colourOutsideTheTableGetsTheExtraSwatch() {
    store_.store().Config.FrontColor = 0x123456;
    TformConfig* w = Open();
    QTest::mouseClick(w->csFront, Qt::LeftButton);
    ColorPalette* palette = w->csFront->OpenPalette();
    QVERIFY(palette && palette->HasExtra());
    const QImage image = palette->grab().toImage();
    QCOMPARE(QColor(image.pixel(ColorPalette::ExtraRect().center())), ColorFromValue(0x123456));
  }

  void markFollowsTheMouseAndOnlyANewColourIsAnnounced() {
    TformConfig* w = Open();
    QSignalSpy changed(w->csFront, &ColorSelector::ColorChanged);
    QTest::mouseClick(w->csFront, Qt::LeftButton);
    ColorPalette* palette = w->csFront->OpenPalette();
    QCOMPARE(palette->Marked(), 1);  // black
    QTest::mouseMove(palette, ColorPalette::SwatchRect(3, 4).center());
    QCOMPARE(palette->Marked(), 11);
    const QImage image = palette->grab().toImage();
    QCOMPARE(QColor(image.pixel(ColorPalette::SwatchRect(3, 4).topLeft())), QColor(Qt::white));

    // Picking the current colour again raises nothing and closes the palette.
    QTest::mouseClick(palette, Qt::LeftButton, {}, ColorPalette::SwatchRect(1, 2).center());
    Flush();
    QVERIFY(!w->csFront->OpenPalette());
    QCOMPARE(changed.count(), 0);

    PickSwatch(w->csFront, 3, 4);  // teal
    QCOMPARE(changed.count(), 1);
    QCOMPARE(w->csFront->Color(), 0x808000);
    QCOMPARE(w->form.EditedConfig.FrontColor, 0x808000);

    // Setting the colour from the program raises nothing.
    w->csFront->SetColor(0xFF);
    QCOMPARE(changed.count(), 1);
  }

  void otherOpensTheColourDialogPresetToTheCurrentColour() {
    TformConfig* w = Open();
    QSignalSpy changed(w->csBack, &ColorSelector::ColorChanged);
    QColor preset;
    QColor answer = QColor(10, 20, 30);
    store_.color = [&](const QColor& initial) {
      preset = initial;
      return answer;
    };
    QTest::mouseClick(w->csBack, Qt::LeftButton);
    QTest::mouseClick(w->csBack->OpenPalette(), Qt::LeftButton, {}, QPoint(30, 108));
    QTRY_VERIFY(preset.isValid());
    QCOMPARE(preset, QColor(255, 255, 0));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(w->form.EditedConfig.BackColor, ValueFromColor(QColor(10, 20, 30)));
    QCOMPARE(w->mExemplo->palette().color(QPalette::Base), QColor(10, 20, 30));

    // Cancelling the dialog changes nothing.
    answer = QColor();
    preset = QColor();
    QTest::mouseClick(w->csBack, Qt::LeftButton);
    QTest::mouseClick(w->csBack->OpenPalette(), Qt::LeftButton, {}, QPoint(30, 108));
    QTRY_VERIFY(preset.isValid());
    QCOMPARE(changed.count(), 1);
  }
};

QTEST_MAIN(ConfigTest)
#include "config_test.moc"
