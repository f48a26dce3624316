#pragma once
// The program's modal dialogs as Qt shows them: message boxes with the
// application title as caption (questions with Yes and No, No the default),
// and the file, colour and print dialogs. A test stands in for the person
// through one hook, SetDialogAnswerer.

#include <QColor>
#include <QMessageBox>
#include <QString>

#include "forms/desktop.h"

class QPrinter;
class QWidget;

namespace tavo::gui {

// Whoever answers the dialogs instead of a person.
class DialogAnswerer {
 public:
  virtual ~DialogAnswerer() = default;
  // A message box's text and icon; returns the button pressed (Ok, Yes or No).
  virtual QMessageBox::StandardButton AnswerBox(const QString& text, forms::BoxIcon icon) = 0;
  // A box with details: as any box unless the answerer looks at the details.
  virtual QMessageBox::StandardButton AnswerDetailedBox(const QString& text, const QString& details,
                                                        forms::BoxIcon icon) {
    (void)details;
    return AnswerBox(text, icon);
  }
  // A file dialog; returns the chosen path, or an empty text for Cancel.
  virtual QString AnswerFile(const forms::FileDialog& dialog) = 0;
  // The colour dialog preset to `initial`; an invalid colour for Cancel.
  virtual QColor AnswerColor(const QColor& initial) = 0;
  // The print dialog over the run's printer (already portrait), which the
  // answer may set up; false for Cancel.
  virtual bool AnswerPrint(QPrinter& printer) = 0;
};
// nullptr: the real dialogs again.
void SetDialogAnswerer(DialogAnswerer* answerer);

// Shows a box with OK; `owner` may be null.
void ShowMessage(QWidget* owner, const QString& text, forms::BoxIcon icon, forms::BoxModality modality);
// Shows a box with OK and a "Mostrar Detalhes..." button that unfolds
// `details` (read only, scrolling); empty details: a plain box.
void ShowDetailedMessage(QWidget* owner, const QString& text, const QString& details, forms::BoxIcon icon,
                         forms::BoxModality modality);
// Asks a Yes/No question (No is the default); true for Yes.
bool AskYesNo(QWidget* owner, const QString& text, forms::BoxIcon icon, forms::BoxModality modality);
QString AskFileName(QWidget* owner, const forms::FileDialog& dialog);
QColor AskColor(QWidget* owner, const QColor& initial);
bool AskPrint(QWidget* owner, QPrinter& printer);

}  // namespace tavo::gui
