#include "tests/ui/ListTestFrame.h"

#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

constexpr int ROW = 20;
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GREY = RGB(191, 191, 191);

CRect UpdateRectOf(HWND hWnd)
{
    CRect rc;
    if (!GetUpdateRect(hWnd, rc, FALSE))
        rc.SetRectEmpty();
    return rc;
}

void Click(CWnd* pWnd, int x, int y)
{
    pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    pWnd->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The client area as it is on screen now, without repainting it first.
COLORREF PixelOnScreen(HWND hWnd, int x, int y)
{
    HDC hDC = GetDC(hWnd);
    COLORREF cr = GetPixel(hDC, x, y);
    ReleaseDC(hWnd, hDC);
    return cr;
}

TEST(ContentList, InitialUpdateRegistersTheViewAndScans)
{
    CTempFolder folder;
    for (const char* pszName : { "a.kda", "b.kda" })
        folder.MakeFile(pszName, ContentFileBytes(MakeContentHeader(pszName), 300));
    CListTestFrame frame(420, 320, folder.Path().c_str());
    PumpMessagesUntil([&] { return frame.m_doc.m_nEntries == 2; }, 2000);

    EXPECT_EQ(frame.m_pView, frame.m_doc.m_pListView);
    ASSERT_EQ(2, frame.m_doc.m_nEntries);
    EXPECT_EQ(CSize(530, 3 * ROW), frame.m_pView->GetTotalSize());
}

TEST(ContentList, ClickTicksOneRowAndRepaintsOnlyItAndTheTotals)
{
    CListTestFrame frame;
    frame.SetEntries(5);
    CRect rcClient;
    frame.m_pView->GetClientRect(rcClient);

    const struct
    {
        const char* pszWhere;
        int x, y;
        int nToggled;
    } cases[] = {
        { "third row", 100, ROW + 2 * ROW + 5, 2 },
        { "first row, size column", 300, ROW, 0 },
        { "last row's last pixel", 100, 6 * ROW - 1, 4 },
        { "below the last row", 100, 6 * ROW + 5, -1 },
        { "header", 100, 5, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhere);
        frame.PaintAll();
        Click(frame.m_pView, c.x, c.y);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(i == c.nToggled ? 1 : 0, frame.m_doc.m_pEntries[i].bSelected) << "entry " << i;
        if (c.nToggled < 0) {
            EXPECT_TRUE(UpdateRectOf(*frame.m_pView).IsRectEmpty());
            EXPECT_TRUE(UpdateRectOf(frame.m_totals).IsRectEmpty());
            continue;
        }
        const int nTop = (c.nToggled + 1) * ROW;
        EXPECT_EQ(CRect(0, nTop, rcClient.right, nTop + ROW - 1), UpdateRectOf(*frame.m_pView));
        CRect rcBar;
        frame.m_totals.GetClientRect(rcBar);
        EXPECT_EQ(rcBar, UpdateRectOf(frame.m_totals));
        // A second click unticks it again.
        Click(frame.m_pView, c.x, c.y);
        EXPECT_EQ(0, frame.m_doc.m_pEntries[c.nToggled].bSelected);
    }
}

TEST(ContentList, WithoutACatalogueClicksDoNothing)
{
    CListTestFrame frame;
    ASSERT_EQ(nullptr, frame.m_doc.m_pEntries);
    frame.PaintAll();
    EXPECT_EQ(0, frame.m_pView->HitTestColumnEdge(250, 10));
    Click(frame.m_pView, 250, 10);
    Click(frame.m_pView, 100, 30);
    EXPECT_TRUE(UpdateRectOf(*frame.m_pView).IsRectEmpty());
    EXPECT_TRUE(UpdateRectOf(frame.m_totals).IsRectEmpty());
}

TEST(ContentList, BorderWithinTwoPixelsStartsAResizeInsteadOfATick)
{
    CListTestFrame frame;
    frame.SetEntries(5);
    RECT rcFree;
    GetClipCursor(&rcFree);

    frame.m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(252, ROW + 5));
    EXPECT_EQ(0, frame.m_doc.m_pEntries[0].bSelected);
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_COLUMN_RESIZE)), GetCursor());
    // The cursor may not go within 3 pixels of edge 0.
    CRect rcConfined;
    GetClipCursor(rcConfined);
    CPoint ptOrigin(0, 0);
    frame.m_pView->ClientToScreen(&ptOrigin);
    EXPECT_EQ(ptOrigin.x + 3, rcConfined.left);

    frame.m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(252, ROW + 5));
    CRect rcAfter;
    GetClipCursor(rcAfter);
    EXPECT_EQ(CRect(rcFree), rcAfter);
}

TEST(ContentList, DraggingABorderResizesItsColumnAndShiftsTheOthers)
{
    CListTestFrame frame;
    frame.SetEntries(5);
    CWnd* pView = frame.m_pView;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE;
    GetScrollInfo(*pView, SB_HORZ, &si);
    const int nMaxBefore = si.nMax;

    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 50));
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(270, 50));
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(290, 50));
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(290, 50));

    const ColumnEdges nExpected = { 0, 290, 390, 570 };
    for (int i = 0; i < COLUMN_EDGE_COUNT; ++i)
        EXPECT_EQ(nExpected[i], CTarnixView::s_nColEdge[i]) << "edge " << i;
    EXPECT_EQ(570, frame.m_pView->GetTotalSize().cx);
    GetScrollInfo(*pView, SB_HORZ, &si);
    EXPECT_EQ(nMaxBefore + 40, si.nMax);
    EXPECT_EQ(0, frame.m_doc.m_pEntries[1].bSelected) << "a drag ticks nothing";

    // Once the button is up, moving the mouse resizes nothing.
    pView->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 50));
    EXPECT_EQ(290, CTarnixView::s_nColEdge[1]);
}

