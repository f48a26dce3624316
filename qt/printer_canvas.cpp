#include "qt/printer_canvas.h"

#include <algorithm>
#include <cmath>

namespace tavo::gui {
namespace {

QRect ToQRect(const forms::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

forms::Size QtPrinterCanvas::PageSize() { return {printer_.width(), printer_.height()}; }

void QtPrinterCanvas::BeginDocument(const std::string& title) {
  printer_.setDocName(Text(title));
  if (!painter_.begin(&printer_)) throw forms::PrintFailed();
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(QPen(Qt::black, 0, Qt::SolidLine));
}

void QtPrinterCanvas::NewPage() {
  if (!printer_.newPage()) throw forms::PrintFailed();
}

void QtPrinterCanvas::EndDocument() {
  if (!painter_.end()) throw forms::PrintFailed();
}

void QtPrinterCanvas::SetFont(const forms::Font& font) {
  // The screen font kept at its point size on the printer.
  QFont f(Text(font.family));
  f.setPointSize(std::max(1, static_cast<int>(std::nearbyint(font.pixel_height * 72.0 / 96.0))));
  f.setBold(font.bold);
  painter_.setFont(f);
}

forms::Size QtPrinterCanvas::LineSize(const std::string& text) {
  const QSize s = painter_.fontMetrics().size(0, Text(text));
  return {s.width(), s.height()};
}

forms::Size QtPrinterCanvas::WrappedSize(const std::string& text, int width) {
  if (text.empty()) return {};
  const QRect r = painter_.boundingRect(QRect(0, 0, std::max(1, width), 1 << 24),
                                        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, Text(text));
  return {r.width(), r.height()};
}

void QtPrinterCanvas::DrawOutline(const forms::Rect& rect) { painter_.drawRect(ToQRect(rect)); }

void QtPrinterCanvas::DrawText(const forms::Rect& rect, const std::string& text, bool centred) {
  const QRect r = ToQRect(rect);
  painter_.save();
  painter_.setClipRect(r);
  painter_.drawText(r, Qt::TextWordWrap | Qt::AlignTop | (centred ? Qt::AlignHCenter : Qt::AlignLeft), Text(text));
  painter_.restore();
}

}  // namespace tavo::gui
