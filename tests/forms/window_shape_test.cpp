#include "forms/window_shape.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavo::forms {
namespace {

// A picture from rows of digits, one palette index per character.
struct Picture {
  std::vector<uint8_t> bytes;
  int width = 0;
  int height = 0;
  explicit Picture(std::vector<const char*> rows) {
    height = static_cast<int>(rows.size());
    width = height ? static_cast<int>(std::char_traits<char>::length(rows[0])) : 0;
    for (const char* row : rows)
      for (int x = 0; x < width; ++x) bytes.push_back(static_cast<uint8_t>(row[x] - '0'));
  }
  IndexedPicture TopDown() const { return {bytes.data(), width, height, width}; }
};

TEST(ShapeRuns, RowsSplitAtIndexZeroAndRunsReachTheRightEdge) {
  Picture p({"0110120",   // two runs, the hole between them
             "0000000",   // no run
             "3000001",   // a pixel at each edge
             "1111111"});  // the whole row
  EXPECT_EQ(ShapeRuns(p.TopDown()),
            (std::vector<ShapeRun>{{0, 1, 2}, {0, 4, 2}, {2, 0, 1}, {2, 6, 1}, {3, 0, 7}}));
}

TEST(ShapeRuns, PaddedAndBottomUpRowsGiveTheSameRuns) {
  // Rows of 3 pixels stored 4 bytes apart, bottom row first as in a Windows DIB.
  const std::vector<uint8_t> bottom_up = {0, 5, 5, 9,   // row 1 (bottom), padding 9
                                          5, 0, 5, 9};  // row 0 (top)
  IndexedPicture picture{bottom_up.data() + 4, 3, 2, -4};
  EXPECT_EQ(ShapeRuns(picture), (std::vector<ShapeRun>{{0, 0, 1}, {0, 2, 1}, {1, 1, 2}}));
}

TEST(ShapeRuns, NoPictureGivesNoRegion) {
  EXPECT_TRUE(ShapeRuns(IndexedPicture{}).empty());
  Picture empty({});
  EXPECT_TRUE(ShapeRuns(empty.TopDown()).empty());
}

TEST(ClickAreas, EdgesBelongToTheExceptionAndOnePixelBeyondDrags) {
  ClickAreas areas;
  areas.Add(kHideArea);  // 384..406 x 13..35
  EXPECT_EQ(areas.WMNCHitTest(Point{384, 13}), kHitClient);
  EXPECT_EQ(areas.WMNCHitTest(Point{406, 35}), kHitClient);  // right and bottom edge
  EXPECT_EQ(areas.WMNCHitTest(Point{407, 20}), kHitCaption);
  EXPECT_EQ(areas.WMNCHitTest(Point{390, 36}), kHitCaption);
  EXPECT_EQ(areas.WMNCHitTest(Point{383, 20}), kHitCaption);
  EXPECT_EQ(areas.WMNCHitTest(Point{390, 12}), kHitCaption);
}

TEST(ClickAreas, TellsWhichExceptionWasHit) {
  ClickAreas areas;
  const int hide = areas.Add(kHideArea);
  const int info = areas.Add(Rect{40, 200, 300, 16});
  EXPECT_EQ(areas.At(Point{395, 20}), hide);
  EXPECT_EQ(areas.At(Point{340, 216}), info);
  EXPECT_EQ(areas.At(Point{10, 10}), -1);
  EXPECT_EQ(ClickAreas().WMNCHitTest(Point{0, 0}), kHitCaption);  // a window without exceptions drags anywhere
}

TEST(ClickAreas, ScreenPointsLeftOfAndAboveThePrimaryMonitor) {
  ClickAreas areas;
  areas.Add(kExpandArea);                 // 226..250 x 180..206
  const Point origin{-1500, -700};        // window on a monitor up and to the left
  EXPECT_EQ(areas.WMNCHitTest(Point{-1500 + 250, -700 + 206}, origin), kHitClient);
  EXPECT_EQ(areas.WMNCHitTest(Point{-1500 + 251, -700 + 206}, origin), kHitCaption);
  EXPECT_EQ(areas.WMNCHitTest(Point{-1490, -690}, origin), kHitCaption);
}

}  // namespace
}  // namespace tavo::forms
