#pragma once
// <windows.h> for the files of this front-end, without the macros that would
// rename the rules' own methods (Desktop::CreateWindow, PlaySound,
// PrinterCanvas::DrawText) wherever it is included, and without min and max.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateWindow
#undef DrawText
#undef PlaySound
