#pragma once
// The alert window's "Adiar" control: a flat button that opens a menu in the
// tray menu's look with the snooze choices and "Outro horário...", which asks
// for a time in a small box with a masked time field. Places, captions and
// what each item runs come from forms/snooze_control.h, the time box's from
// forms::kSnoozeTimeBox.

#include <QDialog>

#include "forms/lembrete_form.h"
#include "qt/tray_menu.h"

class QFont;

namespace tavo::gui {

class MaskedField;
class TGradBtn;

// The box of "Outro horário...": "Hora" and a time field, "OK" and "Cancelar";
// Enter is "OK", Esc "Cancelar".
class SnoozeTimeBox : public QDialog {
  Q_OBJECT
 public:
  explicit SnoozeTimeBox(QWidget* parent);
  MaskedField* field = nullptr;
  TGradBtn* ok = nullptr;
  TGradBtn* cancel = nullptr;
};

class SnoozeControl : public QObject {
  Q_OBJECT
 public:
  // Made hidden on `window`, which it shares with "OK" and the alternate button.
  SnoozeControl(forms::LembreteForm& form, QWidget* window, const QFont& button_font);

  TGradBtn* button = nullptr;
  TrayMenu* menu = nullptr;
  // The open time box, if any.
  SnoozeTimeBox* box = nullptr;

  // Shows or hides the button and moves `ok` and `alternate` to their places
  // for the row (forms::ButtonRowFor).
  void Show(bool shown, TGradBtn* ok, TGradBtn* alternate);
  // Opens the menu under the button.
  void PopUp();
  // Opens the time box of "Outro horário...".
  void AskTime();

 private:
  void Run(int index);
  forms::LembreteForm& form_;
  QWidget* window_;
};

}  // namespace tavo::gui
