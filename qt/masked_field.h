#pragma once
// A text field with an input mask (the date and the time of a reminder).
// Entered from the keyboard (Tab, Shift+Tab, its label's Alt key) it selects
// its whole text, as the system's edit fields do, so that what is typed
// replaces the old value instead of overwriting it from the first position.
// A typed separator follows the shared rule of forms::MaskedText (it ends
// the part it is typed in and moves to the next), as the Windows fields do:
// QLineEdit's own mask would keep the part's old digits ("7:" over "14:25"
// would give 74:25).

#include <QLineEdit>
#include <string>

namespace tavo::gui {

class MaskedField : public QLineEdit {
  Q_OBJECT
 public:
  MaskedField(const QString& input_mask, QWidget* parent);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string places_;  // the mask as forms::MaskedText reads it: '9' per digit place
};

}  // namespace tavo::gui
