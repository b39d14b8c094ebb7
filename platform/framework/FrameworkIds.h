// Command and window ids the framework gives a meaning to. Plain defines, so
// that resource scripts can include this file as well.
#pragma once

#define ID_FILE_NEW   0xE100
#define ID_FILE_OPEN  0xE101
#define ID_FILE_SAVE  0xE103
#define ID_EDIT_COPY  0xE122
#define ID_EDIT_CUT   0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO  0xE12B
#define ID_APP_ABOUT  0xE140
#define ID_APP_EXIT   0xE141
#define ID_NEXT_PANE  0xE150
#define ID_PREV_PANE  0xE151

// The window that fills a frame's client area between its bars; the panes
// of a splitter count on from here (row * 16 + column).
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST  0xE9FF

// Text of the box that reports a failure no handler caught, before the
// program ends; the program's resources give it in each language set.
#define AFX_IDP_UNCAUGHT_FAILURE 0xF108
