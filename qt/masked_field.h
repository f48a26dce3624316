#pragma once
// A text field with an input mask (the date and the time of a reminder).
// Entered from the keyboard (Tab, Shift+Tab, its label's Alt key) it selects
// its whole text, as the system's edit fields do, so that what is typed
// replaces the old value instead of overwriting it from the first position.

#include <QLineEdit>

namespace tavo::gui {

class MaskedField : public QLineEdit {
  Q_OBJECT
 public:
  MaskedField(const QString& input_mask, QWidget* parent);

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace tavo::gui