TEST(ContentList, ABorderStopsShortOfTheNextAndThenTrailsTheMouse)
{
    CListTestFrame frame;
    frame.SetEntries(5);
    CWnd* pView = frame.m_pView;
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(350, 50));
    // One step far past the next border: the border goes to 3 pixels short
    // of it, and the columns right of it move by as much.
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(600, 50));
    EXPECT_EQ(527, CTarnixView::s_nColEdge[2]);
    EXPECT_EQ(707, CTarnixView::s_nColEdge[3]);
    // From then on the border follows the mouse 73 pixels behind.
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(610, 50));
    EXPECT_EQ(537, CTarnixView::s_nColEdge[2]);
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 50));
    EXPECT_EQ(427, CTarnixView::s_nColEdge[2]);
    EXPECT_EQ(607, CTarnixView::s_nColEdge[3]);
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 50));
    EXPECT_EQ(250, CTarnixView::s_nColEdge[1]) << "the border left of it stays";
}

TEST(ContentList, VerticalScrollingKeepsTheHeaderInPlace)
{
    CListTestFrame frame;
    frame.SetEntries(50);
    frame.m_doc.m_pEntries[0].bSelected = 1;
    frame.PaintAll();
    const COLORREF crHighlight = GetSysColor(COLOR_HIGHLIGHT);

    // Half a row: the first entry is half under the header.
    ASSERT_TRUE(frame.m_pView->OnScrollBy(CSize(0, ROW / 2)));
    EXPECT_EQ(CPoint(0, ROW / 2), frame.m_pView->GetScrollPosition());
    // What ScrollWindow moved and the update painted at once, and then a
    // full repaint: both leave the header alone.
    for (int nPass = 0; nPass < 2; ++nPass) {
        SCOPED_TRACE(nPass == 0 ? "after the scroll" : "after a full repaint");
        if (nPass == 1)
            frame.PaintAll();
        HWND hView = *frame.m_pView;
        for (int y = 1; y < ROW - 1; ++y)
            EXPECT_EQ(GREY, PixelOnScreen(hView, 200, y)) << "header at y " << y;
        EXPECT_EQ(RGB(0, 0, 0), PixelOnScreen(hView, 200, ROW - 1)) << "header's bottom line";
        EXPECT_EQ(crHighlight, PixelOnScreen(hView, 200, ROW)) << "the first entry, half scrolled away";
        EXPECT_EQ(crHighlight, PixelOnScreen(hView, 200, ROW + ROW / 2 - 2));
        EXPECT_EQ(GREY, PixelOnScreen(hView, 200, ROW + ROW / 2 - 1)) << "its grid line";
        EXPECT_EQ(WHITE, PixelOnScreen(hView, 200, ROW + ROW / 2)) << "the second entry";
    }

    // Sideways, header and rows move together.
    ASSERT_TRUE(frame.m_pView->OnScrollBy(CSize(30, 0)));
    CWindowCapture capture(*frame.m_pView);
    EXPECT_EQ(RGB(0, 0, 0), capture.PixelAt(250 - 30 - 1, 5)) << "heading cell's right side";
    EXPECT_EQ(GREY, capture.PixelAt(250 - 30 - 1, ROW + 15)) << "column line below it";
}

TEST(ContentList, ColoursOfHeaderRowsAndGrid)
{
    CListTestFrame frame(700, 320);
    frame.SetEntries(3);
    frame.m_doc.m_pEntries[1].bSelected = 1;
    CWindowCapture capture(*frame.m_pView);
    const struct
    {
        const char* pszWhat;
        int x, y;
        COLORREF cr;
    } cases[] = {
        { "header fill", 200, 10, GREY },
        { "heading cell's white left side", 250, 10, WHITE },
        { "heading cell's white top", 200, 0, WHITE },
        { "heading cell's black right side", 249, 10, RGB(0, 0, 0) },
        { "header beyond the last column", 560, 10, GREY },
        { "unticked row", 200, ROW + 10, WHITE },
        { "ticked row", 200, 2 * ROW + 10, GetSysColor(COLOR_HIGHLIGHT) },
        { "ticked row past the columns", 560, 2 * ROW + 10, GetSysColor(COLOR_HIGHLIGHT) },
        { "row grid line", 200, 2 * ROW - 1, GREY },
        { "column line", 249, ROW + 10, GREY },
        { "column line beside a ticked row", 349, 2 * ROW + 10, GREY },
        { "below the last row", 200, 4 * ROW + 10, WHITE },
        { "no column line below the rows", 249, 4 * ROW + 10, WHITE },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cr, capture.PixelAt(c.x, c.y)) << c.pszWhat;
}

}   // namespace
