// The settings window and its colour palette driven through their real
// controls, and the backup and restore commands with their boxes answered by
// the test; the store and the sound folder live in a temporary program folder.

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
#include <deque>
#include <fstream>
#include <iterator>

#include "qt/app_state.h"
#include "qt/backup_commands.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/backup.h"
#include "store/config.h"
#include "store/date_time.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"
#include "qt/color_selector.h"
#include "qt/tavo_config.h"
#include "qt/tavo_lembrete.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

class RecordingPlayer : public platform::WavePlayer {
 public:
  void PlayAsync(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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

TLembrete Make(double when, const std::string& text) {
  TLembrete r;
  r.DateTime = when;
  r.Text = text;
  return r;
}

}  // namespace

class ConfigTest : public QObject {
  Q_OBJECT

 private:
  // The real clock and date order: nothing here depends on them.
  GuiStore store_{{.fixed_clock = false, .fixed_date_order = false}};
  QTemporaryDir elsewhere_;
  RecordingPlayer player_;
  std::deque<QString> chosen_files_;
  int dialogs_asked_ = 0;

  QString Sons() const { return store_.Folder() + "/dados/sons/"; }
  std::string SonsNative() const { return Sons().toStdString(); }

  static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  TformConfig* Open() {
    auto* w = OpenWindowOnce<TformConfig>();
    return w;
  }

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

  // A backup file of these texts, made through the store; the store is emptied again.
  QString MakeBackup(const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i)
      AddLembrete(Make(EncodeDate(2024, 7, 1 + static_cast<int>(i)) + EncodeTime(9, 0), texts[i]));
    const QString path = elsewhere_.path() + "/copia.tvb";
    if (WriteBackup(path.toStdString()) != BackupResult::Done) return {};
    for (const char* name : {"/dados/tavodb.idx", "/dados/tavodb.dat"}) QFile(store_.Folder() + name).resize(0);
    SetEntryCount(Lembretes, 0);
    OpenStore();
    return path;
  }

