#pragma once
// What the program's owner-drawn menus (the tray menu, the alert's "Adiar"
// menu) paint alike: the system's menu font, solid fills and the margin
// with its gradient and "Quelvo" reading upwards.

#include "win32/wnd.h"

#include "forms/geometry.h"

namespace tavo::win32 {

COLORREF ColorOf(const forms::Rgb& c);
void FillColor(HDC dc, const RECT& r, COLORREF colour);
// The system's menu font (cached by Font()), bold for a menu's default item.
HFONT MenuFont(bool bold = false);
// The margin's slice beside one item: the margin runs over the items' whole
// height (`menu_height`, from the first item's top `first_top`) and each
// item paints its own part of it.
void DrawMenuMargin(HDC dc, const RECT& item, int first_top, int menu_height);

}  // namespace tavo::win32
