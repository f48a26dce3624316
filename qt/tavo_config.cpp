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

namespace tavo::gui {
namespace {

QLabel* PlainLabel(const QString& text, QWidget* parent, const QRect& geometry) {
  QLabel* label = gui::PlainLabel(parent, text);
  label->setGeometry(geometry);
  return label;
}

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

QRect ToQRect(const forms::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace

TformConfig::TformConfig(forms::Application& app)
    : ShapedWindow(QStringLiteral(":/assets/fundo_config.bmp")), form(app, *this) {
  setFixedSize(kWidth, kHeight);
  setFont(SansSerifFont(11));

  // iHide: the close spot over the drawn close symbol.
  ClickSpot* iHide = AddException(forms::kHideArea, [this] { form.iHideClick(); });

  Label1 = PlainLabel(QStringLiteral("Cor do Texto"), this, QRect(44, 58, 68, 14));
  Label2 = PlainLabel(QStringLiteral("Cor do Fundo"), this, QRect(116, 58, 68, 14));
  Label3 = PlainLabel(QStringLiteral("Som do Alarme"), this, QRect(204, 58, 80, 14));

  csFront = new ColorSelector(this, QStringLiteral("Cor do texto"));
  csFront->setGeometry(44, 74, 62, 21);
  connect(csFront, &ColorSelector::ColorChanged, this, [this] { form.csFrontChangeColor(csFront->Color()); });
  csBack = new ColorSelector(this, QStringLiteral("Cor do fundo"));
  csBack->setGeometry(116, 74, 62, 21);
  connect(csBack, &ColorSelector::ColorChanged, this, [this] { form.csBackChangeColor(csBack->Color()); });

  mExemplo = new QPlainTextEdit(this);
  mExemplo->setGeometry(44, 103, 134, 80);
  mExemplo->setReadOnly(true);
  mExemplo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mExemplo->setFont(SansSerifFont(11));
  mExemplo->setPlainText(QStringLiteral("Exemplo de janela do \nQuelvo 3"));

  lbWave = new WaveListBox(this, form);
  lbWave->setGeometry(204, 74, 198, 81);
  lbWave->setFont(SansSerifFont(11));
  lbWave->setCursor(HandCursor());
  lbWave->setUniformItemSizes(true);
  lbWave->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; padding: 0px; }"));

  bOuvir = new QPushButton(QStringLiteral("Testar"), this);
  bOuvir->setGeometry(328, 162, 74, 21);
  bOuvir->setCursor(HandCursor());
  connect(bOuvir, &QPushButton::clicked, this, [this] { form.bOuvirClick(); });
  ClickOnEnter(bOuvir);

  cbInfo = new QCheckBox(this);
  cbInfo->setGeometry(44, 197, 13, 15);
  cbInfo->setCursor(HandCursor());
  connect(cbInfo, &QCheckBox::clicked, this, [this] { form.cbInfoClick(); });

  // lbInfo ignores its clicks, so they reach the window's exception area.
  lbInfo = PlainLabel(QStringLiteral("Exibir informações adicionais na janela de lembretes"), this,
                      ToQRect(forms::ConfigForm::kInfoArea));
  lbInfo->setCursor(HandCursor());
  AddException(forms::ConfigForm::kInfoArea, [this] { form.lbInfoClick(); }, [this] { form.cbInfoClick(); });

  bOK = new TGradBtn(QStringLiteral("OK"), this, ArialFont(13));
  bOK->setGeometry(205, 228, 93, 28);
  bOK->setCursor(HandCursor());
  connect(bOK, &QAbstractButton::clicked, this, [this] { form.bOKClick(); });
  bCancel = new TGradBtn(QStringLiteral("Cancelar"), this, ArialFont(13));
  bCancel->setGeometry(309, 228, 93, 28);
  bCancel->setCursor(HandCursor());
  connect(bCancel, &QAbstractButton::clicked, this, [this] { form.bCancelClick(); });

  setTabOrder(bCancel, csFront);
  setTabOrder(csFront, csBack);
  setTabOrder(csBack, mExemplo);
  setTabOrder(mExemplo, bOK);
  setTabOrder(bOK, lbWave);
  setTabOrder(lbWave, bOuvir);
  setTabOrder(bOuvir, cbInfo);
  // The window opens on the first control of its tab order.
  bCancel->setFocus();

  // What a screen reader says; the captions on screen stay as they are.
  setAccessibleName(QStringLiteral("Configurações"));
  SetAccessibleRole(QAccessible::Dialog);
  iHide->setAccessibleName(QStringLiteral("Fechar"));
  mExemplo->setAccessibleName(QStringLiteral("Exemplo"));
  Label3->setBuddy(lbWave);
  lbWave->setAccessibleName(QStringLiteral("Som do alarme"));
  cbInfo->setAccessibleName(lbInfo->text());
  NameScrollBars(this);

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