  std::string IndexBytes() const { return ReadFile(store_.Folder() + "/dados/tavodb.idx"); }
  std::string DataBytes() const { return ReadFile(store_.Folder() + "/dados/tavodb.dat"); }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }

  void init() {
    QVERIFY(elsewhere_.isValid());
    QVERIFY(store_.SetUp(QStringLiteral("dados/sons")));
    for (const char* name : {"gongo.wav", "sino.wav", "bipe.wav"}) Touch(Sons() + name);
    player_.played.clear();
    platform::SetSoundForTesting(&player_);
    chosen_files_.clear();
    dialogs_asked_ = 0;
    auto answer = [this] {
      ++dialogs_asked_;
      if (chosen_files_.empty()) return QString();
      const QString path = chosen_files_.front();
      chosen_files_.pop_front();
      return path;
    };
    TformConfig::SetOpenDialogAnswer(answer);
    SetFileDialogAnswer(answer);
  }

  void cleanup() {
    TformConfig::SetOpenDialogAnswer({});
    SetFileDialogAnswer({});
    ColorSelector::SetColorDialogAnswer({});
    platform::SetSoundForTesting(nullptr);
    store_.TearDown();
  }

  // --- the window as it opens -------------------------------------------

  void defaultsSelectGongoWithTheBoxOnAndBlackOnYellow() {
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
    // Opening the window writes nothing.
    QVERIFY(store_.registry->Keys.empty());
    SaveIfAsked(w, "configuracoes.png");
  }

  void opensWithTheFocusOnCancelar() {
    TformConfig* w = Open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->bCancel));
  }

  void emptySoundFolderOffersOnlyTheOtherEntry() {
    QDir(Sons()).removeRecursively();
    TformConfig* w = Open();
    QCOMPARE(Entries(w), QStringList{"[Outro som...]"});
    QCOMPARE(Selected(w), QStringLiteral("[Outro som...]"));
  }

  void capitalExtensionIsListedBareAndAddressedByAnExistingName() {
    Touch(Sons() + "ALARME.WAV");
    Touch(Sons() + "Campainha.Wav");
    Touch(Sons() + "notas.txt");
    TformConfig* w = Open();
    QCOMPARE(Entries(w), (QStringList{"ALARME", "bipe", "Campainha", "gongo", "sino", "[Outro som...]"}));
    ClickEntry(w, "ALARME");
    // "ALARME.wav" does not exist on a case-sensitive file system: the real name is kept.
    const std::string small = SonsNative() + "ALARME.wav";
    QCOMPARE(w->EditedConfig.WaveFile, platform::Files().Exists(small) ? small : SonsNative() + "ALARME.WAV");
    ClickEntry(w, "sino");
    QCOMPARE(w->EditedConfig.WaveFile, SonsNative() + "sino.wav");
  }

  void keyboardMovesChooseTheSound() {
    TformConfig* w = Open();
    w->lbWave->setFocus();
    QTest::keyClick(w->lbWave, Qt::Key_Down);
    QCOMPARE(Selected(w), QStringLiteral("sino"));
    QCOMPARE(w->EditedConfig.WaveFile, SonsNative() + "sino.wav");
    QCOMPARE(dialogs_asked_, 0);
  }

  // --- choosing another sound ---------------------------------------------

  void soundFromAnotherFolderSelectsOtherNextTime() {
    const QString outside = elsewhere_.path() + "/trompete.wav";
    Touch(outside);
    chosen_files_ = {outside};
    TformConfig* w = Open();
    ClickEntry(w, "[Outro som...]");
    QCOMPARE(dialogs_asked_, 1);
    QCOMPARE(w->EditedConfig.WaveFile, outside.toStdString());
    QCOMPARE(Entries(w).size(), 4);  // the chosen file is not added
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    Flush();

    w = Open();
    QCOMPARE(Selected(w), QStringLiteral("[Outro som...]"));
    QTest::mouseClick(w->bOuvir, Qt::LeftButton);
    QCOMPARE(player_.played, std::vector<std::string>{outside.toStdString()});
  }

  void soundElsewhereWithAFolderNameSelectsThatEntry() {
    Config.WaveFile = elsewhere_.path().toStdString() + "/SINO.WAV";
    TformConfig* w = Open();
    QCOMPARE(Selected(w), QStringLiteral("sino"));
  }

  void cancellingTheOpenDialogMeansNoSound() {
    TformConfig* w = Open();
    ClickEntry(w, "[Outro som...]");
    QCOMPARE(dialogs_asked_, 1);
    QVERIFY(w->EditedConfig.WaveFile.empty());
    QTest::mouseClick(w->bOuvir, Qt::LeftButton);
    QVERIFY(player_.played.empty());
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    QVERIFY(Config.WaveFile.empty());
    QCOMPARE(Stored("WaveFile")->Data, platform::RegValue::String("").Data);
  }

  void testPlaysTheChosenFileOnlyWhenItExists() {
    TformConfig* w = Open();
    QTest::mouseClick(w->bOuvir, Qt::LeftButton);
    QCOMPARE(player_.played, std::vector<std::string>{SonsNative() + "gongo.wav"});
    QFile::remove(Sons() + "sino.wav");
    ClickEntry(w, "sino");
    QTest::mouseClick(w->bOuvir, Qt::LeftButton);
    QCOMPARE(player_.played.size(), size_t{1});
  }

  // --- confirming and cancelling -------------------------------------------

  void okWritesAllFourValuesAlsoUnchangedOnesAndConfig() {
    TformConfig* w = Open();
    QPointer<TformConfig> alive(w);
    PickSwatch(w->csFront, 2, 1);  // red
    PickSwatch(w->csBack, 5, 2);   // sky blue
    ClickEntry(w, "bipe");
    QCOMPARE(w->mExemplo->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w->mExemplo->palette().color(QPalette::Base), QColor(166, 202, 240));
    QTest::mouseClick(w->bOK, Qt::LeftButton);
    Flush();
    QVERIFY(!alive);

    const int32_t red = 0x0000FF, sky = 0xF0CAA6;
    QCOMPARE(Config.FrontColor, red);
    QCOMPARE(Config.BackColor, sky);
    QCOMPARE(Config.WaveFile, SonsNative() + "bipe.wav");
    QCOMPARE(Config.ShowInfo, true);
    QCOMPARE(Stored("FrontColor")->Data, platform::RegValue::Dword(red).Data);
    QCOMPARE(Stored("FrontColor")->Type, uint32_t{platform::kRegDword});
    QCOMPARE(Stored("BackColor")->Data, platform::RegValue::Dword(sky).Data);
    QCOMPARE(Stored("WaveFile")->Data, platform::RegValue::String(SonsNative() + "bipe.wav").Data);
    QCOMPARE(Stored("WaveFile")->Type, uint32_t{platform::kRegSz});
    // Written although left as it was.
    QCOMPARE(Stored("ShowInfo")->Data, platform::RegValue::Dword(1).Data);
  }

  void cancelAndTheCloseSpotChangeNothing() {
    const TConfig before = Config;
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
      QCOMPARE(Config.FrontColor, before.FrontColor);
      QCOMPARE(Config.WaveFile, before.WaveFile);
      QCOMPARE(Config.ShowInfo, before.ShowInfo);
      QVERIFY(store_.registry->Keys.empty());
    }
  }

  void clickingTheLabelTogglesTheBox() {
    TformConfig* w = Open();
    QTest::mouseClick(w->lbInfo, Qt::LeftButton, {}, QPoint(40, 7));
    QVERIFY(!w->cbInfo->isChecked());
    QCOMPARE(w->EditedConfig.ShowInfo, false);
    QTest::mouseClick(w->lbInfo, Qt::LeftButton, {}, QPoint(200, 7));
    QVERIFY(w->cbInfo->isChecked());
    QCOMPARE(w->EditedConfig.ShowInfo, true);
    QTest::mouseClick(w->cbInfo, Qt::LeftButton);
    QCOMPARE(w->EditedConfig.ShowInfo, false);
    // A click on the window beside the label does not toggle.
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(360, 204));
    QCOMPARE(w->EditedConfig.ShowInfo, false);
  }

  void secondOpenBringsTheWindowForward() {
    TformConfig* first = Open();
    auto* other = new TformLembrete();
    other->show();
    TformConfig* second = Open();
    QCOMPARE(second, first);
    int count = 0;
    for (QWidget* w : OwnedWindows()) count += qobject_cast<TformConfig*>(w) ? 1 : 0;
    QCOMPARE(count, 1);
    QVERIFY(first->isVisible());
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
    Config.FrontColor = 0x123456;
    TformConfig* w = Open();
    QTest::mouseClick(w->csFront, Qt::LeftButton);
    ColorPalette* palette = w->csFront->OpenPalette();
    QVERIFY(palette && palette->HasExtra());
    QCOMPARE(palette->Marked(), int{ColorPalette::kExtra});
    QCOMPARE(palette->OtherRect().right(), 55);
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
    QCOMPARE(w->EditedConfig.FrontColor, 0x808000);

    // Setting the colour from the program raises nothing.
    w->csFront->SetColor(0xFF);
    QCOMPARE(changed.count(), 1);
  }

  void otherOpensTheColourDialogPresetToTheCurrentColour() {
    TformConfig* w = Open();
    QSignalSpy changed(w->csBack, &ColorSelector::ColorChanged);
    QColor preset;
    QColor answer = QColor(10, 20, 30);
    ColorSelector::SetColorDialogAnswer([&](const QColor& initial) {
      preset = initial;
      return answer;
    });
    QTest::mouseClick(w->csBack, Qt::LeftButton);
    QTest::mouseClick(w->csBack->OpenPalette(), Qt::LeftButton, {}, QPoint(30, 108));
    QTRY_VERIFY(preset.isValid());
    QCOMPARE(preset, QColor(255, 255, 0));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(w->EditedConfig.BackColor, ValueFromColor(QColor(10, 20, 30)));
    QCOMPARE(w->mExemplo->palette().color(QPalette::Base), QColor(10, 20, 30));

    // Cancelling the dialog changes nothing.
    answer = QColor();
    preset = QColor();
    QTest::mouseClick(w->csBack, Qt::LeftButton);
    QTest::mouseClick(w->csBack->OpenPalette(), Qt::LeftButton, {}, QPoint(30, 108));
    QTRY_VERIFY(preset.isValid());
    QCOMPARE(changed.count(), 1);
  }

  // --- backup and restore commands ----------------------------------------------

  void backupOfAnEmptyStoreShowsOnlyTheMessage() {
    DoBackup(nullptr);
    QCOMPARE(dialogs_asked_, 0);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Não há lembretes armazenados. O backup não é necessário"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Information);
  }

  void backupWritesTheChosenFileOrReportsFailure() {
    AddLembrete(Make(EncodeDate(2024, 7, 1), "um"));
    const QString path = elsewhere_.path() + "/novo.tvb";
    chosen_files_ = {path, elsewhere_.path() + "/sem/pasta.tvb"};
    DoBackup(nullptr);
    QVERIFY(store_.boxes.empty());
    QCOMPARE(ReadFile(path).substr(0, 7), std::string("TAVOBKP"));
    DoBackup(nullptr);
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Erro ao salvar backup. Tente novamente"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Error);
  }

  void restoreIntoAnEmptyStoreAsksNothing() {
    const QString path = MakeBackup({"um", "dois", "três"});
    QVERIFY(!path.isEmpty());
    QCOMPARE(Lembretes.Count, 0);
    chosen_files_ = {path};
    RestoreBackup(nullptr);
    QVERIFY(store_.boxes.empty());
    QCOMPARE(Lembretes.Count, 3);
  }

  void answeringNoChangesNothingAndKeepsReminderWindows() {
    const QString path = MakeBackup({"um", "dois"});
    AddLembrete(Make(EncodeDate(2025, 1, 1), "fica"));
    const std::string index = IndexBytes(), data = DataBytes();
    QPointer<TformLembrete> open_window(new TformLembrete());
    open_window->show();
    chosen_files_ = {path};
    store_.answers = {QMessageBox::No};
    RestoreBackup(nullptr);
    Flush();
    QCOMPARE(store_.boxes.size(), size_t{1});
    QCOMPARE(store_.boxes[0].text, QStringLiteral("Deseja substituir os lembretes já cadastrados pelo conteúdo do backup?"));
    QCOMPARE(store_.boxes[0].icon, BoxIcon::Information);
    QCOMPARE(IndexBytes(), index);
    QCOMPARE(DataBytes(), data);
    QCOMPARE(Lembretes.Count, 1);
    QVERIFY(open_window && open_window->isVisible());
  }

  void answeringYesClosesReminderWindowsAndReplaces() {
    const QString path = MakeBackup({"um", "dois"});
    AddLembrete(Make(EncodeDate(2025, 1, 1), "sai"));
    int refreshes = 0;
    Hooks().RefreshList = [&] { ++refreshes; };
    QPointer<TformLembrete> open_window(new TformLembrete());
    open_window->show();
    chosen_files_ = {path};
    store_.answers = {QMessageBox::Yes};
    RestoreBackup(nullptr);
    Flush();
    QCOMPARE(store_.boxes.size(), size_t{1});
    QVERIFY(!open_window);
    QCOMPARE(Lembretes.Count, 2);
    QCOMPARE(refreshes, 1);
  }

  void invalidFileShowsTheMessageAndKeepsTheFiles() {
    AddLembrete(Make(EncodeDate(2025, 1, 1), "fica"));
    const std::string index = IndexBytes(), data = DataBytes();
    const QString path = elsewhere_.path() + "/ruim.tvb";
    {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("TAVOBKP\x28\x00\x00\x00", 11);  // an index section that never comes
    }
    chosen_files_ = {path};
    store_.answers = {QMessageBox::Yes};
    RestoreBackup(nullptr);
    QCOMPARE(store_.boxes.size(), size_t{2});
    QCOMPARE(store_.boxes[1].text, QStringLiteral("Erro ao importar backup. Arquivo inválido"));
    QCOMPARE(store_.boxes[1].icon, BoxIcon::Error);
    QCOMPARE(IndexBytes(), index);
    QCOMPARE(DataBytes(), data);
  }

};

QTEST_MAIN(ConfigTest)
#include "config_test.moc"
