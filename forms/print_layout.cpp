#include "forms/print_layout.h"

#include <algorithm>
#include <cmath>

namespace tavo::forms {

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

namespace {

constexpr const char* kProbe = "ÁÇ";

// The cell insets and the row padding follow the font in use (bold in the
// header row).
struct Spacing {
  int inset_left;
  int inset_top;
  int row_padding;
};

Spacing SpacingOf(PrintMeasure& measure, bool bold) {
  const Size w = measure.LineSize("W", bold);
  return {RoundHalfEven(w.width * 0.3), RoundHalfEven(w.height * 0.1), RoundHalfEven(w.height * 0.2)};
}

class Layout {
 public:
  Layout(const PrintInput& input, PrintMeasure& measure)
      : input_(input), measure_(measure), metrics_(ComputePrintMetrics(input, measure)) {}

  std::vector<PrintPage> Run() {
    StartPage();
    for (const PrintRow& row : input_.rows) {
      const int h = RowHeight(row, false);
      if (y_ + h > input_.page.height && y_ > body_top_) StartPage();
      AddRow(row, h, false);
      y_ += h;
    }
    return std::move(pages_);
  }

 private:
  void StartPage() {
    pages_.emplace_back();
    y_ = 0;
    const std::string title = input_.title + " - Página: " + std::to_string(pages_.size());
    const Size s = measure_.WrappedSize(title, input_.page.width, true);
    Page().items.push_back({PrintItem::Kind::Text, {(input_.page.width - s.width) / 2, 0, s.width, s.height}, title,
                            true, true});
    y_ += RoundHalfEven(measure_.LineSize(kProbe, true).height * 2.5);
    const PrintRow header{"Data", "Hora", "Repetição", "Texto do Lembrete"};
    const int h = RowHeight(header, true);
    AddRow(header, h, true);
    y_ += h;
    body_top_ = y_;
  }

  // The tallest cell text measured at the width it is drawn in, so that no
  // wrapped line is lost; short rows take the scaled default height.
  int RowHeight(const PrintRow& texts, bool bold) {
    const Spacing spacing = SpacingOf(measure_, bold);
    int h = 0;
    for (size_t c = 0; c < texts.size(); ++c) {
      if (texts[c].empty()) continue;
      h = std::max(h, measure_.WrappedSize(texts[c], std::max(1, metrics_.widths[c] - spacing.inset_left), bold).height);
    }
    const double default_height = input_.default_row_height * metrics_.ys;
    if (h < default_height) return RoundHalfEven(default_height);
    return h + spacing.row_padding;
  }

  void AddRow(const PrintRow& texts, int h, bool bold) {
    const Spacing spacing = SpacingOf(measure_, bold);
    int x = 0;
    for (size_t c = 0; c < texts.size(); ++c) {
      const Rect cell{x, y_, metrics_.widths[c], h};
      Page().items.push_back({PrintItem::Kind::Outline, cell, {}, bold, false});
      const Rect inner{cell.left + spacing.inset_left, cell.top + spacing.inset_top, cell.width - spacing.inset_left,
                       cell.height - spacing.inset_top};
      Page().items.push_back({PrintItem::Kind::Text, inner, texts[c], bold, false});
      x += cell.width;
    }
  }

  PrintPage& Page() { return pages_.back(); }

  const PrintInput& input_;
  PrintMeasure& measure_;
  const PrintMetrics metrics_;
  std::vector<PrintPage> pages_;
  int y_ = 0;
  int body_top_ = 0;  // y of the first reminder row on the current page
};

}  // namespace

PrintMetrics ComputePrintMetrics(const PrintInput& input, PrintMeasure& measure) {
  PrintMetrics m;
  m.xs = input.page.width / (3.0 * input.grid_width);
  m.ys = input.screen_text_height > 0 ? measure.LineSize(kProbe, false).height / input.screen_text_height : 1.0;
  for (size_t c = 0; c < input.col_widths.size(); ++c) m.widths[c] = RoundHalfEven((input.col_widths[c] + 1) * m.xs);
  m.widths[3] = RoundHalfEven(input.grid_width * m.xs * 2);
  const Spacing spacing = SpacingOf(measure, false);
  m.inset_left = spacing.inset_left;
  m.inset_top = spacing.inset_top;
  m.row_padding = spacing.row_padding;
  return m;
}

std::vector<PrintPage> LayoutPrintList(const PrintInput& input, PrintMeasure& measure) {
  return Layout(input, measure).Run();
}

}  // namespace tavo::forms
