#include "qt/masked_field.h"

#include <QFocusEvent>

namespace tavo::gui {

MaskedField::MaskedField(const QString& input_mask, QWidget* parent) : QLineEdit(parent) {
  setInputMask(input_mask);
}

void MaskedField::focusInEvent(QFocusEvent* event) {
  // QLineEdit puts the caret on the first blank of a masked text instead.
  QLineEdit::focusInEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
    selectAll();
}

}  // namespace tavo::gui
