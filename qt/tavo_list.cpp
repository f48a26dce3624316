#include "qt/tavo_list.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "store/config.h"
#include "store/date_text.h"
#include "qt/list_grid.h"
#include "qt/tavo_lembrete.h"

namespace tavo::gui {
namespace {

const QRect kHideRect(384, 13, 22, 22);

// Holds ScanBusy while the window walks the table or its listed entries.
class ScanGuard {
 public:
  ScanGuard() { ScanBusy = true; }
  ~ScanGuard() { ScanBusy = false; }
  ScanGuard(const ScanGuard&) = delete;
  ScanGuard& operator=(const ScanGuard&) = delete;
};

QLabel* PlainLabel(QWidget* parent, const QString& text, const QPoint& at) {
  auto* label = new QLabel(text, parent);
  label->setFont(SansSerifFont(13));
  // Plain labels let a press through, so the window can be dragged over them.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->move(at);
  label->adjustSize();
  return label;
}

TGradBtn* FlatButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new TGradBtn(caption, parent, ArialFont(13));
  button->setGeometry(geometry);
  return button;
}

}  // namespace

// Stored texts may end their lines Windows-style; the widgets want "\n".
QString ReminderText(const std::string& cp1252) {
  QString text = FromCp(cp1252);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

TformList::TformList() : SecondaryWindow(QStringLiteral(":/assets/fundo_list.bmp")) {
  setFont(SansSerifFont(11));
  setMouseTracking(true);
  AddException(kHideRect, [this] { iHideClick(); });

  Label1 = PlainLabel(this, QStringLiteral("Mostrar lembretes entre:"), QPoint(44, 58));
  eInicio = new DateField(this);
  eInicio->setGeometry(44, 78, 88, 21);
  Label2 = PlainLabel(this, QStringLiteral("e"), QPoint(137, 80));
  eFim = new DateField(this);
  eFim->setGeometry(150, 78, 88, 21);
  bListar = new QPushButton(QStringLiteral("Mostrar Lembretes"), this);
  bListar->setGeometry(253, 79, 151, 20);
  bListar->setCursor(HandCursor());
  bListar->setAutoDefault(false);

  gridLembretes = new ListGrid(ListedEntries, this);
  gridLembretes->setGeometry(44, 108, 199, 99);

  mTexto = new QPlainTextEdit(this);
  mTexto->setGeometry(253, 108, 151, 99);
  mTexto->setReadOnly(true);
  mTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mTexto->setFocusPolicy(Qt::ClickFocus);  // not a tab stop

  bPrintList = FlatButton(this, QStringLiteral("Imprimir Lista"), QRect(44, 218, 98, 23));
  bAlter = FlatButton(this, QStringLiteral("Alterar"), QRect(150, 218, 82, 23));
  bDel = FlatButton(this, QStringLiteral("Excluir"), QRect(236, 218, 82, 23));
  bCancel = FlatButton(this, QStringLiteral("Voltar"), QRect(322, 218, 82, 23));

  setTabOrder(eInicio, eFim);
  setTabOrder(eFim, bListar);
  setTabOrder(bListar, gridLembretes);
  setTabOrder(gridLembretes, bPrintList);
  setTabOrder(bPrintList, bAlter);
  setTabOrder(bAlter, bDel);
  setTabOrder(bDel, bCancel);

  connect(eInicio, &DateField::Exited, this, &TformList::eInicioExit);
  connect(eFim, &DateField::Exited, this, &TformList::eFimExit);
  connect(eInicio, &DateField::AcceptDate, this, &TformList::eInicioAcceptDate);
  connect(eFim, &DateField::AcceptDate, this, &TformList::eFimAcceptDate);
  connect(bListar, &QPushButton::clicked, this, &TformList::bListarClick);
  connect(gridLembretes, &ListGrid::CellClicked, this, &TformList::gridLembretesClick);
  connect(gridLembretes, &QAbstractItemView::doubleClicked, this, &TformList::gridLembretesDblClick);
  connect(bPrintList, &TGradBtn::clicked, this, &TformList::bPrintListClick);
  connect(bAlter, &TGradBtn::clicked, this, &TformList::bAlterClick);
  connect(bDel, &TGradBtn::clicked, this, &TformList::bDelClick);
  connect(bCancel, &TGradBtn::clicked, this, &TformList::iHideClick);

  FormCreate();
  Hooks().RefreshList = [] { RefreshList(); };
}

TformList::~TformList() { Hooks().RefreshList = nullptr; }

void TformList::FormCreate() {
  SetEntryCount(ListedEntries, 0);
  setWindowTitle(kAppTitle);
  const double today = Today();
  eInicio->SetDate(today);
  eFim->SetDate(today + 7.0);
  gridLembretes->SetRowCount(2);
  // The reminder colours as they are now; later changes of the settings are not followed.
  QPalette colours = mTexto->palette();
  colours.setColor(QPalette::Text, ColorFromValue(Config.FrontColor));
  colours.setColor(QPalette::Base, ColorFromValue(Config.BackColor));
  mTexto->setPalette(colours);
  gridLembretesClick();
}

void TformList::mouseMoveEvent(QMouseEvent* event) {
  if (kHideRect.contains(event->position().toPoint())) setCursor(HandCursor());
  else unsetCursor();
  SecondaryWindow::mouseMoveEvent(event);
}

void TformList::iHideClick() { close(); }

void TformList::eInicioExit() { eInicio->SetDate(TextToDate(eInicio->FieldText())); }

void TformList::eFimExit() {
  // The end is never before the start; the start is never compared with the end.
  double d = TextToDate(eFim->FieldText());
  if (eInicio->Date() > d) d = eInicio->Date();
  eFim->SetDate(d);
}

void TformList::eInicioAcceptDate(double& date) {
  eInicio->SetDate(date);
  eInicioExit();
}

void TformList::eFimAcceptDate(double& date) {
  if (eInicio->Date() > date) date = eInicio->Date();
  eFim->SetDate(date);
  eFimExit();
}

void TformList::bListarClick() {
  WaitForBothFlags();
  if (Lembretes.Count <= 0) {
    SetEntryCount(ListedEntries, 0);
    gridLembretes->SetRowCount(2);
    gridLembretes->viewport()->update();
    gridLembretesClick();
    return;
  }
  bool found = true;
  {
    ScanGuard scan;
    // Half-open range: from the start day at 00:00 up to the day after the end day at 00:00.
    const int32_t first = FindPosition(eInicio->Date());
    const int32_t after = FindPosition(eFim->Date() + 1.0);
    found = after - 1 >= first;
    if (!found) {
      SetEntryCount(ListedEntries, 0);
      gridLembretes->SetRowCount(2);
    } else {
      const int32_t n = after - first;
      SetEntryCount(ListedEntries, n);
      std::copy_n(Lembretes.Entries.begin() + first, n, ListedEntries.Entries.begin());
      gridLembretes->SetRowCount(n + 1);
    }
    gridLembretes->viewport()->update();
  }
  // Shown once the table is free again: a box holding ScanBusy would stop
  // the due check and every store operation for as long as it stays open.
  // Only a user looking at this window hears about it, not a refresh from elsewhere.
  if (!found && QApplication::activeWindow() == this)
    ShowMessage(nullptr, QStringLiteral("Nenhum lembrete encontrado"), BoxIcon::Error, BoxModality::System);
  gridLembretesClick();
}

void TformList::gridLembretesClick() {
  WaitForBothFlags();
  const int row = gridLembretes->Row();
  if (row > ListedEntries.Count) {
    mTexto->clear();
    return;
  }
  ScanGuard scan;
  const int32_t p = FindLembrete(ListedEntries[row - 1]);
  if (p < 0) {
    mTexto->clear();
    return;
  }
  TLembrete record;
  ReadLembrete(p, record);
  mTexto->setPlainText(ReminderText(record.Text));
}

void TformList::gridLembretesDblClick() { bAlterClick(); }

void TformList::bAlterClick() {
  WaitForBothFlags();
  const int row = gridLembretes->Row();
  if (row > ListedEntries.Count) return;
  int32_t p = -1;
  {
    ScanGuard scan;
    const LembreteEntry entry = ListedEntries[row - 1];
    p = FindLembrete(entry);
    if (p < 0) return;
    // A window that already shows this reminder is turned into the alter window.
    for (QWidget* w : OwnedWindows()) {
      auto* reminder = qobject_cast<TformLembrete*>(w);
      if (!reminder || reminder->Mode == TformLembrete::kModeNew || reminder->Reminder.Id != entry.Id) continue;
      reminder->SwitchToAlterMode();
      BringToFront(reminder);
      return;
    }
  }
  ShowLembrete(p, TformLembrete::kModeAlter);
}

void TformList::bDelClick() {
  WaitForBothFlags();
  if (gridLembretes->Row() > ListedEntries.Count) return;
  if (!AskYesNo(nullptr, QStringLiteral("Deseja realmente excluir este lembrete?"), BoxModality::System)) return;
  WaitForBothFlags();
  const int row = gridLembretes->Row();
  if (row > ListedEntries.Count) return;
  TLembrete record;
  {
    ScanGuard scan;
    static_cast<LembreteEntry&>(record) = ListedEntries[row - 1];
    if (FindLembrete(record) < 0) return;
    // An open window could otherwise act on the reminder after it is gone.
    CloseReminderWindows();
  }
  // DeleteLembrete waits for both flags, so ScanBusy is clear by now; it lists again.
  DeleteLembrete(record);
}

void TformList::bPrintListClick() { PrintList(); }

void RefreshList() {
  for (QWidget* w : OwnedWindows()) {
    if (auto* list = qobject_cast<TformList*>(w)) {
      if (list->ListedEntries.Count > 0) list->bListarClick();
      return;
    }
  }
}

}  // namespace tavo::gui
