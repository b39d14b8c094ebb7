// The framework's layout arithmetic, without windows: bars around the pane,
// splitter panes and their drag limits, scroll bars and positions.
#include "platform/framework/ControlBar.h"
#include "platform/framework/Frame.h"
#include "platform/framework/ScrollView.h"
#include "platform/framework/Splitter.h"

#include <gtest/gtest.h>

TEST(LayoutArithmetic, BarsStackFromTheirEdgesAndThePaneTakesTheRest)
{
    struct Case
    {
        std::vector<AFX_BARSLOT> bars;
        std::vector<CRect> expected;
        CRect rest;
    };
    const CRect client(0, 0, 400, 300);
    const Case cases[] = {
        { {}, {}, CRect(0, 0, 400, 300) },
        { { { TRUE, 40 }, { FALSE, 30 } }, { CRect(0, 0, 400, 40), CRect(0, 270, 400, 300) }, CRect(0, 40, 400, 270) },
        { { { FALSE, 30 }, { TRUE, 40 }, { TRUE, 10 } },
          { CRect(0, 270, 400, 300), CRect(0, 0, 400, 40), CRect(0, 40, 400, 50) },
          CRect(0, 50, 400, 270) },
        // Bars taller than the window squeeze the pane to nothing, never below.
        { { { TRUE, 200 }, { FALSE, 200 } },
          { CRect(0, 0, 400, 200), CRect(0, 200, 400, 300) },
          CRect(0, 200, 400, 200) },
    };
    for (const Case& c : cases) {
        CRect rest;
        const std::vector<CRect> rects = AfxLayoutBars(client, c.bars, rest);
        ASSERT_EQ(rects.size(), c.expected.size());
        for (size_t i = 0; i < rects.size(); ++i)
            EXPECT_EQ(rects[i], c.expected[i]) << "bar " << i;
        EXPECT_EQ(rest, c.rest);
    }
    EXPECT_EQ(AfxBarHeight(30, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM), 30 + AFX_CY_BAR_BORDER);
    EXPECT_EQ(AfxBarHeight(30, CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM), 30 + 2 * AFX_CY_BAR_BORDER);
    EXPECT_EQ(AfxBarHeight(30, CBRS_ALIGN_BOTTOM | CBRS_TOOLTIPS), 30);
}

TEST(LayoutArithmetic, SplitterPanesGetTheirIdealSizesAndTheLastTheRest)
{
    const int gap = CSplitterWnd::m_cxSplitter;
    struct Case
    {
        int nExtent;
        std::vector<int> ideal;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // The main window's split: ideal (2 x W) / 3 for the list pane.
        { 300, { 2 * 300 / 3, 300 - 2 * 300 / 3 }, { 200, 100 - gap } },
        { 301, { 2 * 301 / 3, 301 - 2 * 301 / 3 }, { 200, 101 - gap } },
        // Too little room: the first pane gives way, the last gets nothing.
        { 150, { 200, 100 }, { 150, 0 } },
        { 100, { 30, 30, 30 }, { 30, 30, 100 - 60 - 2 * gap } },
        { 1, { 0 }, { 1 } },
    };
    for (const Case& c : cases) {
        std::vector<AFX_SPLITINFO> panes(c.ideal.size());
        for (size_t i = 0; i < panes.size(); ++i)
            panes[i].nIdealSize = c.ideal[i];
        AfxLayoutSplitPanes(panes, c.nExtent, gap);
        for (size_t i = 0; i < panes.size(); ++i)
            EXPECT_EQ(panes[i].nCurSize, c.expected[i]) << "extent " << c.nExtent << " pane " << i;
    }
}

TEST(LayoutArithmetic, SplitterDragKeepsBothNeighboursAtTheirMinimum)
{
    struct Case
    {
        int nStart, nEnd, nMinBefore, nMinAfter;
        AFX_DRAGLIMITS expected;
    };
    const int gap = CSplitterWnd::m_cxSplitter;
    const Case cases[] = {
        { 0, 300, 0, 0, { 0, 300 - gap } },
        { 0, 300, 10, 20, { 10, 300 - 20 - gap } },
        { 100, 300, 10, 10, { 110, 300 - 10 - gap } },
        // Minimums that cannot both be met: the bar stays at the first one's.
        { 0, 30, 20, 20, { 20, 20 } },
    };
    for (const Case& c : cases) {
        const AFX_DRAGLIMITS limits = AfxSplitterDragLimits(c.nStart, c.nEnd, c.nMinBefore, c.nMinAfter, gap);
        EXPECT_EQ(limits.nLow, c.expected.nLow);
        EXPECT_EQ(limits.nHigh, c.expected.nHigh);
    }
}

TEST(LayoutArithmetic, ScrollBarsAppearOnlyWhenTheContentDoesNotFit)
{
    struct Case
    {
        SIZE total;
        SIZE client;
        BOOL bHorz, bVert;
    };
    const SIZE bars = { 16, 16 };
    const Case cases[] = {
        { { 100, 100 }, { 200, 200 }, FALSE, FALSE },
        { { 200, 200 }, { 200, 200 }, FALSE, FALSE },
        { { 201, 100 }, { 200, 200 }, TRUE, FALSE },
        { { 100, 300 }, { 200, 200 }, FALSE, TRUE },
        // A bar in one direction narrows the other until it needs one too.
        { { 201, 190 }, { 200, 200 }, TRUE, TRUE },
        { { 190, 201 }, { 200, 200 }, TRUE, TRUE },
        { { 0, 0 }, { 0, 0 }, FALSE, FALSE },
    };
    for (const Case& c : cases) {
        const AFX_SCROLLBARS need = AfxNeededScrollBars(c.total, c.client, bars);
        EXPECT_EQ(need.bHorz, c.bHorz) << c.total.cx << "x" << c.total.cy;
        EXPECT_EQ(need.bVert, c.bVert) << c.total.cx << "x" << c.total.cy;
    }
}

TEST(LayoutArithmetic, ScrollLimitsPositionsAndDefaultAmounts)
{
    // Range 0..total-1 with the visible part as page, as the views set it.
    EXPECT_EQ(AfxScrollLimit(0, 999, 200), 800);
    EXPECT_EQ(AfxScrollLimit(0, 99, 200), 0);
    EXPECT_EQ(AfxScrollLimit(0, 99, 0), 99);
    EXPECT_EQ(AfxScrollLimit(0, 0, 0), 0);

    struct Case
    {
        int nPos, nDelta, nLimit, expected;
    };
    const Case cases[] = {
        { 0, 10, 800, 10 }, { 795, 10, 800, 800 }, { 5, -10, 800, 0 }, { 0, 10, 0, 0 }, { 300, -100, 800, 200 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(AfxClampScrollPos(c.nPos, c.nDelta, c.nLimit), c.expected);

    EXPECT_EQ(AfxDefaultPageSize(CSize(530, 2000)), CSize(53, 200));
    EXPECT_EQ(AfxDefaultLineSize(CSize(53, 200)), CSize(5, 20));
}
