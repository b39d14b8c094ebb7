#include "ui/ListGeometry.h"

#include <gtest/gtest.h>

namespace {

constexpr int ROW = 20;

TEST(ListGeometry, RowsOfAScrolledWindow)
{
    const struct
    {
        int nScrollY, nClientHeight, nEntries, nFirst, nPartial, nVisible, nPainted;
    } cases[] = {
        { 0, 100, 50, 0, 0, 4, 4 },                                // header + 4 whole rows
        { 10, 100, 50, 0, 10, 5, 5 },                              // half a row under the header: one more row shows
        { 45, 101, 50, 2, 5, 5, 5 },  { 0, 100, 2, 0, 0, 4, 2 },   // fewer entries than room
        { 60, 100, 5, 3, 0, 4, 2 },                                // scrolled down: only the entries left
        { 0, 15, 5, 0, 0, 0, 0 },                                  // not even the header fits
    };
    for (const auto& c : cases) {
        const LIST_ROWSPAN span = ListRowSpan(c.nScrollY, ROW, c.nClientHeight);
        EXPECT_EQ(c.nFirst, span.nFirstRow) << c.nScrollY;
        EXPECT_EQ(c.nPartial, span.nPartial) << c.nScrollY;
        EXPECT_EQ(c.nVisible, span.nVisibleRows) << c.nScrollY;
        EXPECT_EQ(c.nPainted, ListRowsToPaint(span, c.nEntries)) << c.nScrollY;
    }
}

TEST(ListGeometry, APartlyScrolledRowNeverReachesTheHeader)
{
    const CRect rcVisible(0, 10, 300, 110);   // scrolled down by 10
    const LIST_ROWSPAN span = ListRowSpan(10, ROW, rcVisible.Height());
    const CRect rcRow = ListRowRect(rcVisible, span, ROW, 0);
    EXPECT_EQ(CRect(0, 20, 300, 40), rcRow);
    EXPECT_EQ(CRect(0, 30, 300, 40), ListCellArea(rcRow, rcVisible, ROW));
    const CRect rcNext = ListRowRect(rcVisible, span, ROW, 1);
    EXPECT_EQ(rcNext, ListCellArea(rcNext, rcVisible, ROW));
}

TEST(ListGeometry, ClickRowFromClientY)
{
    const struct
    {
        int py, nScrollY, nRow;
    } cases[] = {
        { 20, 0, 0 }, { 39, 0, 0 }, { 40, 0, 1 }, { 20, 10, 0 }, { 30, 10, 1 }, { 25, 200, 10 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nRow, ListRowAt(c.py, 0, ROW, c.nScrollY)) << c.py << " scrolled " << c.nScrollY;
}

TEST(ListGeometry, BordersWithinTwoPixelsAreGrabbed)
{
    const ColumnEdges nEdges = { 0, 250, 350, 530 };
    const struct
    {
        int x, nEdge;
    } cases[] = {
        { 0, -1 },   { 1, -1 },  { 247, -1 }, { 248, 1 }, { 250, 1 }, { 252, 1 },
        { 253, -1 }, { 348, 2 }, { 352, 2 },  { 528, 3 }, { 532, 3 }, { 533, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nEdge, ColumnEdgeNear(nEdges, c.x)) << "x " << c.x;

    // Borders closer than the slack: the rightmost wins.
    const ColumnEdges nClose = { 0, 250, 253, 530 };
    EXPECT_EQ(2, ColumnEdgeNear(nClose, 251));
}

TEST(ListGeometry, DraggedBorderKeepsItsGaps)
{
    const ColumnEdges nEdges = { 0, 250, 350, 530 };
    const struct
    {
        int nEdge, x, nNew;
    } cases[] = {
        { 1, 290, 290 }, { 1, 400, 347 }, { 1, -50, 3 }, { 2, 600, 527 }, { 3, 2000, 2000 }, { 3, 1, 3 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nNew, ClampDraggedEdge(nEdges, c.nEdge, c.x)) << "edge " << c.nEdge << " to " << c.x;
}

TEST(ListGeometry, ShiftingABorderMovesTheColumnsRightOfIt)
{
    ColumnEdges nEdges = { 0, 250, 350, 530 };
    ShiftColumnEdges(nEdges, 2, -30);
    EXPECT_EQ(0, nEdges[0]);
    EXPECT_EQ(250, nEdges[1]);
    EXPECT_EQ(320, nEdges[2]);
    EXPECT_EQ(500, nEdges[3]);
}

}   // namespace
