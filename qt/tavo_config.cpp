#include "qt/tavo_config.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/tavo_data.h"
#include "qt/color_selector.h"

namespace tavo::gui {
namespace {

std::function<QString()>& OpenDialogAnswer() {
  static std::function<QString()> answer;
  return answer;
}

QLabel* PlainLabel(const QString& text, QWidget* parent, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setFont(SansSerifFont(11));
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(pal);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setGeometry(geometry);
  return label;
}

// The sound list: a click runs its handler, and so does moving the selection
// with the keyboard (but not selecting from the program).
class WaveListBox : public QListWidget {
 public:
  WaveListBox(QWidget* parent, std::function<void()> on_click) : QListWidget(parent), on_click_(std::move(on_click)) {
    connect(this, &QListWidget::itemClicked, this, [this] { on_click_(); });
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) on_click_();
  }

 private:
  std::function<void()> on_click_;
};

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromNative(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The file-name part of a path: after the last separator of either kind.
QString FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return FromNative(cut == std::string::npos ? path : path.substr(cut + 1));
}

}  // namespace

void TformConfig::SetOpenDialogAnswer(std::function<QString()> answer) { OpenDialogAnswer() = std::move(answer); }

std::string TformConfig::SoundFolder() {
  return AppDir + "dados" + platform::kPathSeparator + "sons" + platform::kPathSeparator;
}

TformConfig::TformConfig() : SecondaryWindow(QStringLiteral(":/assets/fundo_config.bmp")) {
  setWindowTitle(kAppTitle);
  setFixedSize(kWidth, kHeight);
  setFont(SansSerifFont(11));

  // iHide: the close spot over the drawn close symbol.
  const QRect hide_area(384, 13, 22, 22);
  AddException(hide_area, [this] { iHideClick(); });

  Label1 = PlainLabel(QStringLiteral("Cor do Texto"), this, QRect(44, 58, 68, 14));
  Label2 = PlainLabel(QStringLiteral("Cor do Fundo"), this, QRect(116, 58, 68, 14));
  Label3 = PlainLabel(QStringLiteral("Som do Alarme"), this, QRect(204, 58, 80, 14));

  csFront = new ColorSelector(this);
  csFront->setGeometry(44, 74, 62, 21);
  connect(csFront, &ColorSelector::ColorChanged, this, &TformConfig::csFrontChangeColor);
  csBack = new ColorSelector(this);
  csBack->setGeometry(116, 74, 62, 21);
  connect(csBack, &ColorSelector::ColorChanged, this, &TformConfig::csBackChangeColor);

  mExemplo = new QPlainTextEdit(this);
  mExemplo->setGeometry(44, 103, 134, 80);
  mExemplo->setReadOnly(true);
  mExemplo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setFont(SansSerifFont(11));
  mExemplo->setPlainText(QStringLiteral("Exemplo de janela do \nQuelvo 3"));

  lbWave = new WaveListBox(this, [this] { lbWaveClick(); });
  lbWave->setGeometry(204, 74, 198, 81);
  lbWave->setFont(SansSerifFont(11));
  lbWave->setCursor(HandCursor());
  lbWave->setUniformItemSizes(true);
  lbWave->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; padding: 0px; }"));

  bOuvir = new QPushButton(QStringLiteral("Testar"), this);
  bOuvir->setGeometry(328, 162, 74, 21);
  connect(bOuvir, &QPushButton::clicked, this, &TformConfig::bOuvirClick);

  cbInfo = new QCheckBox(this);
  cbInfo->setGeometry(44, 197, 13, 15);
  cbInfo->setCursor(HandCursor());
  // Like the original's click event, a change from the program records too.
  connect(cbInfo, &QCheckBox::toggled, this, &TformConfig::cbInfoClick);

  // lbInfo ignores its clicks, so they reach the window's exception area.
  const QRect info_area(61, 197, 290, 15);
  lbInfo = new QLabel(QStringLiteral("Exibir informações adicionais na janela de lembretes"), this);
  lbInfo->setFont(SansSerifFont(11));
  QPalette info_palette = lbInfo->palette();
  info_palette.setColor(QPalette::WindowText, Qt::black);
  lbInfo->setPalette(info_palette);
  lbInfo->setGeometry(info_area);
  lbInfo->setCursor(HandCursor());
  AddException(info_area, [this] { lbInfoClick(); }, [this] { cbInfoClick(); });

  bOK = new TGradBtn(QStringLiteral("OK"), this, ArialFont(13));
  bOK->setGeometry(205, 228, 93, 28);
  bOK->setCursor(HandCursor());
  connect(bOK, &QAbstractButton::clicked, this, &TformConfig::bOKClick);
  bCancel = new TGradBtn(QStringLiteral("Cancelar"), this, ArialFont(13));
  bCancel->setGeometry(309, 228, 93, 28);
  bCancel->setCursor(HandCursor());
  connect(bCancel, &QAbstractButton::clicked, this, &TformConfig::bCancelClick);

  setTabOrder(bCancel, csFront);
  setTabOrder(csFront, csBack);
  setTabOrder(csBack, mExemplo);
  setTabOrder(mExemplo, bOK);
  setTabOrder(bOK, lbWave);
  setTabOrder(lbWave, bOuvir);
  setTabOrder(bOuvir, cbInfo);
  // The window opens on the first control of its tab order.
  bCancel->setFocus();

  FormCreate();
}

