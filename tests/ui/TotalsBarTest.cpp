#include "tests/ui/ListTestFrame.h"

#include "tests/support/AnsiText.h"
#include "tests/support/WindowCapture.h"
#include "ui/TickedTotals.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF STEEL_BLUE = RGB(85, 126, 170);
constexpr COLORREF CELL = RGB(212, 223, 255);

bool Simplified()
{
    // The locale of the test run picks the language set.
    return GetACP() == 936;
}

std::string Text(const char* pszTraditional, const char* pszSimplified)
{
    return AnsiFromUtf8(Simplified() ? pszSimplified : pszTraditional);
}

CString Loaded(UINT nID)
{
    CString str;
    str.LoadString(nID);
    return str;
}

TEST(TotalsBar, CellTextsInTheUsersLanguage)
{
    CWinApp app;
    const CString strItems = Loaded(IDS_TOTAL_ITEMS);
    const CString strSize = Loaded(IDS_TOTAL_SIZE);
    const struct
    {
        std::vector<std::pair<int, int>> entries;
        const char* pszCount;
        const char* pszSize;
    } cases[] = {
        { {}, ": 0", ": 0 KB" },
        { { { 1, 1 }, { 1, 1 } }, ": 2", ": 1 KB" },
        { { { 1, 1024 }, { 1, 1 } }, ": 2", ": 2 KB" },
    };
    for (const auto& c : cases) {
        std::vector<ContentEntry> entries(c.entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            entries[i].bSelected = c.entries[i].first;
            entries[i].nSize = c.entries[i].second;
        }
        const TICKED_TOTALS totals = SumTickedEntries(entries.data(), static_cast<int>(entries.size()));
        EXPECT_EQ(Text("檔案選取合計", "档案选取合计") + c.pszCount,
                  static_cast<LPCSTR>(FormatCountCell(strItems, totals.nCount)));
        EXPECT_EQ(Text("檔案大小合計", "档案大小合计") + c.pszSize,
                  static_cast<LPCSTR>(FormatSizeCell(strSize, totals.ullBytes)));
    }
}

TEST(TotalsBar, ColumnCaptionsInTheUsersLanguage)
{
    EXPECT_EQ(Text("書目", "书目"), static_cast<LPCSTR>(Loaded(IDS_COLUMN_TITLE)));
    EXPECT_EQ(Text("檔案大小", "档案大小"), static_cast<LPCSTR>(Loaded(IDS_COLUMN_SIZE)));
    EXPECT_EQ(Text("檔案名稱", "文件名称"), static_cast<LPCSTR>(Loaded(IDS_COLUMN_FILE_NAME)));
}

// The rectangle of the bar's hidden static nID in the bar's client area.
CRect CellRect(CWnd& bar, UINT nID)
{
    CRect rc;
    bar.GetDlgItem(nID)->GetWindowRect(rc);
    bar.ScreenToClient(rc);
    return rc;
}

TEST(TotalsBar, RaisedCellsOnTheSteelBlueBar)
{
    CListTestFrame frame(800, 320);
    CWnd& bar = frame.m_totals;
    const CRect rcItems = CellRect(bar, IDC_TOTAL_ITEMS);
    const CRect rcTime = CellRect(bar, IDC_TOTAL_TIME);
    ASSERT_FALSE(bar.GetDlgItem(IDC_TOTAL_ITEMS)->IsWindowVisible());
    CWindowCapture capture(bar);
    const struct
    {
        const char* pszWhat;
        int x, y;
        COLORREF cr;
    } cases[] = {
        { "background left of the cells", 1, rcItems.top + 5, STEEL_BLUE },
        { "cell's white left side", rcItems.left, rcItems.top + 5, RGB(255, 255, 255) },
        { "cell's white top", rcItems.right - 5, rcItems.top, RGB(255, 255, 255) },
        { "cell's shadow right side", rcItems.right - 1, rcItems.top + 5, RGB(41, 63, 86) },
        { "cell's shadow bottom", rcItems.right - 5, rcItems.bottom - 1, RGB(41, 63, 86) },
        { "inside the cell, past its text", rcItems.right - 3, rcItems.top + 3, CELL },
        { "the third static shows only background", (rcTime.left + rcTime.right) / 2, rcTime.top + 5, STEEL_BLUE },
        { "background right of the cells", rcTime.right + 5, rcItems.top + 5, STEEL_BLUE },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cr, capture.PixelAt(c.x, c.y)) << c.pszWhat;
}

// The pixels of a cell, to see whether its text changed.
std::vector<COLORREF> CellPixels(CWnd& bar, UINT nID)
{
    const CRect rc = CellRect(bar, nID);
    CWindowCapture capture(bar);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(capture.PixelAt(x, y));
    return pixels;
}

TEST(TotalsBar, RecomputesFromTheDocumentOnEveryErase)
{
    CListTestFrame frame(800, 320);
    frame.SetEntries(3, 5000);
    const auto countBefore = CellPixels(frame.m_totals, IDC_TOTAL_ITEMS);
    const auto sizeBefore = CellPixels(frame.m_totals, IDC_TOTAL_SIZE);
    frame.m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
    frame.m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 25));
    EXPECT_NE(countBefore, CellPixels(frame.m_totals, IDC_TOTAL_ITEMS)) << "0 became 1";
    EXPECT_NE(sizeBefore, CellPixels(frame.m_totals, IDC_TOTAL_SIZE)) << "0 KB became 5 KB";
    frame.m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
    frame.m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 25));
    EXPECT_EQ(countBefore, CellPixels(frame.m_totals, IDC_TOTAL_ITEMS)) << "back to 0";
}

}   // namespace
