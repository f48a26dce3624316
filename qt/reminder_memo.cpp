#include "qt/reminder_memo.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include "forms/lembrete_form.h"
#include "qt/gui_common.h"

namespace tavo::gui {
namespace {

// Selections name their line breaks U+2029; the rules count "\n".
std::string WithLineFeeds(QString text) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return ToUtf8(text);
}

}  // namespace

ReminderMemo::ReminderMemo(int max_stored_length, QWidget* parent)
    : QPlainTextEdit(parent), max_stored_length_(max_stored_length) {}

int ReminderMemo::StoredLength(const QString& text) { return forms::StoredLength(WithLineFeeds(text)); }

QString ReminderMemo::FitToRoom(const QString& text, int room) {
  return FromUtf8(forms::FitToRoom(WithLineFeeds(text), room));
}

int ReminderMemo::Room() const {
  const QTextCursor cursor = textCursor();
  return max_stored_length_ - StoredLength(toPlainText()) + StoredLength(cursor.selectedText());
}

void ReminderMemo::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  const QString fit = FitToRoom(source->text(), Room());
  if (fit.isEmpty()) {
    if (!source->text().isEmpty()) QApplication::beep();
    return;
  }
  QTextCursor cursor = textCursor();
  cursor.insertText(fit);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void ReminderMemo::keyPressEvent(QKeyEvent* event) {
  QString typed;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (!(event->modifiers() & Qt::ControlModifier)) typed = QStringLiteral("\n");
  } else {
    typed = event->text();
    // Control keys (Ctrl+V, Tab, Backspace...) insert nothing themselves.
    if (!typed.isEmpty() && typed[0].unicode() < 32) typed.clear();
  }
  if (!typed.isEmpty() && StoredLength(typed) > Room()) {
    QApplication::beep();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ReminderMemo::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  const QString fit = FitToRoom(commit, Room());
  if (fit == commit) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent cut(event->preeditString(), event->attributes());
  cut.setCommitString(fit, event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&cut);
}

}  // namespace tavo::gui
