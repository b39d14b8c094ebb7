// Private window messages between the document and the panes; both
// parameters are always 0.
#pragma once

#include <windows.h>

constexpr UINT UM_INSTALL = WM_USER + 1;       // document → destination pane: install the ticked entries
constexpr UINT UM_REFRESH = WM_USER + 2;       // document → destination pane: rebuild the tree
constexpr UINT UM_SCAN = WM_USER + 3;          // list view → itself: scan the content folder
constexpr UINT UM_SELECT_PATH = WM_USER + 4;   // destination pane → itself: build the tree
