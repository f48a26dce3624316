#include "qt/sync_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "qt/accessibility.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/window_table.h"

namespace tavo::gui {

TformSync::TformSync(forms::Application& app) : ShapedWindow(PictureResource(forms::kSyncWindow)), form(app, *this) {
  setFixedSize(kWidth, kHeight);
  setFont(SansSerifFont(11));

  const auto& table = forms::kSyncWindow;
  MakeClickArea(this, table["iHide"], form);
  Label1 = MakeLabel(this, table["Label1"], 11);
  Label2 = MakeLabel(this, table["Label2"], 11);
  Label3 = MakeLabel(this, table["Label3"], 11);

  auto field = [this, &table](const char* name) {
    auto* edit = new QLineEdit(this);
    PlaceControl(edit, table[name]);
    edit->setFont(SansSerifFont(11));
    // Enter in any field saves, as the button does.
    connect(edit, &QLineEdit::returnPressed, this, [this] { form.bSalvarClick(); });
    return edit;
  };
  eEndereco = field("eEndereco");
  eUsuario = field("eUsuario");
  eSenha = field("eSenha");
  eSenha->setEchoMode(QLineEdit::Password);

  lStatus = PlainLabel(this, QString(), 11);
  PlaceControl(lStatus, table["lStatus"]);
  lStatus->setWordWrap(true);
  lStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lStatus->setTextFormat(Qt::PlainText);

  const QFont button = ArialFont(13);
  bSalvar = MakeFlatButton(this, table["bSalvar"], button, form);
  bSincronizar = MakeFlatButton(this, table["bSincronizar"], button, form);
  bEsquecer = MakeFlatButton(this, table["bEsquecer"], button, form);
  bFechar = MakeFlatButton(this, table["bFechar"], button, form);
  for (TGradBtn* b : {bSalvar, bSincronizar, bEsquecer, bFechar}) b->setCursor(HandCursor());

  setAccessibleName(FromUtf8(table.spoken));
  SetAccessibleRole(QAccessible::Dialog);
  FinishControls(this, table);
  findChild<QWidget*>(QString::fromUtf8(table.TabStop(0).name))->setFocus();

  form.FormCreate();
}

void TformSync::BringToFront() { gui::BringToFront(this); }

std::string TformSync::AddressText() const { return ToUtf8(eEndereco->text()); }
void TformSync::SetAddressText(const std::string& text) { eEndereco->setText(FromUtf8(text)); }
std::string TformSync::UserText() const { return ToUtf8(eUsuario->text()); }
void TformSync::SetUserText(const std::string& text) { eUsuario->setText(FromUtf8(text)); }
std::string TformSync::PasswordText() const { return ToUtf8(eSenha->text()); }
void TformSync::ClearPassword() { eSenha->clear(); }

void TformSync::SetStatusText(const std::string& text) { lStatus->setText(FromUtf8(text)); }

void TformSync::SetEnabled(const Enabled& enabled) {
  QWidget* focused = focusWidget();
  const std::pair<QWidget*, bool> controls[] = {
      {eEndereco, enabled.fields}, {eUsuario, enabled.fields},      {eSenha, enabled.fields},
      {bSalvar, enabled.save},     {bSincronizar, enabled.sync_now}, {bEsquecer, enabled.forget}};
  for (const auto& [widget, on] : controls) {
    // The keyboard stays in the window: a control going grey hands its focus to "Fechar".
    if (!on && widget == focused) bFechar->setFocus();
    widget->setEnabled(on);
  }
}

void TformSync::FocusField(const char* name) {
  if (auto* field = findChild<QLineEdit*>(QString::fromUtf8(name))) field->setFocus();
}

void TformSync::closeEvent(QCloseEvent* event) {
  form.FormClose();
  event->accept();
}

void TformSync::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier && form.FormKeyDown(VirtualKey(*event))) return;
  ShapedWindow::keyPressEvent(event);
}

}  // namespace tavo::gui
