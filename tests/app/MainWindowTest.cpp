// The main window made as the program makes it, in this process: its menu
// in the user's language, the command bar's tool tips, and the colours and
// pictures a user sees.
#include "tests/app/MainWindowStart.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowCapture.h"
#include "ui/Colours.h"
#include "ui/MainFrame.h"
#include "ui/TarnixView.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = StartMainWindow(m_app);
        ASSERT_NE(nullptr, m_pFrame);
        m_pFrame->MoveWindow(0, 0, 760, 480);
        m_app.OnIdle(0);
        PumpMessagesFor(200);
    }
    void TearDown() override
    {
        if (m_pFrame != nullptr && ::IsWindow(*m_pFrame))
            m_pFrame->DestroyWindow();
        TakeQuitMessage();
    }

    // The client rectangle of a child in the frame's client coordinates.
    CRect RectInFrame(HWND hChild) const
    {
        CRect rc;
        ::GetWindowRect(hChild, rc);
        ::MapWindowPoints(nullptr, *m_pFrame, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    CWinApp m_app;
    CMainFrame* m_pFrame = nullptr;
};

// Read as the menu holds it, so that a character the code page lacks fails
// rather than turning into a '?' that the expected text has too.
std::string MenuText(HMENU hMenu, UINT nPosition)
{
    wchar_t szText[128] = {};
    ::GetMenuStringW(hMenu, nPosition, szText, ARRAYSIZE(szText), MF_BYPOSITION);
    return AnsiFromWide(szText);
}

TEST_F(MainWindowTest, TheMenuInTheUsersLanguage)
{
    HMENU hMenu = ::GetMenu(*m_pFrame);
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(InUsersSet("檔案", "档案"), MenuText(hMenu, 0));
    EXPECT_EQ(InUsersSet("&輔助", "&辅助"), MenuText(hMenu, 1));
    HMENU hFile = ::GetSubMenu(hMenu, 0);
    const struct
    {
        UINT nPosition;
        const char* pszTraditional;
        const char* pszSimplified;
        UINT nId;
    } items[] = {
        { 0, "重新整理\tF5", "重新整理\tF5", ID_REFRESH },
        { 2, "全部選取\tCtrl+A", "全部选取\tCtrl+A", ID_SELECT_ALL },
        { 3, "取消選取", "取消选取", ID_SELECT_NONE },
        { 5, "離開", "离开", ID_APP_EXIT },
    };
    for (const auto& item : items) {
        EXPECT_EQ(InUsersSet(item.pszTraditional, item.pszSimplified), MenuText(hFile, item.nPosition));
        EXPECT_EQ(item.nId, ::GetMenuItemID(hFile, item.nPosition));
    }
    EXPECT_EQ(MFT_SEPARATOR, ::GetMenuState(hFile, 1, MF_BYPOSITION) & MFT_SEPARATOR);
    HMENU hHelp = ::GetSubMenu(hMenu, 1);
    EXPECT_EQ(InUsersSet("關於 Lexora字庫安裝程式...", "关于 Lexora字库安装程序..."), MenuText(hHelp, 0));
    EXPECT_EQ(UINT(ID_APP_ABOUT), ::GetMenuItemID(hHelp, 0));
}

struct ToolTipSearch
{
    TTTOOLINFOA tool;
    HWND hFound;
};

BOOL CALLBACK FindToolTip(HWND hCandidate, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<ToolTipSearch*>(lParam);
    char szClass[64] = {};
    ::GetClassNameA(hCandidate, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) == 0
        && ::SendMessageA(hCandidate, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&pSearch->tool)))
        pSearch->hFound = hCandidate;
    return pSearch->hFound == nullptr ? TRUE : FALSE;
}

// The thread's tool tip control that has a tool for hControl of hWnd.
HWND ToolTipFor(HWND hWnd, HWND hControl)
{
    ToolTipSearch search = {};
    search.tool.cbSize = TTTOOLINFOA_V2_SIZE;
    search.tool.hwnd = hWnd;
    search.tool.uId = reinterpret_cast<UINT_PTR>(hControl);
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindToolTip, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

TEST_F(MainWindowTest, TheButtonsToolTips)
{
    const HWND hBar = m_pFrame->m_commandBar;
    const HWND hToolTip = ToolTipFor(hBar, ::GetDlgItem(hBar, ID_INSTALL));
    ASSERT_NE(nullptr, hToolTip) << "the bar's buttons have tips";
    const struct
    {
        UINT nId;
        const char* pszTraditional;
        const char* pszSimplified;
    } tips[] = {
        { ID_SELECT_ALL, "全部選取", "全部选取" },
        { ID_SELECT_NONE, "取消選取", "取消选取" },
        { ID_INSTALL, "安裝 Lexora字庫", "安装 Lexora字库" },
    };
    EXPECT_EQ(3, ::SendMessageA(hToolTip, TTM_GETTOOLCOUNT, 0, 0)) << "one tool a button";
    for (const auto& tip : tips) {
        // As the control asks the bar when the mouse rests on a button.
        char szText[160] = {};
        TTTOOLINFOA ansi = {};
        ansi.cbSize = TTTOOLINFOA_V2_SIZE;
        ansi.hwnd = hBar;
        ansi.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(hBar, tip.nId));
        ansi.lpszText = szText;
        ASSERT_TRUE(::SendMessageA(hToolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ansi))) << tip.nId;
        EXPECT_TRUE(ansi.uFlags & TTF_IDISHWND) << "the tip follows the button wherever it is";
        EXPECT_EQ(LPSTR_TEXTCALLBACKA, ansi.lpszText) << "the text asked for each time";
        ansi.lpszText = szText;
        ::SendMessageA(hToolTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&ansi));
        EXPECT_EQ(InUsersSet(tip.pszTraditional, tip.pszSimplified), szText) << tip.nId;

        // A wide request, as a Unicode tool tip control makes it.
        NMTTDISPINFOW wide = {};
        wide.hdr.idFrom = ansi.uId;
        wide.hdr.code = TTN_NEEDTEXTW;
        ::SendMessageA(hBar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
        EXPECT_EQ(InUsersSet(tip.pszTraditional, tip.pszSimplified), AnsiFromWide(wide.lpszText)) << tip.nId;
    }
}

