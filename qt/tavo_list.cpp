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
#include "qt/window_table.h"

namespace tavo::gui {
TformList::TformList(forms::Application& app)
    : ShapedWindow(PictureResource(forms::kListWindow)), form(app, *this) {
  setFont(SansSerifFont(11));
  const auto& table = forms::kListWindow;
  MakeClickArea(this, table["iHide"], form);

  Label1 = MakeLabel(this, table["Label1"], 13);
  eInicio = new DateField(this);
  PlaceControl(eInicio, table["eInicio"]);
  Label2 = MakeLabel(this, table["Label2"], 13);
  eFim = new DateField(this);
  PlaceControl(eFim, table["eFim"]);
  bListar = new QPushButton(FromUtf8(table["bListar"].caption), this);
  PlaceControl(bListar, table["bListar"]);
  bListar->setCursor(HandCursor());
  bListar->setAutoDefault(false);
  ClickOnEnter(bListar);

  gridLembretes = new ListGrid(form, this);
  PlaceControl(gridLembretes, table["gridLembretes"]);

  mTexto = new QPlainTextEdit(this);
  PlaceControl(mTexto, table["mTexto"]);
  mTexto->setReadOnly(true);
  mTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Reachable by Tab, and read with the keyboard's cursor, though not changed.
  mTexto->setFocusPolicy(Qt::StrongFocus);
  mTexto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  mTexto->setTabChangesFocus(true);

  const QFont button_font = ArialFont(13);
  bPrintList = MakeFlatButton(this, table["bPrintList"], button_font, form);
  bAlter = MakeFlatButton(this, table["bAlter"], button_font, form);
  bDel = MakeFlatButton(this, table["bDel"], button_font, form);
  bCancel = MakeFlatButton(this, table["bCancel"], button_font, form);

  connect(eInicio, &DateField::Exited, this, [this] { form.eInicioExit(); });
  connect(eFim, &DateField::Exited, this, [this] { form.eFimExit(); });
  connect(eInicio, &DateField::AcceptDate, this, [this](double& date) { form.eInicioAcceptDate(date); });
  connect(eFim, &DateField::AcceptDate, this, [this](double& date) { form.eFimAcceptDate(date); });
  connect(bListar, &QPushButton::clicked, this, [this] { form.bListarClick(); });
  connect(gridLembretes, &ListGrid::CellClicked, this, [this] { form.gridLembretesClick(); });
  connect(gridLembretes, &QAbstractItemView::doubleClicked, this, [this] { form.gridLembretesDblClick(); });
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
  setAccessibleName(FromUtf8(table.spoken));
  FinishControls(this, table);
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
