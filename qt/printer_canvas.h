#pragma once
// The printer as the list's printing draws on it: one QPrinter for the
// program's run (so the chosen printer stays chosen) and a painter over it
// while a document is open.

#include <QFont>
#include <QPainter>
#include <QPrinter>

#include "forms/desktop.h"

namespace tavo::gui {

class QtPrinterCanvas : public forms::PrinterCanvas {
 public:
  QtPrinterCanvas() : printer_(QPrinter::HighResolution) {}
  QPrinter& Printer() { return printer_; }

  forms::Size PageSize() override;
  void BeginDocument(const std::string& title) override;
  void NewPage() override;
  void EndDocument() override;
  void SetFont(const forms::Font& font) override;
  forms::Size LineSize(const std::string& text) override;
  forms::Size WrappedSize(const std::string& text, int width) override;
  void DrawOutline(const forms::Rect& rect) override;
  void DrawText(const forms::Rect& rect, const std::string& text, bool centred) override;

 private:
  QPrinter printer_;
  QPainter painter_;
};

}  // namespace tavo::gui
