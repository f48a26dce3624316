#include "qt/tavo_lembrete.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <exception>
#include <functional>

#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "calendar/events_text.h"
#include "calendar/feriados.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_text.h"
#include "store/date_time.h"
#include "store/period_step.h"
#include "qt/reminder_memo.h"

namespace tavo::gui {
namespace {

constexpr int kMaxTextLength = 1024;
constexpr int kEventsWidth = 236 - 20;  // the scroll box less room for its scroll bar

const QString kEmptyNew = QStringLiteral("Lembrete vazio. Inclusão cancelada");
const QString kEmptyStored = QStringLiteral("Digite algum texto no lembrete ou clique em Excluir, para removê-lo");
const QString kAskDelete = QStringLiteral("Deseja realmente excluir este lembrete?");
const QString kAskMoveOn = QStringLiteral(
    "Ao confirmar a exclusão, você só será lembrado novamente deste compromisso após o período de repetição "
    "determinado. Confirma?");

// The stored text keeps Windows line breaks (CR LF); the memo uses LF.
QString MemoFromStored(const std::string& cp1252) {
  QString text = FromCp(cp1252);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

std::string StoredFromMemo(const QString& text) {
  QString stored = text;
  stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToCp(stored);
}

// Leading and trailing blanks and control characters removed.
QString TrimBlanks(const QString& text) {
  qsizetype a = 0, b = text.size();
  while (a < b && text[a].unicode() <= 32) ++a;
  while (b > a && text[b - 1].unicode() <= 32) --b;
  return text.mid(a, b - a);
}

QLabel* PlainLabel(const QString& text, QWidget* parent, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setFont(SansSerifFont(11));
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(pal);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->move(x, y);
  label->adjustSize();
  return label;
}

// Ctrl+Break: Windows reports it as the Cancel key; under X11, Ctrl turns
// the Pause key into the keysym Break, for which Qt has no key code.
bool IsCtrlBreak(const QKeyEvent& key) {
  constexpr quint32 kX11BreakKeysym = 0xFF6B;
  if (key.key() == Qt::Key_Cancel) return true;
  if (!(key.modifiers() & Qt::ControlModifier)) return false;
  return key.key() == Qt::Key_Pause || (key.key() == 0 && key.nativeVirtualKey() == kX11BreakKeysym);
}

// Runs an event handler; an unexpected error abandons it and is reported.
// A store failure has been reported by the store already.
void Guarded(QWidget* owner, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const StoreStopped&) {
  } catch (const std::exception& e) {
    ShowGeneralError(owner, QString::fromStdString(e.what()));
  }
}

}  // namespace

TformLembrete::TformLembrete() : SecondaryWindow(QStringLiteral(":/assets/fundo_lembrete.bmp")) {
  // FormCreate
  setWindowTitle(kAppTitle);
  setFixedSize(255, Config.ShowInfo ? kExpandedHeight : kCollapsedHeight);

  const QFont field_font = SansSerifFont(11);
  const QFont button_font = SansSerifFont(12);

  PlainLabel(QStringLiteral("Data"), this, 32, 50);
  PlainLabel(QStringLiteral("Hora"), this, 121, 50);
  PlainLabel(QStringLiteral("Repetição"), this, 160, 50);

  eData = new DateField(this);
  eData->setGeometry(32, 63, 88, 21);
  connect(eData, &DateField::Exited, this, [this] { Guarded(this, [this] { eDataExit(); }); });
  connect(eData, &DateField::AcceptDate, this, [this](double& date) { Guarded(this, [&] { eDataAcceptDate(date); }); });

  eHora = new QLineEdit(this);
  eHora->setGeometry(121, 63, 37, 21);
  eHora->setFont(field_font);
  eHora->setInputMask(QStringLiteral("00:00; "));

  cbRepeat = new QComboBox(this);
  cbRepeat->setGeometry(160, 63, 82, 21);
  cbRepeat->setFont(field_font);
  cbRepeat->setEditable(false);
  cbRepeat->setCursor(HandCursor());
  for (int kind = 0; kind < kRepeatKinds; ++kind) cbRepeat->addItem(FromCp(RepeatNames[kind]));

  const QColor back = ColorFromValue(Config.BackColor);
  const QColor front = ColorFromValue(Config.FrontColor);

  pLembrete = new QFrame(this);
  pLembrete->setGeometry(32, 86, 212, 92);
  pLembrete->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pLembrete->setLineWidth(1);
  pLembrete->setAutoFillBackground(true);
  QPalette panel_palette = pLembrete->palette();
  panel_palette.setColor(QPalette::Window, back);
  pLembrete->setPalette(panel_palette);

  // Inside the one-pixel bevel and the border of 3 pixels.
  // At most 1024 characters as stored: what goes beyond is never inserted.
  mLembrete = new ReminderMemo(kMaxTextLength, pLembrete);
  mLembrete->setGeometry(4, 4, 212 - 8, 92 - 8);
  mLembrete->setFrameShape(QFrame::NoFrame);
  mLembrete->setFont(field_font);
  mLembrete->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mLembrete->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mLembrete->setTabChangesFocus(true);
  mLembrete->document()->setDocumentMargin(2);
  QPalette memo_palette = mLembrete->palette();
  memo_palette.setColor(QPalette::Base, back);
  memo_palette.setColor(QPalette::Text, front);
  mLembrete->setPalette(memo_palette);
  bOK = new TGradBtn(QStringLiteral("OK"), this, button_font);
  bOK->setGeometry(31, 181, 88, 21);
  connect(bOK, &QAbstractButton::clicked, this, [this] { Guarded(this, [this] { bOKClick(); }); });

  bAlternate = new TGradBtn(QStringLiteral("Cancelar"), this, button_font);
  bAlternate->setGeometry(129, 181, 88, 21);
  connect(bAlternate, &QAbstractButton::clicked, this, [this] { Guarded(this, [this] { bAlternateClick(); }); });

  // iExpand: the turned-up corner stays clickable.
  AddException(QRect(226, 180, 24, 26), [this] { iExpandClick(); }, [this] { iExpandClick(); });

  scroll = new QScrollArea(this);
  scroll->setGeometry(12, 211, 236, 54);
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

  setTabOrder(eData, eHora);
  setTabOrder(eHora, cbRepeat);
  setTabOrder(cbRepeat, mLembrete);
  setTabOrder(mLembrete, bOK);
  setTabOrder(bOK, bAlternate);
  setTabOrder(bAlternate, scroll);

  // Key preview: the window sees the keys of its controls first; the time
  // field also validates when it is left.
  for (QWidget* w : findChildren<QWidget*>())
    if (w->window() == this) w->installEventFilter(this);
}

void TformLembrete::SwitchToAlterMode() {
  Mode = kModeAlter;
  bAlternate->setText(QStringLiteral("Cancelar"));
}

void TformLembrete::showEvent(QShowEvent* event) {
  SecondaryWindow::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  Guarded(this, [this] { FormShow(); });
}

void TformLembrete::FormShow() {
  // Placement: the first window is centred, the next ones cascade.
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const QSize screen_size = s ? s->geometry().size() : QSize(800, 600);
  if (LastReminderPos.x() < 0 || LastReminderPos.y() < 0) {
    LastReminderPos = QPoint((screen_size.width() - width()) / 2, (screen_size.height() - height()) / 2);
  } else {
    LastReminderPos += QPoint(20, 20);
    if (LastReminderPos.x() + width() > screen_size.width()) LastReminderPos.setX(0);
    if (LastReminderPos.y() + height() > screen_size.height()) LastReminderPos.setY(0);
  }
  move(LastReminderPos);

  mLembrete->setFocus();

  switch (Mode) {
    case kModeNew: {
      bAlternate->setText(QStringLiteral("Cancelar"));
      const platform::LocalTime now = platform::SystemClock().Now();
      Reminder = TLembrete{};
      Reminder.DateTime = EncodeDate(now.Year, now.Month, now.Day) +
                          EncodeTime(now.Hour, now.Minute, now.Second, now.Millisecond);
      break;
    }
    case kModeAlert:
      bAlternate->setText(QStringLiteral("Excluir"));
      ReadLembrete(ReminderIndex, Reminder);
      break;
    case kModeAlter:
      bAlternate->setText(QStringLiteral("Cancelar"));
      ReadLembrete(ReminderIndex, Reminder);
      break;
    default: break;
  }

  mLembrete->setPlainText(MemoFromStored(Reminder.Text));
  eData->SetDate(Reminder.DateTime);
  eHora->setText(FromCp(TimeToText(Reminder.DateTime)));
  eDataExit();
  cbRepeat->setCurrentIndex(EffectiveRepeatKind(Reminder.RepeatKind));
}

// The time field's value: its four digit positions, blanks where empty.
static std::string HoraText(const QLineEdit* field) {
  QString text = field->displayText();
  text.remove(QLatin1Char(':'));
  return ToCp(text);
}

void TformLembrete::eDataExit() {
  scroll->verticalScrollBar()->setValue(0);
  const double d = eData->Date();
  QString text = FromCp(EventsText(d));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const QRect measured =
      QFontMetrics(lEventos->font()).boundingRect(QRect(0, 0, kEventsWidth, 0), Qt::TextWordWrap, text);
  lEventos->setFixedSize(measured.width(), measured.height());
  lEventos->setText(text);
  const bool red = IsValidDateTime(d) && (feriados::IsHoliday(d) || DayOfWeek(d) == 1);
  QPalette pal = lEventos->palette();
  pal.setColor(QPalette::WindowText, red ? QColor(255, 0, 0) : QColor(Qt::black));
  lEventos->setPalette(pal);
  eData->SetDate(d);
}

void TformLembrete::eHoraExit() { eHora->setText(FromCp(TimeToText(TextToTime(HoraText(eHora))))); }

void TformLembrete::eDataAcceptDate(double& date) {
  eData->SetDate(date);
  eDataExit();
}

void TformLembrete::bOKClick() {
  const QString t = TrimBlanks(mLembrete->toPlainText());
  if (t.isEmpty()) {
    if (Mode == kModeNew) {
      ShowMessage(nullptr, kEmptyNew, BoxIcon::Information, BoxModality::System);
      close();
    } else {
      ShowMessage(nullptr, kEmptyStored, BoxIcon::Information, BoxModality::System);
    }
    return;
  }
  eDataExit();
  eHoraExit();
  TLembrete record;
  record.DateTime = static_cast<double>(DayNumber(eData->Date())) + TextToTime(HoraText(eHora));
  record.RepeatKind = static_cast<uint8_t>(cbRepeat->currentIndex());
  record.Text = StoredFromMemo(t);
  if (Mode == kModeNew) AddLembrete(record);
  else if (Mode == kModeAlert || Mode == kModeAlter) AlterLembrete(Reminder, record);
  close();
}

void TformLembrete::bAlternateClick() {
  if (Mode == kModeNew || Mode == kModeAlter) {
    close();
    return;
  }
  if (Mode != kModeAlert) return;
  const int kind = EffectiveRepeatKind(Reminder.RepeatKind);
  if (kind == 0) {
    if (!AskYesNo(this, kAskDelete, BoxModality::Application)) return;
    DeleteLembrete(Reminder);
    close();
    return;
  }
  if (!AskYesNo(this, kAskMoveOn, BoxModality::Application)) return;
  TLembrete moved = Reminder;
  moved.DateTime = StepOnePeriod(Reminder.DateTime, kind);
  AlterLembrete(Reminder, moved);
  close();
}

void TformLembrete::iExpandClick() {
  if (height() >= kExpandedHeight) setFixedSize(width(), kCollapsedHeight);
  else if (height() >= kCollapsedHeight) setFixedSize(width(), kExpandedHeight);
}

void TformLembrete::keyPressEvent(QKeyEvent* event) {
  if (!eventFilter(this, event)) SecondaryWindow::keyPressEvent(event);
}

bool TformLembrete::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // FormKeyDown
    if (enter && mods == Qt::ControlModifier) {
      bOK->click();
      return true;
    }
    const bool ctrl_break = IsCtrlBreak(*key);
    if (ctrl_break && Mode == kModeNew) {
      bAlternate->click();
      return true;
    }
    // eHoraKeyDown: Enter validates the time.
    if (watched == eHora && enter && mods == Qt::NoModifier) {
      Guarded(this, [this] { eHoraExit(); });
      return true;
    }
  } else if (event->type() == QEvent::FocusOut && watched == eHora) {
    // Leaving the field for another control of the window, not the window itself.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      Guarded(this, [this] { eHoraExit(); });
  }
  return SecondaryWindow::eventFilter(watched, event);
}

void TformLembrete::closeEvent(QCloseEvent* event) {
  // The next window opens where this one was.
  if (LastReminderPos.x() >= x() && LastReminderPos.y() >= y()) LastReminderPos = QPoint(x() - 20, y() - 20);
  SecondaryWindow::closeEvent(event);
}

void ShowLembrete(int32_t position, uint8_t mode) {
  if (position >= Lembretes.Count) return;
  auto* window = new TformLembrete();
  RestoreApplication();
  window->ReminderIndex = position;
  window->Mode = mode;
  window->show();
  BringToFront(window);
}

bool IsLembreteOpen(int32_t id) {
  for (QWidget* w : OwnedWindows()) {
    auto* reminder = qobject_cast<TformLembrete*>(w);
    if (reminder && (reminder->Mode == TformLembrete::kModeAlert || reminder->Mode == TformLembrete::kModeAlter) &&
        reminder->Reminder.Id == id)
      return true;
  }
  return false;
}

}  // namespace tavo::gui
