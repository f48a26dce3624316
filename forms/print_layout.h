#pragma once
// The printed list as a computation: from the grid's design, the page size
// and measured text sizes, where every outline and every text goes on which
// page. Any canvas can draw the result; a test can check it without a printer.
//
// Each page has a bold title line with the page number, centred at the top,
// and a bold column header row 2.5 text heights below the top; then the rows
// in list order, each as tall as its tallest cell text. The table takes the
// grid's column proportions scaled to the page (the text column two thirds of
// it), and short rows the grid's default row height scaled by the ratio of
// printer to screen text heights. A row that would pass the page's bottom
// starts a new page; only a row taller than a whole page is printed cut.

#include <array>
#include <string>
#include <vector>

#include "forms/geometry.h"

namespace tavo::forms {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double v);

// Text sizes in the printer's font, plain or bold.
class PrintMeasure {
 public:
  virtual ~PrintMeasure() = default;
  virtual Size LineSize(const std::string& text, bool bold) = 0;
  virtual Size WrappedSize(const std::string& text, int width, bool bold) = 0;
};

using PrintRow = std::array<std::string, 4>;  // date, time, repetition, text

struct PrintInput {
  Size page;                       // printable area, printer pixels
  int grid_width = 0;              // on-screen grid, screen pixels
  std::array<int, 3> col_widths{};
  int default_row_height = 0;
  double screen_text_height = 0;   // height of "ÁÇ" in the grid's font on screen
  std::string title;               // the application title
  std::vector<PrintRow> rows;      // one per grid row below the header
};

struct PrintItem {
  enum class Kind { Outline, Text };
  Kind kind = Kind::Text;
  Rect rect;
  std::string text;
  bool bold = false;
  bool centred = false;
};

struct PrintPage {
  std::vector<PrintItem> items;
};

// The working values of one run, in printer pixels.
struct PrintMetrics {
  double xs = 0;                 // page width / (3 x grid width)
  double ys = 0;                 // printer / screen text height
  std::array<int, 4> widths{};   // date, time, repetition, text columns
  int inset_left = 0;            // R(width of "W" x 0.3)
  int inset_top = 0;             // R(height of "W" x 0.1)
  int row_padding = 0;           // R(height of "W" x 0.2)
};

PrintMetrics ComputePrintMetrics(const PrintInput& input, PrintMeasure& measure);

// Every page of the printed list.
std::vector<PrintPage> LayoutPrintList(const PrintInput& input, PrintMeasure& measure);

}  // namespace tavo::forms
