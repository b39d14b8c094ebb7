#include "tests/ui/ListTestFrame.h"

#include "tests/support/AnsiText.h"
#include "tests/support/PaintedText.h"
#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF STEEL_BLUE = RGB(85, 126, 170);
constexpr COLORREF CELL = RGB(212, 223, 255);

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

// The text the bar paints in its cell nID.
std::string CellText(CWnd& bar, UINT nID)
{
    return PaintedTextIn(PaintedTexts(bar), CellRect(bar, nID));
}

TEST(TotalsBar, PaintsTheTickedCountAndSizeInTheUsersLanguage)
{
    CListTestFrame frame(800, 320);
    const std::string strItems = InUsersSet("檔案選取合計", "档案选取合计");
    const std::string strSize = InUsersSet("檔案大小合計", "档案大小合计");
    const struct
    {
        std::vector<std::pair<int, int>> entries;   // tick, size in bytes
        const char* pszCount;
        const char* pszSize;
    } cases[] = {
        { {}, ": 0", ": 0 KB" },
        { { { 0, 5000 } }, ": 0", ": 0 KB" },
        { { { 1, 1 }, { 1, 1 } }, ": 2", ": 1 KB" },
        { { { 1, 1024 }, { 1, 1 } }, ": 2", ": 2 KB" },
        { { { 1, 1024 }, { 0, 4096 }, { 1, 1024 } }, ": 2", ": 2 KB" },
        { { { 1, 2000000 }, { 1, 1000000 } }, ": 2", ": 2930 KB" },
    };
    for (const auto& c : cases) {
        frame.SetEntries(static_cast<int>(c.entries.size()));
        for (size_t i = 0; i < c.entries.size(); ++i) {
            frame.m_doc.m_pEntries[i].bSelected = c.entries[i].first;
            frame.m_doc.m_pEntries[i].nSize = c.entries[i].second;
        }
        EXPECT_EQ(strItems + c.pszCount, CellText(frame.m_totals, IDC_TOTAL_ITEMS)) << c.entries.size();
        EXPECT_EQ(strSize + c.pszSize, CellText(frame.m_totals, IDC_TOTAL_SIZE)) << c.entries.size();
        EXPECT_EQ("", CellText(frame.m_totals, IDC_TOTAL_TIME)) << "the third cell stays empty";
    }
}

TEST(TotalsBar, FollowsATickOnTheListAtItsNextPaint)
{
    CListTestFrame frame(800, 320);
    frame.SetEntries(3, 5000);
    const std::string strItems = InUsersSet("檔案選取合計", "档案选取合计");
    const std::string strSize = InUsersSet("檔案大小合計", "档案大小合计");
    const struct
    {
        const char* pszCount;
        const char* pszSize;
    } clicks[] = { { ": 1", ": 5 KB" }, { ": 0", ": 0 KB" } };
    for (const auto& c : clicks) {
        frame.PaintAll();
        frame.m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
        frame.m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 25));
        EXPECT_TRUE(GetUpdateRect(frame.m_totals, nullptr, FALSE)) << "the tick invalidates the bar";
        EXPECT_EQ(strItems + c.pszCount, CellText(frame.m_totals, IDC_TOTAL_ITEMS));
        EXPECT_EQ(strSize + c.pszSize, CellText(frame.m_totals, IDC_TOTAL_SIZE));
    }
}

TEST(TotalsBar, ColumnCaptionsInTheUsersLanguage)
{
    const struct
    {
        UINT nID;
        const char* pszTraditional;
        const char* pszSimplified;
    } captions[] = {
        { IDS_COLUMN_TITLE, "書目", "书目" },
        { IDS_COLUMN_SIZE, "檔案大小", "档案大小" },
        { IDS_COLUMN_FILE_NAME, "檔案名稱", "文件名称" },
    };
    for (const auto& c : captions) {
        CString str;
        str.LoadString(c.nID);
        EXPECT_EQ(InUsersSet(c.pszTraditional, c.pszSimplified), static_cast<LPCSTR>(str)) << c.nID;
    }
}

}   // namespace
