// The arithmetic of the content list: which rows a scrolled window shows
// and where, which column border a point grabs, and how far a dragged
// border may go. Logical coordinates are pixels of the whole table, the
// header row included; the header itself never scrolls vertically.
#pragma once

#include "platform/framework/Geometry.h"

constexpr int COLUMN_COUNT = 3;
constexpr int COLUMN_EDGE_COUNT = COLUMN_COUNT + 1;
using ColumnEdges = int[COLUMN_EDGE_COUNT];

// A border is grabbed within this many pixels on either side.
constexpr int EDGE_GRAB_SLACK = 2;
// A dragged border stays this many pixels away from its neighbours.
constexpr int EDGE_MIN_GAP = 3;

// The entry rows of a window scrolled down by nScrollY: the first entry
// shown, how many of its pixels are scrolled away under the header, and
// how many rows the body has room for.
struct LIST_ROWSPAN
{
    int nFirstRow;
    int nPartial;
    int nVisibleRows;
};
LIST_ROWSPAN ListRowSpan(int nScrollY, int nRowHeight, int nClientHeight);

// How many of the visible rows hold an entry.
int ListRowsToPaint(const LIST_ROWSPAN& span, int nEntries);

// Row r of the span (0 = the first entry shown), full width, in logical
// coordinates; rcVisible is the client area shifted by the scroll position.
CRect ListRowRect(const CRect& rcVisible, const LIST_ROWSPAN& span, int nRowHeight, int r);

// The part of a row its cells may paint: never above the header's bottom.
CRect ListCellArea(const CRect& rcRow, const CRect& rcVisible, int nRowHeight);

// The entry index under client y coordinate py of the body.
int ListRowAt(int py, int nClientTop, int nRowHeight, int nScrollY);

// The border (1 to 3, the rightmost first) within the grab slack of
// logical x, or -1. Edge 0 cannot be grabbed.
int ColumnEdgeNear(const ColumnEdges& nEdges, int x);

// Where border nEdge goes for the mouse at logical x: at least the gap
// right of edge 0 and, for an inner border, at least the gap left of the
// next one.
int ClampDraggedEdge(const ColumnEdges& nEdges, int nEdge, int x);

// Moves border nEdge and every border right of it by nDelta, so the
// columns to the right keep their widths.
void ShiftColumnEdges(ColumnEdges& nEdges, int nEdge, int nDelta);
