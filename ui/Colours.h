// The colours the main window's parts share.
#pragma once

#include <windows.h>

// The splitter bar and the bars' backgrounds.
constexpr COLORREF STEEL_BLUE = RGB(85, 126, 170);
// The list's heading row and grid, and the destination pane's caption.
constexpr COLORREF LIGHT_GREY = RGB(191, 191, 191);
