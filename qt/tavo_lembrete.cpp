#include "qt/tavo_lembrete.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>

#include "qt/accessibility.h"
#include "qt/date_field.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/masked_field.h"
#include "qt/reminder_memo.h"
#include "qt/snooze_menu.h"
#include "qt/window_table.h"

namespace tavo::gui {

TformLembrete::TformLembrete(forms::Application& app)
    : ShapedWindow(PictureResource(forms::kLembreteWindow)), form(app, *this) {
  setFixedSize(forms::LembreteForm::kWidth, forms::LembreteForm::kExpandedHeight);

  const QFont field_font = SansSerifFont(11);
  const QFont button_font = SansSerifFont(12);
  const auto& table = forms::kLembreteWindow;

  MakeLabel(this, table["Label1"], 11);
  MakeLabel(this, table["Label2"], 11);
  MakeLabel(this, table["Label3"], 11);

  eData = new DateField(this);
  PlaceControl(eData, table["eData"]);
  connect(eData, &DateField::Exited, this, [this] { form.eDataExit(); });
  connect(eData, &DateField::AcceptDate, this, [this](double& date) { form.eDataAcceptDate(date); });

  eHora = new MaskedField(QStringLiteral("00:00; "), this);
  PlaceControl(eHora, table["eHora"]);
  eHora->setFont(field_font);

  cbRepeat = new QComboBox(this);
  PlaceControl(cbRepeat, table["cbRepeat"]);
  cbRepeat->setFont(field_font);
  cbRepeat->setEditable(false);
  cbRepeat->setCursor(HandCursor());
  for (const std::string& name : forms::LembreteForm::RepeatItems()) cbRepeat->addItem(FromUtf8(name));

  pLembrete = new QFrame(this);
  PlaceControl(pLembrete, table["pLembrete"]);
  pLembrete->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pLembrete->setLineWidth(1);
  pLembrete->setAutoFillBackground(true);

  // At most 1024 characters as stored: what goes beyond is never inserted.
  mLembrete = new ReminderMemo(forms::LembreteForm::kMaxTextLength, pLembrete);
  PlaceControl(mLembrete, table["mLembrete"], {table["pLembrete"].place.left, table["pLembrete"].place.top});
  mLembrete->setFrameShape(QFrame::NoFrame);
  mLembrete->setFont(field_font);
  mLembrete->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mLembrete->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mLembrete->setTabChangesFocus(true);
  mLembrete->document()->setDocumentMargin(2);

  bOK = MakeFlatButton(this, table["bOK"], button_font, form);
  bAlternate = MakeFlatButton(this, table["bAlternate"], button_font, form);

  snooze = new SnoozeControl(form, this, button_font);

  // iExpand: the turned-up corner stays clickable.
  iExpand = MakeClickArea(this, table["iExpand"], form);
  iExpand->SetCheckedQuery([this] { return forms::LembreteForm::EventsAreaShown(height()); });

  scroll = new QScrollArea(this);
  PlaceControl(scroll, table["scroll"]);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(false);
  scroll->setAutoFillBackground(true);
  QPalette scroll_palette = scroll->palette();
  scroll_palette.setColor(QPalette::Window, Qt::white);
  scroll->setPalette(scroll_palette);
  scroll->viewport()->setAutoFillBackground(true);
  scroll->viewport()->setPalette(scroll_palette);

  lEventos = new QLabel();
  lEventos->setFont(field_font);
  lEventos->setWordWrap(true);
  lEventos->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lEventos->setAutoFillBackground(false);
  lEventos->setAttribute(Qt::WA_TransparentForMouseEvents);
  scroll->setWidget(lEventos);
  lEventos->move(0, 0);

  // What a screen reader says: the fields by their labels; the captions on
  // screen stay as they are.
  FinishControls(this, table);
  // The alert's "Adiar" button is not in the table: it goes between the
  // second button and the events area.
  setTabOrder(bAlternate, snooze->button);
  setTabOrder(snooze->button, scroll);
  NameScrollBars(this);

  // Key preview: the window sees the keys of its controls first; the time
  // field also validates when it is left.
  for (QWidget* w : findChildren<QWidget*>())
    if (w->window() == this) w->installEventFilter(this);

  form.FormCreate();
}

void TformLembrete::BringToFront() {
  show();
  gui::BringToFront(this);
}

std::string TformLembrete::DateText() const { return eData->FieldText(); }

void TformLembrete::SetDateText(const std::string& text) { eData->setText(FromCp(text)); }

std::string TformLembrete::TimeText() const {
  QString text = eHora->displayText();
  text.remove(QLatin1Char(':'));
  return ToCp(text);
}

void TformLembrete::SetTimeText(const std::string& hhmm) { eHora->setText(FromCp(hhmm)); }

int TformLembrete::RepeatIndex() const { return cbRepeat->currentIndex(); }

void TformLembrete::SetRepeatIndex(int index) { cbRepeat->setCurrentIndex(index); }

std::string TformLembrete::MemoText() const { return ToUtf8(mLembrete->toPlainText()); }

void TformLembrete::SetMemoText(const std::string& text) { mLembrete->setPlainText(FromUtf8(text)); }

void TformLembrete::FocusMemo() { mLembrete->setFocus(); }

void TformLembrete::SetMemoColors(int32_t front, int32_t back) {
  QPalette panel_palette = pLembrete->palette();
  panel_palette.setColor(QPalette::Window, ColorFromValue(back));
  pLembrete->setPalette(panel_palette);
  gui::SetTextColors(mLembrete, front, back);
}

void TformLembrete::SetAlternateCaption(const std::string& caption) { bAlternate->setText(FromUtf8(caption)); }

void TformLembrete::SetClientHeight(int h) {
  setFixedSize(width(), h);
  // A closed events area is out of sight, so out of the tab order too.
  const bool shown = forms::LembreteForm::EventsAreaShown(h);
  if (!shown && scroll->hasFocus()) mLembrete->setFocus();
  scroll->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus);
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(iExpand, changed);
  QAccessible::updateAccessibility(&event);
}

