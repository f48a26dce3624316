#pragma once
// The program's message boxes: the application title as caption, fixed
// Portuguese texts, questions with Yes and No and No as the default.
// Tests answer them through SetBoxAnswerer instead of a person.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace tavo::gui {

enum class BoxIcon { Information, Error, Question };
enum class BoxModality { Application, Window, System };

// Shows a box with OK; returns when it is closed.
void ShowMessage(QWidget* owner, const QString& text, BoxIcon icon, BoxModality modality);
// Asks a Yes/No question (No is the default); true for Yes.
bool AskYesNo(QWidget* owner, const QString& text, BoxModality modality, BoxIcon icon = BoxIcon::Question);
// The general error report: error icon, OK, a full stop appended when missing.
void ShowGeneralError(QWidget* owner, QString text);

// A test's stand-in for the person: gets each box's text and icon and
// returns the button pressed (QMessageBox::Yes, No or Ok).
using BoxAnswerer = std::function<QMessageBox::StandardButton(const QString& text, BoxIcon icon)>;
void SetBoxAnswerer(BoxAnswerer answerer);  // empty: real boxes again

}  // namespace tavo::gui
