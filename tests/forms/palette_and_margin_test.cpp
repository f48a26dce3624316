// The colour palette's geometry and marking, and the tray menu margin's
// gradient, apart from their drawing.

#include <gtest/gtest.h>

#include <set>

#include "forms/color_palette.h"
#include "forms/tray_margin.h"

namespace tavo::forms {
namespace {

TEST(ColorPalette, TwentySwatchesInTheirSquaresWithTheTableColours) {
  EXPECT_EQ(ColorPaletteRules::SwatchColor(0), 16777215);  // white
  EXPECT_EQ(ColorPaletteRules::SwatchColor(1), 0);
  EXPECT_EQ(ColorPaletteRules::SwatchColor(2), 12632256);
  EXPECT_EQ(ColorPaletteRules::SwatchColor(3), 8421504);
  EXPECT_EQ(ColorPaletteRules::SwatchColor(11), 0x808000);  // teal, row 3 column 4
  EXPECT_EQ(ColorPaletteRules::SwatchColor(17), 0xF0CAA6);  // sky blue
  EXPECT_EQ(ColorPaletteRules::SwatchRect(0), (Rect{4, 4, 16, 16}));
  EXPECT_EQ(ColorPaletteRules::SwatchRect(19), (Rect{58, 76, 16, 16}));  // row 5, column 4
  EXPECT_EQ(ColorPaletteRules::SwatchRect(ColorPaletteRules::kExtra), (Rect{58, 100, 16, 16}));
}

TEST(ColorPalette, ACurrentColourOutsideTheTableGetsTheExtraSwatchAndANarrowerOther) {
  const ColorPaletteRules yellow(0x00FFFF);
  EXPECT_FALSE(yellow.HasExtra());
  EXPECT_EQ(yellow.Marked(), 6);
  EXPECT_EQ(yellow.OtherRect(), (Rect{3, 99, 72, 18}));
  EXPECT_EQ(yellow.SwatchAt({66, 108}), ColorPaletteRules::kNone);  // no extra swatch there

  const ColorPaletteRules odd(0x123456);
  EXPECT_TRUE(odd.HasExtra());
  EXPECT_EQ(odd.Marked(), ColorPaletteRules::kExtra);
  EXPECT_EQ(odd.OtherRect().right(), 56);
  EXPECT_EQ(odd.SwatchAt({66, 108}), ColorPaletteRules::kExtra);
  EXPECT_EQ(odd.ColorOf(ColorPaletteRules::kExtra), 0x123456);
}

TEST(ColorPalette, ArrowsWalkTheSwatchesAndTheBottomStrip) {
  using Command = ColorPaletteRules::Command;
  constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
  ColorPaletteRules palette(0);  // black: row 1, column 2
  EXPECT_EQ(palette.KeyDown(kUp), Command::None);  // the top edge
  EXPECT_EQ(palette.KeyDown(kLeft), Command::Moved);
  EXPECT_EQ(palette.Marked(), 0);
  EXPECT_EQ(palette.KeyDown(kLeft), Command::None);
  EXPECT_EQ(palette.KeyDown(kDown), Command::Moved);
  EXPECT_EQ(palette.Marked(), 4);
  for (int i = 0; i < 3; ++i) palette.KeyDown(kDown);
  EXPECT_EQ(palette.Marked(), 16);
  EXPECT_EQ(palette.KeyDown(kDown), Command::Moved);  // below the swatches: "&Outra..."
  EXPECT_EQ(palette.Marked(), ColorPaletteRules::kOther);
  EXPECT_EQ(palette.KeyDown(kRight), Command::None);  // no extra swatch to its right
  EXPECT_EQ(palette.KeyDown(kUp), Command::Moved);
  EXPECT_EQ(palette.Marked(), 16);
  for (int i = 0; i < 4; ++i) palette.KeyDown(kRight);
  EXPECT_EQ(palette.Marked(), 19);
  palette.KeyDown(kDown);
  EXPECT_EQ(palette.Marked(), ColorPaletteRules::kOther);

  ColorPaletteRules odd(0x123456);  // the extra swatch sits under the last column
  odd.Mark(19);
  EXPECT_EQ(odd.KeyDown(kDown), Command::Moved);
  EXPECT_EQ(odd.Marked(), ColorPaletteRules::kExtra);
  EXPECT_EQ(odd.KeyDown(kLeft), Command::Moved);
  EXPECT_EQ(odd.Marked(), ColorPaletteRules::kOther);
  EXPECT_EQ(odd.KeyDown(kRight), Command::Moved);
  EXPECT_EQ(odd.KeyDown(kUp), Command::Moved);
  EXPECT_EQ(odd.Marked(), 19);
  palette.Mark(ColorPaletteRules::kExtra);  // not shown there: refused
  EXPECT_EQ(palette.Marked(), ColorPaletteRules::kOther);
}

TEST(ColorPalette, EnterOrSpacePicksTheMarkOrOpensTheDialogFromOther) {
  using Command = ColorPaletteRules::Command;
  ColorPaletteRules palette(0x00FFFF);
  EXPECT_EQ(palette.KeyDown(13), Command::Pick);
  EXPECT_EQ(palette.ColorOf(palette.Marked()), 0x00FFFF);
  palette.Mark(ColorPaletteRules::kOther);
  EXPECT_EQ(palette.KeyDown(32), Command::Other);
  palette.Mark(13);
  EXPECT_EQ(palette.KeyDown(32), Command::Pick);
  EXPECT_EQ(palette.KeyDown('O'), Command::Other);
  EXPECT_EQ(palette.KeyDown(27), Command::Close);
  EXPECT_EQ(palette.KeyDown('X'), Command::None);
}

TEST(ColorPalette, ColoursAreNamedByTheTableOrByTheirValues) {
  EXPECT_EQ(ColorPaletteRules::ColorName(0), "preto");
  EXPECT_EQ(ColorPaletteRules::ColorName(0x00FFFF), "amarelo");
  EXPECT_EQ(ColorPaletteRules::ColorName(0x800000), "azul-marinho");
  EXPECT_EQ(ColorPaletteRules::ColorName(0xA4A0A0), "cinza-médio");
  EXPECT_EQ(ColorPaletteRules::ColorName(0x123456), "vermelho 86, verde 52, azul 18");
  std::set<std::string> names;
  for (int k = 0; k < ColorPaletteRules::kExtra; ++k) names.insert(ColorPaletteRules::ColorName(ColorPaletteRules::SwatchColor(k)));
  EXPECT_EQ(names.size(), 20u);  // no two swatches sound alike
}

TEST(ColorPalette, TheMarkFollowsTheSwatchUnderTheMouse) {
  ColorPaletteRules palette(0);
  EXPECT_EQ(palette.Marked(), 1);
  EXPECT_TRUE(palette.MouseMoved({66, 48}));  // row 3, column 4
  EXPECT_EQ(palette.Marked(), 11);
  EXPECT_FALSE(palette.MouseMoved({67, 49}));  // the same swatch
  EXPECT_FALSE(palette.MouseMoved({21, 10}));  // between two swatches
  EXPECT_EQ(palette.Marked(), 11);
  EXPECT_EQ(palette.SwatchAt({19, 19}), 0);    // the square's last pixel
  EXPECT_EQ(palette.SwatchAt({20, 19}), ColorPaletteRules::kNone);
}

TEST(TrayMargin, GradientFromTheButtonColourToAQuarterOfIt) {
  EXPECT_EQ(MarginStartColor(), (Rgb{213, 194, 132}));
  EXPECT_EQ(MarginEndColor(), (Rgb{53, 48, 33}));
  EXPECT_EQ(MarginBandColor(0, 32), MarginStartColor());
  EXPECT_EQ(MarginBandColor(31, 32), MarginEndColor());
  EXPECT_EQ(MarginBandColor(1, 3), (Rgb{133, 121, 83}));  // 132.5 -> 133, 121, 82.5 -> 83
}

TEST(TrayMargin, BandsTakeTheHeightAtMost32AndTheRestTakesTheEndColour) {
  const Rect margin{0, 0, kMenuMarginWidth, 200};
  const auto fills = MarginGradient(margin);
  ASSERT_EQ(fills.size(), 33u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 29, 200}));  // the 3 rightmost columns are left for the edge
  EXPECT_EQ(fills[0].color, MarginEndColor());
  EXPECT_EQ(fills[1].rect, (Rect{0, 0, 29, 6}));  // 200 / 32 = 6 rows a band
  EXPECT_EQ(fills[32].rect, (Rect{0, 186, 29, 6}));
  EXPECT_EQ(MarginGradient({0, 0, 32, 1}).size(), 3u);  // at least 2 bands
  EXPECT_EQ(MarginShadowColumn(margin), 30);
  EXPECT_EQ(MarginHighlightColumn(margin), 31);
  EXPECT_EQ(MarginTextOrigin(margin), (Point{0, 195}));
}

}  // namespace
}  // namespace tavo::forms
