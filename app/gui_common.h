#pragma once
// Small helpers every window shares: texts across the Windows-1252 edge,
// colour values, the fonts of the windows and the hand cursor.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <string>

namespace tavo::gui {

inline const QString kAppTitle = QStringLiteral("Quelvo 3.0");

// Windows-1252 bytes of the store <-> Qt text.
QString FromCp(const std::string& cp1252);
std::string ToCp(const QString& text);

// 0x00BBGGRR colour values <-> QColor.
QColor ColorFromValue(int32_t value);
int32_t ValueFromColor(const QColor& color);

// The face colour of the flat buttons (213, 194, 132) and the disabled one.
inline const QColor kButtonFace(213, 194, 132);
inline const QColor kButtonDisabled(134, 107, 57);

// A font of the given family with the given character height in pixels.
QFont PixelFont(const QString& family, int pixel_height, bool bold = false);
inline QFont SansSerifFont(int px) { return PixelFont(QStringLiteral("MS Sans Serif"), px); }
inline QFont ArialFont(int px) { return PixelFont(QStringLiteral("Arial"), px); }

// The program's hand cursor "MAO".
const QCursor& HandCursor();

// Font substitutions for the Windows font names, installed once at start.
void InstallFontSubstitutes();

// Brazilian Portuguese for Qt's own texts (dialog buttons, calendar names).
void InstallPortuguese();


}  // namespace tavo::gui
