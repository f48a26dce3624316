#pragma once
// The reminder window's text box: it holds at most a fixed number of
// characters as the text is stored (a line break is stored as CR LF and
// counts two). Whatever way text comes in (typing, an input method, paste
// from the keyboard or the context menu, the X11 selection, drag and drop),
// only what fits is inserted at the cursor; nothing is cut afterwards.

#include <QPlainTextEdit>

namespace tavo::gui {

class ReminderMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  ReminderMemo(int max_stored_length, QWidget* parent);

  // The length of `text` as it will be stored (forms::StoredLength).
  static int StoredLength(const QString& text);
  // The longest start of `text` that fits in `room` (forms::FitToRoom).
  static QString FitToRoom(const QString& text, int room);

 protected:
  void insertFromMimeData(const QMimeData* source) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // What may still be inserted in place of the current selection.
  int Room() const;

  const int max_stored_length_;
};

}  // namespace tavo::gui
