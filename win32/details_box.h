#pragma once
// A message box with details: the icon and the text as MessageBox shows
// them, and below them the detail lines in a read-only edit that scrolls,
// named "Detalhes" for screen readers. A dialog of the standard class
// (#32770), made from a template in memory.

#include <windows.h>

#include <string>

#include "win32/application.h"

namespace tavo::win32 {

// Shows the box and returns when it is closed (OK, Enter, Escape).
void ShowDetailsBox(HWND owner, const std::string& text, const std::string& details, BoxIcon icon,
                    BoxModality modality);

}  // namespace tavo::win32
