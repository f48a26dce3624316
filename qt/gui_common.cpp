#include "qt/gui_common.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <QEventLoop>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

#include "store/cp1252.h"
#include "store/tavo_data.h"

namespace tavo::gui {

QString FromCp(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

std::string ToCp(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

QColor ColorFromValue(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

int32_t ValueFromColor(const QColor& color) {
  return static_cast<int32_t>(static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
                              static_cast<uint32_t>(color.blue()) << 16);
}

QFont PixelFont(const QString& family, int pixel_height, bool bold) {
  QFont font(family);
  font.setPixelSize(pixel_height);
  font.setBold(bold);
  return font;
}

QLabel* PlainLabel(QWidget* parent, const QString& text, int pixel_height) {
  auto* label = new QLabel(text, parent);
  label->setFont(SansSerifFont(pixel_height));
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(pal);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void SetTextColors(QWidget* box, int32_t front, int32_t back) {
  QPalette pal = box->palette();
  pal.setColor(QPalette::Text, ColorFromValue(front));
  pal.setColor(QPalette::Base, ColorFromValue(back));
  box->setPalette(pal);
}

const QCursor& HandCursor() {
  // Hotspot at the fingertip of the picture.
  static const QCursor cursor = [] {
    QPixmap hand(QStringLiteral(":/assets/mao.png"));
    return hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, 12, 0);
  }();
  return cursor;
}

void InstallFontSubstitutes() {
  // Metric-compatible families installed by the set-up.
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

void InstallPortuguese() {
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  QLocale::setDefault(brazil);
  static QTranslator translator;
  if (translator.load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&translator);
}

void PumpMessagesOnce(bool wait, const Store& store) {
  QEventLoop::ProcessEventsFlags flags = wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents;
  if (store.StoreBusy || store.ScanBusy) flags |= QEventLoop::ExcludeUserInputEvents;
  QCoreApplication::processEvents(flags);
}

void Report(const std::string& line) {
  static const bool enabled = std::getenv("QUELVO_STARTUP_REPORT") != nullptr;
  if (enabled) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace tavo::gui
