#include "forms/window_shape.h"

namespace tavo::forms {

bool ContainsEdgesIncluded(const Rect& r, Point p) {
  return p.x >= r.left && p.x <= r.left + r.width && p.y >= r.top && p.y <= r.top + r.height;
}

std::vector<ShapeRun> ShapeRuns(const IndexedPicture& picture) {
  std::vector<ShapeRun> runs;
  if (!picture.pixels) return runs;
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row = picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.stride;
    int run = 0;
    for (int x = 0; x < picture.width; ++x) {
      if (row[x] != 0) {
        ++run;
      } else if (run > 0) {
        runs.push_back({y, x - run, run});
        run = 0;
      }
    }
    if (run > 0) runs.push_back({y, picture.width - run, run});
  }
  return runs;
}

int ClickAreas::Add(const Rect& area) {
  areas_.push_back(area);
  return static_cast<int>(areas_.size()) - 1;
}

int ClickAreas::At(Point client_point) const {
  for (size_t i = 0; i < areas_.size(); ++i)
    if (ContainsEdgesIncluded(areas_[i], client_point)) return static_cast<int>(i);
  return -1;
}

HitTest ClickAreas::WMNCHitTest(Point client_point) const {
  return At(client_point) >= 0 ? kHitClient : kHitCaption;
}

HitTest ClickAreas::WMNCHitTest(Point screen_point, Point client_origin) const {
  return WMNCHitTest(Point{screen_point.x - client_origin.x, screen_point.y - client_origin.y});
}

}  // namespace tavo::forms