void TformConfig::FormCreate() {
  // The wave files of the sound folder, sorted by name without regard to case.
  WaveList.clear();
  for (const std::string& name : platform::Files().ListFiles(SoundFolder(), ".wav")) WaveList << FromNative(name);
  std::sort(WaveList.begin(), WaveList.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });

  lbWave->clear();
  for (const QString& name : WaveList) lbWave->addItem(name.left(name.size() - 4));
  lbWave->addItem(kOtherSound);

  EditedConfig = Config;

  // Only the file name is compared: a sound of that name from any folder
  // selects its entry; anything else selects "[Outro som...]".
  const QString wanted = FileNamePart(EditedConfig.WaveFile).toUpper();
  int row = lbWave->count() - 1;
  if (!EditedConfig.WaveFile.empty()) {
    for (int i = 0; i < WaveList.size(); ++i) {
      if (WaveList[i].toUpper() == wanted) {
        row = i;
        break;
      }
    }
  }
  lbWave->setCurrentRow(row);

  cbInfo->setChecked(EditedConfig.ShowInfo);
  csFront->SetColor(EditedConfig.FrontColor);
  csBack->SetColor(EditedConfig.BackColor);
  ShowSampleColors();
}

void TformConfig::ShowSampleColors() {
  QPalette pal = mExemplo->palette();
  pal.setColor(QPalette::Text, ColorFromValue(EditedConfig.FrontColor));
  pal.setColor(QPalette::Base, ColorFromValue(EditedConfig.BackColor));
  mExemplo->setPalette(pal);
}

void TformConfig::csFrontChangeColor() {
  EditedConfig.FrontColor = csFront->Color();
  ShowSampleColors();
}

void TformConfig::csBackChangeColor() {
  EditedConfig.BackColor = csBack->Color();
  ShowSampleColors();
}

void TformConfig::lbWaveClick() {
  const int row = lbWave->currentRow();
  if (row < 0) return;
  if (row == lbWave->count() - 1) {
    QString chosen;
    if (OpenDialogAnswer()) {
      chosen = OpenDialogAnswer()();
    } else {
      QFileDialog dialog(this);
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setNameFilter(QStringLiteral("Sons Wave (*.wav)"));
      dialog.setDefaultSuffix(QStringLiteral("wav"));
      if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        chosen = dialog.selectedFiles().first();
    }
    if (chosen.isEmpty()) {
      EditedConfig.WaveFile.clear();  // cancelled: no alarm sound
    } else if (!ShuttingDown()) {
      EditedConfig.WaveFile = NativePath(chosen);
    }
    return;
  }
  EditedConfig.WaveFile = SoundFolder() + NativePath(lbWave->item(row)->text()) + ".wav";
  // Where names are case-sensitive, "NAME.wav" may not be the listed "NAME.WAV":
  // then the file is addressed by its real name, so the alarm is not silent.
  if (!platform::Files().Exists(EditedConfig.WaveFile) && row < WaveList.size())
    EditedConfig.WaveFile = SoundFolder() + NativePath(WaveList[row]);
}

void TformConfig::bOuvirClick() {
  if (platform::Files().Exists(EditedConfig.WaveFile)) platform::Sound().PlayAsync(EditedConfig.WaveFile);
}

void TformConfig::cbInfoClick() { EditedConfig.ShowInfo = cbInfo->isChecked(); }

void TformConfig::lbInfoClick() { cbInfo->setChecked(!cbInfo->isChecked()); }

void TformConfig::bOKClick() {
  WriteConfig(EditedConfig);
  Config = EditedConfig;
  close();
}

void TformConfig::bCancelClick() { close(); }

void TformConfig::iHideClick() { close(); }

}  // namespace tavo::gui
