// The printed list's layout over a fixed font: the working values, the page
// header, row heights, cell insets and page breaks.

#include "forms/print_layout.h"

#include <gtest/gtest.h>

#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FixedFontSize;

// 6 pixels a character (7 bold), 13 a line; "W" like any other character.
class FixedMeasure : public PrintMeasure {
 public:
  explicit FixedMeasure(int line_height = 13) : line_(line_height) {}
  Size LineSize(const std::string& text, bool bold) override { return FixedFontSize(text, 1 << 20, bold ? 7 : 6, line_); }
  Size WrappedSize(const std::string& text, int width, bool bold) override {
    return FixedFontSize(text, width, bold ? 7 : 6, line_);
  }

 private:
  int line_;
};

PrintInput Input(std::vector<PrintRow> rows, Size page = {597, 800}) {
  PrintInput in;
  in.page = page;
  in.grid_width = 199;
  in.col_widths = {64, 43, 65};
  in.default_row_height = 18;
  in.screen_text_height = 13;
  in.title = "Quelvo 3.0";
  in.rows = std::move(rows);
  return in;
}

std::vector<const PrintItem*> Texts(const PrintPage& page) {
  std::vector<const PrintItem*> texts;
  for (const PrintItem& item : page.items)
    if (item.kind == PrintItem::Kind::Text) texts.push_back(&item);
  return texts;
}

TEST(PrintLayout, WorkingValuesScaleTheGridToThePage) {
  FixedMeasure measure(26);  // the printer's text twice as tall as the screen's
  const PrintMetrics m = ComputePrintMetrics(Input({}, {1194, 1600}), measure);
  EXPECT_DOUBLE_EQ(m.xs, 2.0);
  EXPECT_DOUBLE_EQ(m.ys, 2.0);
  EXPECT_EQ(m.widths, (std::array<int, 4>{130, 88, 132, 796}));
  EXPECT_EQ(m.inset_left, 2);   // R(6 x 0.3) = R(1.8)
  EXPECT_EQ(m.inset_top, 3);    // R(26 x 0.1) = R(2.6)
  EXPECT_EQ(m.row_padding, 5);  // R(26 x 0.2) = R(5.2)
}

TEST(PrintLayout, RoundingTakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(32.5), 32);
  EXPECT_EQ(RoundHalfEven(33.5), 34);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
}

TEST(PrintLayout, OnePageHasTheCentredTitleTheBoldHeaderAndTheRow) {
  FixedMeasure measure;
  const auto pages = LayoutPrintList(Input({{"21/06/2024", "07:05", "Mensal", "Comprar pão"}}), measure);
  ASSERT_EQ(pages.size(), 1u);
  const auto texts = Texts(pages[0]);
  ASSERT_EQ(texts.size(), 9u);
  const std::string title = "Quelvo 3.0 - Página: 1";
  EXPECT_EQ(texts[0]->text, title);
  EXPECT_TRUE(texts[0]->bold && texts[0]->centred);
  const int title_width = static_cast<int>(title.size() - 1) * 7;  // "á" is one character
  EXPECT_EQ(texts[0]->rect, (Rect{(597 - title_width) / 2, 0, title_width, 13}));
  // The header row starts 2.5 bold text heights below the top: R(32.5) = 32.
  const std::vector<std::string> header{"Data", "Hora", "Repetição", "Texto do Lembrete"};
  const int widths[4] = {65, 44, 66, 398};
  int x = 0;
  for (int c = 0; c < 4; ++c) {
    const PrintItem& outline = pages[0].items[1 + 2 * c];
    EXPECT_EQ(outline.kind, PrintItem::Kind::Outline);
    EXPECT_EQ(outline.rect, (Rect{x, 32, widths[c], 18}));  // short: R(18 x ys), ys = 1
    EXPECT_EQ(texts[1 + c]->text, header[c]);
    EXPECT_TRUE(texts[1 + c]->bold);
    // Inset by R(7 x 0.3) = 2 on the left and R(13 x 0.1) = 1 at the top.
    EXPECT_EQ(texts[1 + c]->rect, (Rect{x + 2, 33, widths[c] - 2, 17}));
    x += widths[c];
  }
  EXPECT_EQ(texts[5]->text, "21/06/2024");
  EXPECT_FALSE(texts[5]->bold);
  EXPECT_EQ(texts[8]->text, "Comprar pão");
  EXPECT_EQ(texts[8]->rect.top, 32 + 18 + 1);
}

TEST(PrintLayout, ATallTextRaisesItsRowByTheTextAndAPadding) {
  FixedMeasure measure;
  const auto pages = LayoutPrintList(Input({{"d", "t", "r", "uma\nduas\ntres"}, {"d", "t", "r", "curto"}}), measure);
  const auto& items = pages[0].items;
  // The first reminder row's outline follows the header's four cells.
  const PrintItem& tall = items[1 + 8];
  EXPECT_EQ(tall.rect.height, 3 * 13 + 3);  // three lines plus R(13 x 0.2)
  const PrintItem& next = items[1 + 16];
  EXPECT_EQ(next.rect.top, tall.rect.top + tall.rect.height);
  EXPECT_EQ(next.rect.height, 18);
}

TEST(PrintLayout, TextIsMeasuredAtTheWidthItIsDrawnIn) {
  FixedMeasure measure;
  // 65 wide less the inset of 2: 10 characters a line, so 11 wrap to two lines.
  const auto pages = LayoutPrintList(Input({{"12345 78901", "t", "r", "x"}}), measure);
  EXPECT_EQ(pages[0].items[1 + 8].rect.height, 2 * 13 + 3);
}

TEST(PrintLayout, RowsThatPassTheBottomStartANewPageWithTitleAndHeader) {
  FixedMeasure measure;
  std::vector<PrintRow> rows(60, PrintRow{"d", "t", "r", "texto"});
  const auto pages = LayoutPrintList(Input(rows, {597, 400}), measure);
  // Header bottom at 32 + 18 = 50; 350 / 18 = 19 rows a page.
  ASSERT_EQ(pages.size(), 4u);
  size_t printed = 0;
  for (size_t p = 0; p < pages.size(); ++p) {
    const auto texts = Texts(pages[p]);
    EXPECT_EQ(texts[0]->text, "Quelvo 3.0 - Página: " + std::to_string(p + 1));
    EXPECT_EQ(texts[4]->text, "Texto do Lembrete");
    for (const PrintItem& item : pages[p].items) EXPECT_LE(item.rect.bottom(), 400);
    printed += (texts.size() - 5) / 4;
  }
  EXPECT_EQ(printed, rows.size());
  EXPECT_EQ((Texts(pages[0]).size() - 5) / 4, 19u);
}

TEST(PrintLayout, ARowTallerThanAPageIsPrintedCutAndTheNextGoesOn) {
  FixedMeasure measure;
  std::string tall;
  for (int i = 0; i < 40; ++i) tall += "linha\n";
  const auto pages = LayoutPrintList(Input({{"d", "t", "r", tall}, {"d", "t", "r", "depois"}}, {597, 300}), measure);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(Texts(pages[0]).size(), 9u);  // title, header, the tall row on the first page
  EXPECT_EQ(Texts(pages[1]).back()->text, "depois");
}

}  // namespace
}  // namespace tavo::forms
