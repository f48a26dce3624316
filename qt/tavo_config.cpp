#include "qt/tavo_config.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "qt/accessibility.h"
#include "qt/color_selector.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/window_table.h"

namespace tavo::gui {
namespace {

// The sound list: a click runs the window's click handler, Enter and Space
// its key handler, and a selection moved by the keyboard its handler for
// that (selecting from the program runs none).
class WaveListBox : public QListWidget {
 public:
  WaveListBox(QWidget* parent, forms::ConfigForm& form) : QListWidget(parent), form_(form) {
    connect(this, &QListWidget::itemClicked, this, [this] { form_.lbWaveClick(); });
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && form_.lbWaveKeyDown(VirtualKey(*event)))
      return;
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) form_.lbWaveSelectionMoved();
  }

 private:
  forms::ConfigForm& form_;
};

}  // namespace

TformConfig::TformConfig(forms::Application& app)
    : ShapedWindow(PictureResource(forms::kConfigWindow)), form(app, *this) {
  setFixedSize(kWidth, kHeight);
  setFont(SansSerifFont(11));

  const auto& table = forms::kConfigWindow;
  // iHide: the close spot over the drawn close symbol.
  MakeClickArea(this, table["iHide"], form);

  Label1 = MakeLabel(this, table["Label1"], 11);
  Label2 = MakeLabel(this, table["Label2"], 11);
  Label3 = MakeLabel(this, table["Label3"], 11);

  csFront = new ColorSelector(this, FromUtf8(table.SpokenName(table["csFront"])));
  PlaceControl(csFront, table["csFront"]);
  connect(csFront, &ColorSelector::ColorChanged, this, [this] { form.csFrontChangeColor(csFront->Color()); });
  csBack = new ColorSelector(this, FromUtf8(table.SpokenName(table["csBack"])));
  PlaceControl(csBack, table["csBack"]);
  connect(csBack, &ColorSelector::ColorChanged, this, [this] { form.csBackChangeColor(csBack->Color()); });

  mExemplo = new QPlainTextEdit(this);
  PlaceControl(mExemplo, table["mExemplo"]);
  mExemplo->setReadOnly(true);
  mExemplo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setFont(SansSerifFont(11));
  mExemplo->setPlainText(FromUtf8(table["mExemplo"].caption));

  lbWave = new WaveListBox(this, form);
  PlaceControl(lbWave, table["lbWave"]);
  lbWave->setFont(SansSerifFont(11));
  lbWave->setCursor(HandCursor());
  lbWave->setUniformItemSizes(true);
  lbWave->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; padding: 0px; }"));

  bOuvir = new QPushButton(FromUtf8(table["bOuvir"].caption), this);
  PlaceControl(bOuvir, table["bOuvir"]);
  bOuvir->setCursor(HandCursor());
  connect(bOuvir, &QPushButton::clicked, this, [this] { form.bOuvirClick(); });
  ClickOnEnter(bOuvir);

  cbInfo = new QCheckBox(this);
  PlaceControl(cbInfo, table["cbInfo"]);
  cbInfo->setCursor(HandCursor());
  connect(cbInfo, &QCheckBox::clicked, this, [this] { form.cbInfoClick(); });

  // lbInfo ignores its clicks, so they reach the window's click area at its place.
  lbInfo = MakeLabel(this, table["lbInfo"], 11);
  lbInfo->setCursor(HandCursor());
  MakeClickArea(this, table["lbInfo"], form)->setObjectName(QString());

  bOK = MakeFlatButton(this, table["bOK"], ArialFont(13), form);
  bOK->setCursor(HandCursor());
  bCancel = MakeFlatButton(this, table["bCancel"], ArialFont(13), form);
  bCancel->setCursor(HandCursor());
  bSync = MakeFlatButton(this, table["bSync"], ArialFont(13), form);
  bSync->setCursor(HandCursor());

  // What a screen reader says; the captions on screen stay as they are.
  setAccessibleName(FromUtf8(table.spoken));
  SetAccessibleRole(QAccessible::Dialog);
  FinishControls(this, table);
  NameScrollBars(this);
  // The window opens on the first control of its tab order.
  findChild<QWidget*>(QString::fromUtf8(table.TabStop(0).name))->setFocus();

  form.FormCreate();
}

void TformConfig::BringToFront() { gui::BringToFront(this); }

void TformConfig::SetSoundEntries(const std::vector<std::string>& entries) {
  lbWave->clear();
  for (const std::string& entry : entries) lbWave->addItem(FromUtf8(entry));
}

int TformConfig::SelectedSound() const { return lbWave->currentRow(); }

void TformConfig::SelectSound(int index) { lbWave->setCurrentRow(index); }

bool TformConfig::InfoChecked() const { return cbInfo->isChecked(); }

void TformConfig::SetInfoChecked(bool checked) { cbInfo->setChecked(checked); }

void TformConfig::SetSelectorColors(int32_t front, int32_t back) {
  csFront->SetColor(front);
  csBack->SetColor(back);
}

void TformConfig::SetSampleColors(int32_t front, int32_t back) { gui::SetTextColors(mExemplo, front, back); }

void TformConfig::closeEvent(QCloseEvent* event) {
  form.FormClose();
  event->accept();
}

void TformConfig::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier && form.FormKeyDown(VirtualKey(*event))) return;
  ShapedWindow::keyPressEvent(event);
}

}  // namespace tavo::gui
