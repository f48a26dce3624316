#pragma once
// Small helpers every window shares: texts across the Windows-1252 edge,
// colour values, the fonts of the windows and the hand cursor.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <string>

#include "forms/desktop.h"

class QLabel;
class QWidget;

namespace tavo {
class Store;
}

namespace tavo::gui {

inline const QString kAppTitle = QString::fromUtf8(forms::kAppTitle);

// Windows-1252 bytes of the store <-> Qt text.
QString FromCp(const std::string& cp1252);
std::string ToCp(const QString& text);
// The rules' UTF-8 texts <-> Qt text.
inline QString FromUtf8(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

// 0x00BBGGRR colour values <-> QColor.
QColor ColorFromValue(int32_t value);
int32_t ValueFromColor(const QColor& color);

// The face colour of the flat buttons and the disabled one.
inline const QColor kButtonFace(forms::kButtonFace.red, forms::kButtonFace.green, forms::kButtonFace.blue);
inline const QColor kButtonDisabled(forms::kButtonDisabledFace.red, forms::kButtonDisabledFace.green,
                                    forms::kButtonDisabledFace.blue);

// A font of the given family with the given character height in pixels.
QFont PixelFont(const QString& family, int pixel_height, bool bold = false);
inline QFont SansSerifFont(int px) { return PixelFont(QStringLiteral("MS Sans Serif"), px); }
inline QFont ArialFont(int px) { return PixelFont(QStringLiteral("Arial"), px); }

// A black, transparent label that lets presses through to its window (so
// the window can be dragged over it), in "MS Sans Serif" of that height.
QLabel* PlainLabel(QWidget* parent, const QString& text, int pixel_height = 11);
// A text box's colours: text in `front`, background in `back` (0x00BBGGRR).
void SetTextColors(QWidget* box, int32_t front, int32_t back);

// The program's hand cursor "MAO".
const QCursor& HandCursor();

// Font substitutions for the Windows font names, installed once at start.
void InstallFontSubstitutes();

// Brazilian Portuguese for Qt's own texts (dialog buttons, calendar names).
void InstallPortuguese();

// Lets the message loop run once (waiting for an event when `wait` is set).
// While StoreBusy or ScanBusy is held, the frame that holds it lies below
// this call on the one GUI thread and can only go on once it returns; a
// click or key handled here could start a store operation that waits for
// that frame forever. So user input then stays queued and is delivered
// when the holder is done, while timers and painting go on as usual.
// Every message processing of the program outside a dialog goes through here.
void PumpMessagesOnce(bool wait, const Store& store);

// With QUELVO_STARTUP_REPORT set, the moments that the start-up measurement
// and the end-to-end tests watch for go to standard error, one per line.
void Report(const std::string& line);


}  // namespace tavo::gui
