#include "win32/menu_drawing.h"

#include "forms/tray_margin.h"
#include "win32/wnd.h"

namespace tavo::win32 {

COLORREF ColorOf(const forms::Rgb& c) {
  return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

void FillColor(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

HFONT MenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const int height = metrics.lfMenuFont.lfHeight < 0 ? -metrics.lfMenuFont.lfHeight : 11;
  return Font(metrics.lfMenuFont.lfFaceName[0] ? metrics.lfMenuFont.lfFaceName : L"MS Sans Serif", height, bold);
}

void DrawMenuMargin(HDC dc, const RECT& item, int first_top, int menu_height) {
  const forms::Rect margin{item.left, first_top, forms::kMenuMarginWidth, menu_height};
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, item.left, item.top, item.left + forms::kMenuMarginWidth, item.bottom);
  for (const forms::MarginFill& fill : forms::MarginGradient(margin))
    FillColor(dc, RECT{fill.rect.left, fill.rect.top, fill.rect.right(), fill.rect.bottom()}, ColorOf(fill.color));
  FillColor(dc, RECT{margin.right() - 3, item.top, margin.right(), item.bottom}, ::GetSysColor(COLOR_MENU));
  const int shadow = forms::MarginShadowColumn(margin), light = forms::MarginHighlightColumn(margin);
  FillColor(dc, RECT{shadow, item.top, shadow + 1, item.bottom}, ::GetSysColor(COLOR_BTNSHADOW));
  FillColor(dc, RECT{light, item.top, light + 1, item.bottom}, ::GetSysColor(COLOR_BTNHIGHLIGHT));

  // "Quelvo" in white bold italic Times New Roman of 18 points, turned by 90 degrees.
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(18, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfEscapement = 900;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = TRUE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"Times New Roman", LF_FACESIZE);
  HFONT turned = ::CreateFontIndirectW(&lf);
  HGDIOBJ old = ::SelectObject(dc, turned);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  const forms::Point origin = forms::MarginTextOrigin(margin);
  ::IntersectClipRect(dc, margin.left, margin.top, margin.right(), margin.bottom());
  ::TextOutW(dc, origin.x, origin.y, L"Quelvo", 6);
  ::SelectObject(dc, old);
  ::DeleteObject(turned);
  ::RestoreDC(dc, saved);
}

}  // namespace tavo::win32