void TformLembrete::SetWindowName(const std::string& name, bool alert) {
  SetAccessibleRole(alert ? QAccessible::AlertMessage : QAccessible::Dialog);
  setAccessibleName(FromUtf8(name));
}

void TformLembrete::ShowSnooze(bool shown) { snooze->Show(shown, bOK, bAlternate); }

void TformLembrete::ShowEvents(const std::string& text, forms::Size size, bool red) {
  scroll->verticalScrollBar()->setValue(0);
  lEventos->setFixedSize(size.width, size.height);
  lEventos->setText(FromUtf8(text));
  QPalette pal = lEventos->palette();
  pal.setColor(QPalette::WindowText, red ? QColor(255, 0, 0) : QColor(Qt::black));
  lEventos->setPalette(pal);
  scroll->setAccessibleDescription(lEventos->text());
}

void TformLembrete::showEvent(QShowEvent* event) {
  ShapedWindow::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  form.FormShow();
  if (form.Mode == forms::LembreteForm::kModeAlert) Report("alerta " + std::to_string(form.ReminderIndex));
}

void TformLembrete::keyPressEvent(QKeyEvent* event) {
  if (!eventFilter(this, event)) ShapedWindow::keyPressEvent(event);
}

bool TformLembrete::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const int code = VirtualKey(*key);
    if (code && form.FormKeyDown(code, mods & Qt::ControlModifier, mods & Qt::ShiftModifier, mods & Qt::AltModifier))
      return true;
    // eHoraKeyDown: Enter validates the time.
    if (watched == eHora && enter && mods == Qt::NoModifier) {
      form.eHoraExit();
      return true;
    }
  } else if (event->type() == QEvent::FocusOut && watched == eHora) {
    // Leaving the field for another control of the window, not the window itself.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) form.eHoraExit();
  }
  return ShapedWindow::eventFilter(watched, event);
}

void TformLembrete::closeEvent(QCloseEvent* event) {
  form.FormClose();
  event->accept();
}

}  // namespace tavo::gui
