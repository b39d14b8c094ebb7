#include "ui/ListGeometry.h"

#include <algorithm>

LIST_ROWSPAN ListRowSpan(int nScrollY, int nRowHeight, int nClientHeight)
{
    LIST_ROWSPAN span;
    span.nFirstRow = nScrollY / nRowHeight;
    span.nPartial = nScrollY % nRowHeight;
    // Rows that meet the client area, less the one the header covers.
    span.nVisibleRows = (span.nPartial + nClientHeight + nRowHeight - 1) / nRowHeight - 1;
    return span;
}

int ListRowsToPaint(const LIST_ROWSPAN& span, int nEntries)
{
    return std::max(0, std::min(nEntries - span.nFirstRow, span.nVisibleRows));
}

CRect ListRowRect(const CRect& rcVisible, const LIST_ROWSPAN& span, int nRowHeight, int r)
{
    const int nTop = rcVisible.top + (r + 1) * nRowHeight - span.nPartial;
    return CRect(rcVisible.left, nTop, rcVisible.right, nTop + nRowHeight);
}

CRect ListCellArea(const CRect& rcRow, const CRect& rcVisible, int nRowHeight)
{
    CRect rcCells = rcRow;
    rcCells.top = std::max<int>(rcRow.top, rcVisible.top + nRowHeight);
    return rcCells;
}

int ListRowAt(int py, int nClientTop, int nRowHeight, int nScrollY)
{
    return (py - nClientTop - nRowHeight + nScrollY) / nRowHeight;
}

int ColumnEdgeNear(const ColumnEdges& nEdges, int x)
{
    for (int i = COLUMN_EDGE_COUNT - 1; i >= 1; --i) {
        if (nEdges[i] - EDGE_GRAB_SLACK <= x && x <= nEdges[i] + EDGE_GRAB_SLACK)
            return i;
    }
    return -1;
}

int ClampDraggedEdge(const ColumnEdges& nEdges, int nEdge, int x)
{
    int nNew = std::max(x, nEdges[0] + EDGE_MIN_GAP);
    if (nEdge < COLUMN_EDGE_COUNT - 1)
        nNew = std::min(nNew, nEdges[nEdge + 1] - EDGE_MIN_GAP);
    return nNew;
}

void ShiftColumnEdges(ColumnEdges& nEdges, int nEdge, int nDelta)
{
    for (int i = nEdge; i < COLUMN_EDGE_COUNT; ++i)
        nEdges[i] += nDelta;
}