// Each part in the pane's client coordinates.
CRect RectInPane(HWND hPane, UINT nId)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(hPane, nId), rc);
    ::MapWindowPoints(nullptr, hPane, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(MainWindowTest, TheDestinationPaneIsLaidOutByItsInitialUpdate)
{
    const HWND hPane = m_pFrame->m_splitter.GetPane(0, 1)->m_hWnd;
    // The label and the tree where the dialog template puts them; a new
    // document does not resize the pane, its initial update lays it out.
    ::MoveWindow(::GetDlgItem(hPane, IDC_PATH_LABEL), 6, 11, 270, 13, FALSE);
    ::MoveWindow(::GetDlgItem(hPane, IDC_DEST_TREE), 6, 28, 270, 117, FALSE);
    m_app.OnFileNew();

    CRect rcClient;
    ::GetClientRect(hPane, rcClient);
    const CRect rcLabel = RectInPane(hPane, IDC_PATH_LABEL);
    const CRect rcTree = RectInPane(hPane, IDC_DEST_TREE);
    EXPECT_EQ(CRect(0, 20, rcClient.right, 20 + rcLabel.Height()), rcLabel) << "under the caption strip";
    EXPECT_EQ(CRect(0, rcLabel.bottom + 2, rcClient.right, rcClient.bottom), rcTree) << "down to the bottom edge";
}

TEST_F(MainWindowTest, TheColoursAndPicturesOfTheWindow)
{
    const HWND hList = m_pFrame->m_splitter.GetPane(0, 0)->m_hWnd;
    const HWND hPane = m_pFrame->m_splitter.GetPane(0, 1)->m_hWnd;
    const HWND hBar = m_pFrame->m_commandBar;
    const HWND hInstall = ::GetDlgItem(hBar, ID_INSTALL);
    ASSERT_FALSE(::IsWindowEnabled(hInstall)) << "nothing is ticked";
    CWindowCapture capture(*m_pFrame);
    const CRect rcList = RectInFrame(hList);
    const CRect rcPane = RectInFrame(hPane);
    const CRect rcBar = RectInFrame(hBar);
    const CRect rcTotals = RectInFrame(m_pFrame->m_totalsBar);
    const CRect rcLabel = RectInFrame(::GetDlgItem(hPane, IDC_PATH_LABEL));
    const struct
    {
        const char* pszWhat;
        int x, y;
        COLORREF cr;
    } pixels[] = {
        { "the splitter bar", (rcList.right + rcPane.left) / 2, rcList.top + 40, STEEL_BLUE },
        { "the command bar", rcBar.right - 5, rcBar.top + 5, STEEL_BLUE },
        { "the totals bar", rcTotals.right - 5, rcTotals.bottom - 5, STEEL_BLUE },
        { "the list's heading row", rcList.left + 120, rcList.top + 10, LIGHT_GREY },
        { "the pane's caption strip", rcPane.left + 120, rcPane.top + 10, LIGHT_GREY },
        { "the path label", rcLabel.right - 3, (rcLabel.top + rcLabel.bottom) / 2, RGB(255, 255, 255) },
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.cr, capture.PixelAt(p.x, p.y)) << p.pszWhat;

    // Each button shows its own picture: up, or disabled for INS.
    const struct
    {
        UINT nId;
        const char* pszBitmap;
    } buttons[] = { { ID_SELECT_ALL, "ALLU" }, { ID_SELECT_NONE, "NONEU" }, { ID_INSTALL, "INSX" } };
    for (const auto& b : buttons) {
        const CRect rcButton = RectInFrame(::GetDlgItem(hBar, b.nId));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(b.pszBitmap));
        BITMAP bm = {};
        bitmap.GetBitmap(&bm);
        EXPECT_EQ(bm.bmWidth, rcButton.Width()) << b.pszBitmap << ": sized to its picture";
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        CSelectedObject selected(&memory, &bitmap);
        int nDiffering = 0;
        for (int y = 0; y < bm.bmHeight; ++y) {
            for (int x = 0; x < bm.bmWidth; ++x)
                nDiffering += ::GetPixel(memory, x, y) != capture.PixelAt(rcButton.left + x, rcButton.top + y);
        }
        EXPECT_EQ(0, nDiffering) << b.pszBitmap;
    }
}

}   // namespace
