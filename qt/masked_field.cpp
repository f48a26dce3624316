#include "qt/masked_field.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "forms/masked_text.h"

namespace tavo::gui {

MaskedField::MaskedField(const QString& input_mask, QWidget* parent) : QLineEdit(parent) {
  setInputMask(input_mask);
  // "00:00; " and "99/99/9999; ": the places before the blank character's ';'.
  for (const QChar c : input_mask.section(QLatin1Char(';'), 0, 0))
    places_ += (c == QLatin1Char('0') || c == QLatin1Char('9')) ? '9' : static_cast<char>(c.toLatin1());
}

void MaskedField::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const bool separator = typed.size() == 1 && typed[0].unicode() < 128 && !typed[0].isDigit() &&
                         places_.find(static_cast<char>(typed[0].toLatin1())) != std::string::npos;
  if (!separator || isReadOnly()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  forms::MaskedText model(places_);
  const int from = hasSelectedText() ? selectionStart() : cursorPosition();
  const int to = hasSelectedText() ? selectionEnd() : cursorPosition();
  model.Load(displayText().toStdString(), from, to);
  if (model.Type(static_cast<char>(typed[0].toLatin1()))) {
    setText(QString::fromStdString(model.Text()));
    setCursorPosition(model.Caret());
    emit textEdited(text());
  }
  event->accept();
}

void MaskedField::focusInEvent(QFocusEvent* event) {
  // QLineEdit puts the caret on the first blank of a masked text instead.
  QLineEdit::focusInEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
    selectAll();
}

}  // namespace tavo::gui
