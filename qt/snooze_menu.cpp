#include "qt/snooze_menu.h"

#include <QAction>
#include <QLabel>

#include "forms/snooze_control.h"
#include "forms/window_tables.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/masked_field.h"
#include "qt/window_table.h"

namespace tavo::gui {

SnoozeTimeBox::SnoozeTimeBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  const auto& table = forms::kSnoozeTimeBox;
  setWindowTitle(FromUtf8(table.spoken));
  setAccessibleName(FromUtf8(table.spoken));
  setFixedSize(forms::kSnoozeTimeClient.width, forms::kSnoozeTimeClient.height);
  MakeLabel(this, table["Label1"], 11);
  field = new MaskedField(QStringLiteral("00:00; "), this);
  PlaceControl(field, table["eHora"]);
  field->setFont(SansSerifFont(11));
  field->setText(FromUtf8(forms::SnoozeTimeSuggestion()));
  ok = new TGradBtn(FromUtf8(table["bOK"].caption), this, SansSerifFont(12));
  PlaceControl(ok, table["bOK"]);
  cancel = new TGradBtn(FromUtf8(table["bCancel"].caption), this, SansSerifFont(12));
  PlaceControl(cancel, table["bCancel"]);
  FinishControls(this, table);
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  connect(field, &QLineEdit::returnPressed, this, &QDialog::accept);
  field->setFocus();
  field->selectAll();
}

SnoozeControl::SnoozeControl(forms::LembreteForm& form, QWidget* window, const QFont& button_font)
    : QObject(window), form_(form), window_(window) {
  button = new TGradBtn(FromUtf8(forms::kSnoozeButtonCaption), window, button_font);
  button->setGeometry(ToQRect(forms::kAlertButtons.snooze));
  button->setAccessibleName(FromUtf8(forms::kSnoozeCaption));
  button->setAccessibleDescription(QStringLiteral("Alt+A"));
  button->hide();
  button->setFocusPolicy(Qt::NoFocus);  // out of the tab order while hidden
  connect(button, &QAbstractButton::clicked, this, [this] { PopUp(); });

  menu = new TrayMenu(window);
  menu->setAccessibleName(FromUtf8(forms::kSnoozeMenuName));
  const std::vector<std::string> items = forms::SnoozeMenuItems();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    QAction* action = menu->addAction(FromUtf8(items[i]));
    // Queued: the choice runs once the menu has closed, as a click's command does.
    connect(action, &QAction::triggered, this, [this, i] { Run(i); }, Qt::QueuedConnection);
  }
}

void SnoozeControl::Show(bool shown, TGradBtn* ok, TGradBtn* alternate) {
  const forms::ButtonRow& row = forms::ButtonRowFor(shown);
  ok->setGeometry(ToQRect(row.ok));
  alternate->setGeometry(ToQRect(row.alternate));
  button->setVisible(shown);
  button->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus);
  if (!shown) menu->hide();
}

void SnoozeControl::PopUp() {
  if (!button->isVisible()) return;
  menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void SnoozeControl::Run(int index) {
  if (forms::RunSnoozeItem(form_, index)) return;
  if (index == forms::kSnoozeUntilItem) AskTime();
}

void SnoozeControl::AskTime() {
  if (box) {
    box->raise();
    box->activateWindow();
    return;
  }
  box = new SnoozeTimeBox(window_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QDialog::accepted, this, [this] {
    const std::string typed = box->field->displayText().toStdString();
    form_.AdiarPara(typed);
  });
  connect(box, &QObject::destroyed, this, [this] { box = nullptr; });
  box->open();
}

}  // namespace tavo::gui
