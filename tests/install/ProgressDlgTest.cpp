// The progress dialog and its monitor as the installation drives them and
// as the user sees them: percentages, the scaled bar, Cancel, and the main
// window out of reach while the dialog is up.
#include "install/ProgressMonitor.h"
#include "res/resource.h"
#include "tests/support/MessagePump.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>

namespace {

class ProgressTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        m_app.m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        m_monitor.End(1);
        m_app.m_pMainWnd = nullptr;
        m_main.DestroyWindow();
    }

    HWND Dialog() const { return m_monitor.m_pDlg != nullptr ? m_monitor.m_pDlg->m_hWnd : nullptr; }

    std::string Percent() const
    {
        char szText[32] = {};
        ::GetDlgItemTextA(Dialog(), IDC_PERCENT, szText, sizeof(szText));
        return szText;
    }

    LRESULT Bar(UINT nMessage, WPARAM wParam = 0) const
    {
        return ::SendDlgItemMessageA(Dialog(), IDC_PROGRESS_BAR, nMessage, wParam, 0);
    }

    CWinApp m_app;
    CWnd m_main;
    CProgressMonitor m_monitor;
};

TEST_F(ProgressTest, ThePercentageAsTheBarMoves)
{
    m_monitor.Begin("Coping a.kda", &m_main, 200);
    ASSERT_NE(nullptr, Dialog());
    char szCaption[64] = {};
    ::GetWindowTextA(Dialog(), szCaption, sizeof(szCaption));
    EXPECT_STREQ("Coping a.kda", szCaption);
    EXPECT_EQ(" 0 %", Percent()) << "the template's text before any report";
    const struct
    {
        int nPos;
        const char* pszPercent;
    } steps[] = { { 0, "0%" }, { 1, "0%" }, { 84, "42%" }, { 199, "99%" }, { 200, "100%" }, { 210, "5%" } };
    for (const auto& s : steps) {
        EXPECT_EQ(1, m_monitor.Step(s.nPos));
        EXPECT_EQ(s.pszPercent, Percent()) << s.nPos;
    }
    m_monitor.Begin("Coping b.kda", &m_main, 1);
    m_monitor.Step(0);
    EXPECT_EQ("0%", Percent()) << "a one-chunk file stays at 0 while its only chunk is written";
    EXPECT_EQ(0, Bar(PBM_GETPOS));
    m_monitor.Begin("Coping c.kda", &m_main, 0);
    m_monitor.Step(0);
    EXPECT_EQ("100%", Percent()) << "nothing to copy is all copied";
}

TEST_F(ProgressTest, ALongRangeIsScaledForTheBar)
{
    m_monitor.Begin("Coping big.kda", &m_main, 100000);
    EXPECT_EQ(50000, Bar(PBM_GETRANGE, FALSE));
    EXPECT_EQ(0, Bar(PBM_GETRANGE, TRUE));
    m_monitor.Step(60000);
    EXPECT_EQ(30000, Bar(PBM_GETPOS));
    EXPECT_EQ("60%", Percent());
    // The next file starts at 0 with its own range.
    m_monitor.Begin("Coping small.kda", &m_main, 10);
    EXPECT_EQ(10, Bar(PBM_GETRANGE, FALSE));
    EXPECT_EQ(0, Bar(PBM_GETPOS));
}

TEST_F(ProgressTest, CancelIsNotedNotObeyedAndLastsUntilTheNextFile)
{
    m_monitor.Begin("Coping a.kda", &m_main, 10);
    const struct
    {
        UINT nMessage;
        WPARAM wParam;
    } requests[] = {
        { WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED) },   // the Cancel button
        { WM_CLOSE, 0 },                                    // the close box
        { WM_KEYDOWN, VK_ESCAPE },                          // Esc, through the dialog's keys
    };
    for (const auto& r : requests) {
        EXPECT_EQ(1, m_monitor.Step(1));
        ::PostMessageA(r.nMessage == WM_KEYDOWN ? ::GetDlgItem(Dialog(), IDCANCEL) : Dialog(), r.nMessage, r.wParam, 0);
        EXPECT_EQ(0, m_monitor.Step(2)) << r.nMessage;
        EXPECT_TRUE(m_monitor.IsCancelled());
        EXPECT_TRUE(::IsWindowVisible(Dialog())) << "the dialog stays up";
        EXPECT_EQ(0, m_monitor.Step(3)) << "and the request stays";
        m_monitor.Begin("Coping b.kda", &m_main, 10);
        EXPECT_FALSE(m_monitor.IsCancelled()) << "a new file starts afresh";
    }
}

TEST_F(ProgressTest, TheMainWindowIsOutOfReachWhileTheDialogIsUp)
{
    EXPECT_TRUE(m_main.IsWindowEnabled());
    CWnd child;
    child.CreateEx(0, nullptr, "child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_main, nullptr);
    m_monitor.Begin("Coping a.kda", &child, 3);
    EXPECT_FALSE(m_main.IsWindowEnabled()) << "the top-level window of the dialog's parent";
    EXPECT_TRUE(::IsWindowVisible(Dialog()));
    m_monitor.Begin("Coping b.kda", &child, 3);
    EXPECT_FALSE(m_main.IsWindowEnabled());
    // Coming back to the program brings the dialog forward.
    ::SetActiveWindow(m_main);
    ::SendMessageA(Dialog(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(Dialog(), ::GetActiveWindow());
    m_monitor.End(1);
    EXPECT_EQ(nullptr, m_monitor.m_pDlg);
    EXPECT_TRUE(m_main.IsWindowEnabled());
}

TEST_F(ProgressTest, WithoutADialogTheRunGoesOnUnderTheWaitCursor)
{
    // A dialog cannot be made for a parent that is gone; the run is not
    // stopped for that.
    CWnd gone;
    gone.CreateEx(0, nullptr, "gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr);
    CProgressDlg dlg;
    const HWND hGone = gone.m_hWnd;
    gone.DestroyWindow();
    CWnd stale;
    stale.m_hWnd = hGone;
    EXPECT_FALSE(dlg.Create(&stale));
    stale.m_hWnd = nullptr;
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    m_monitor.m_bUseDialog = FALSE;
    EXPECT_EQ(1, m_monitor.Begin("Coping a.kda", &m_main, 3));
    EXPECT_EQ(1, m_app.m_nWaitCursorCount);
    EXPECT_EQ(1, m_monitor.Step(1));
    m_monitor.Begin("Coping b.kda", &m_main, 3);
    EXPECT_EQ(1, m_app.m_nWaitCursorCount) << "one wait cursor for the run";
    m_monitor.End(1);
    EXPECT_EQ(0, m_app.m_nWaitCursorCount);
}

}   // namespace
