#include "qt/tavo_list.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "qt/accessibility.h"
#include "qt/date_field.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/list_grid.h"

namespace tavo::gui {
namespace {

QLabel* PlainLabel(QWidget* parent, const QString& text, const QPoint& at) {
  QLabel* label = gui::PlainLabel(parent, text, 13);
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

TformList::TformList(forms::Application& app)
    : ShapedWindow(QStringLiteral(":/assets/fundo_list.bmp")), form(app, *this) {
  setFont(SansSerifFont(11));
  ClickSpot* iHide = AddException(forms::kHideArea, [this] { form.iHideClick(); });

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
  ClickOnEnter(bListar);

  gridLembretes = new ListGrid(form, this);
  gridLembretes->setGeometry(44, 108, forms::ListForm::kGridWidth, 99);

  mTexto = new QPlainTextEdit(this);
  mTexto->setGeometry(253, 108, 151, 99);
  mTexto->setReadOnly(true);
  mTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Reachable by Tab, and read with the keyboard's cursor, though not changed.
  mTexto->setFocusPolicy(Qt::StrongFocus);
  mTexto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  mTexto->setTabChangesFocus(true);

  bPrintList = FlatButton(this, QStringLiteral("Imprimir Lista"), QRect(44, 218, 98, 23));
  bAlter = FlatButton(this, QStringLiteral("Alterar"), QRect(150, 218, 82, 23));
  bDel = FlatButton(this, QStringLiteral("Excluir"), QRect(236, 218, 82, 23));
  bCancel = FlatButton(this, QStringLiteral("Voltar"), QRect(322, 218, 82, 23));

  setTabOrder(eInicio, eFim);
  setTabOrder(eFim, bListar);
  setTabOrder(bListar, gridLembretes);
  setTabOrder(gridLembretes, mTexto);
  setTabOrder(mTexto, bPrintList);
  setTabOrder(bPrintList, bAlter);
  setTabOrder(bAlter, bDel);
  setTabOrder(bDel, bCancel);

  connect(eInicio, &DateField::Exited, this, [this] { form.eInicioExit(); });
  connect(eFim, &DateField::Exited, this, [this] { form.eFimExit(); });
  connect(eInicio, &DateField::AcceptDate, this, [this](double& date) { form.eInicioAcceptDate(date); });
  connect(eFim, &DateField::AcceptDate, this, [this](double& date) { form.eFimAcceptDate(date); });
  connect(bListar, &QPushButton::clicked, this, [this] { form.bListarClick(); });
  connect(gridLembretes, &ListGrid::CellClicked, this, [this] { form.gridLembretesClick(); });
  connect(gridLembretes, &QAbstractItemView::doubleClicked, this, [this] { form.gridLembretesDblClick(); });
  connect(bPrintList, &TGradBtn::clicked, this, [this] { form.bPrintListClick(); });
  connect(bAlter, &TGradBtn::clicked, this, [this] { form.bAlterClick(); });
  connect(bDel, &TGradBtn::clicked, this, [this] { form.bDelClick(); });
  connect(bCancel, &TGradBtn::clicked, this, [this] { form.iHideClick(); });
  gridLembretes->installEventFilter(this);

  // The context menu (mouse, the menu key or Shift+F10); one item leaves no
  // room for the tray menu's margin, so it is a plain menu.
  pmGrid = new QMenu(this);
  pmGrid->setAccessibleName(QStringLiteral("Menu da lista"));
  pmGrid->addAction(QStringLiteral("&Exportar Calendário..."), this, [this] { form.pmExportCalendarClick(); });
  gridLembretes->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(gridLembretes, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmGrid->popup(gridLembretes->viewport()->mapToGlobal(at)); });

  // What a screen reader says; the captions on screen stay as they are.
  setAccessibleName(QStringLiteral("Lista de lembretes"));
  iHide->setAccessibleName(QStringLiteral("Fechar"));
  Label1->setBuddy(eInicio);
  Label2->setBuddy(eFim);
  eInicio->setAccessibleName(QStringLiteral("Mostrar lembretes entre"));
  eFim->setAccessibleName(Label2->text());
  gridLembretes->setAccessibleName(QStringLiteral("Lembretes"));
  gridLembretes->setAccessibleDescription(QStringLiteral("Enter: Alterar; Delete: Excluir; menu: Exportar Calendário"));
  mTexto->setAccessibleName(QStringLiteral("Texto do lembrete"));
  NameScrollBars(this);

  form.FormCreate();
}

void TformList::BringToFront() { gui::BringToFront(this); }

bool TformList::IsForeground() const { return QApplication::activeWindow() == this; }

std::string TformList::StartText() const { return eInicio->FieldText(); }
void TformList::SetStartText(const std::string& text) { eInicio->setText(FromCp(text)); }
std::string TformList::EndText() const { return eFim->FieldText(); }
void TformList::SetEndText(const std::string& text) { eFim->setText(FromCp(text)); }

void TformList::SetRowCount(int rows) {
  // Removing the selected row moves the selection. That is no click: the
  // listing that removes it holds ScanBusy, so the click's handler would wait
  // for it forever; the listing shows the selected text itself when it ends.
  const QSignalBlocker quiet(gridLembretes);
  gridLembretes->SetRowCount(rows);
  gridLembretes->viewport()->update();
}

int TformList::SelectedRow() const { return gridLembretes->Row(); }

void TformList::SetText(const std::string& text) {
  if (text.empty()) mTexto->clear();
  else mTexto->setPlainText(FromUtf8(text));
}

void TformList::SetTextColors(int32_t front, int32_t back) { gui::SetTextColors(mTexto, front, back); }

void TformList::closeEvent(QCloseEvent* event) {
  form.FormClose();
  event->accept();
}

void TformList::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier && form.FormKeyDown(VirtualKey(*event))) return;
  ShapedWindow::keyPressEvent(event);
}

bool TformList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == gridLembretes && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && form.gridLembretesKeyDown(VirtualKey(*key)))
      return true;
    // Shift+F10 opens the grid's menu, as the menu key does, at the selected row.
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      const QRect row = gridLembretes->visualRect(gridLembretes->currentIndex());
      emit gridLembretes->customContextMenuRequested(row.isValid() ? row.center() : QPoint(8, 8));
      return true;
    }
  }
  return ShapedWindow::eventFilter(watched, event);
}

}  // namespace tavo::gui
