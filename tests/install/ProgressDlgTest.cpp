// The progress dialog and its monitor as the installation drives them and
// as the user sees them: percentages, the scaled bar, Cancel, and the main
// window out of reach while the dialog is up.
#include "install/ProgressMonitor.h"
#include "tests/install/ProgressRecorder.h"
#include "res/resource.h"
#include "tests/support/MessagePump.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

class ProgressTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // Every report shown at once, to be read back at once.
        g_dwProgressRefreshMs = 0;
        m_main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        m_app.m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        g_dwProgressRefreshMs = m_dwRefreshMs;
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

    std::string Caption() const
    {
        char szText[64] = {};
        ::GetWindowTextA(Dialog(), szText, sizeof(szText));
        return szText;
    }

    LRESULT Bar(UINT nMessage, WPARAM wParam = 0) const
    {
        return ::SendDlgItemMessageA(Dialog(), IDC_PROGRESS_BAR, nMessage, wParam, 0);
    }

    const DWORD m_dwRefreshMs = g_dwProgressRefreshMs;
    CWinApp m_app;
    CWnd m_main;
    CProgressMonitor m_monitor;
};

TEST_F(ProgressTest, ThePercentageAsTheBarMoves)
{
    m_monitor.Begin("Coping a.kda", &m_main, 200);
    ASSERT_NE(nullptr, Dialog());
    EXPECT_EQ("Coping a.kda", Caption());
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

TEST_F(ProgressTest, ACancelIsTakenBetweenFilesThoughAnotherProgramsMessageCameFirst)
{
    m_monitor.Begin("Coping a.kda", &m_main, 10);
    ASSERT_NE(nullptr, Dialog());
    ::PostMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // Another program's message, sent to the main window while the click
    // waits: it is handed over first.
    std::thread sender([this] {
        DWORD_PTR nResult = 0;
        ::SendMessageTimeoutA(m_main.m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &nResult);
    });
    bool bSentWaits = false;
    for (const DWORD dwStart = ::GetTickCount(); !bSentWaits && ::GetTickCount() - dwStart < 10000; ::Sleep(1))
        bSentWaits = (HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
    m_monitor.TakeInput();
    sender.join();
    ASSERT_TRUE(bSentWaits);
    EXPECT_TRUE(m_monitor.IsCancelled());
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
    ASSERT_NE(Dialog(), ::GetActiveWindow());
    ::SendMessageA(Dialog(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(Dialog(), ::GetActiveWindow());
    m_monitor.End(1);
    EXPECT_EQ(nullptr, m_monitor.m_pDlg);
    EXPECT_TRUE(m_main.IsWindowEnabled());
}

TEST_F(ProgressTest, ABurstOfReportsIsShownAtTheDialogsPace)
{
    g_dwProgressRefreshMs = m_dwRefreshMs;
    m_monitor.Begin("Coping a.kda", &m_main, 100000);
    const DWORD dwStart = GetTickCount();
    int nShown = 0;
    int nPrevious = -1;
    for (int nPos = 0; nPos < 100000; ++nPos) {
        m_monitor.Step(nPos);
        const int nBar = static_cast<int>(Bar(PBM_GETPOS));
        nShown += nBar != nPrevious;
        nPrevious = nBar;
    }
    const DWORD dwElapsed = GetTickCount() - dwStart;
    // Clocks tick coarsely: allow twice the nominal rate, far below a
    // hundred thousand.
    EXPECT_LE(nShown, static_cast<int>(2 * dwElapsed / m_dwRefreshMs) + 2) << "shown about once per interval";
    EXPECT_GE(nShown, 1);
    // A Cancel pressed in the burst is still seen within an interval.
    ::PostMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(PumpMessagesUntil([this] { return m_monitor.Step(1) == 0; }, 2000));
}

// Counts the paint messages that this thread takes from its queue for one
// window: each is a repaint the user waits for.
class CPaintCounter
{
public:
    explicit CPaintCounter(HWND hWnd)
        : m_hHook(::SetWindowsHookExA(WH_GETMESSAGE, &Count, nullptr, ::GetCurrentThreadId()))
    {
        s_hWnd = hWnd;
        s_nPaints = 0;
    }
    ~CPaintCounter() { ::UnhookWindowsHookEx(m_hHook); }
    int Paints() const { return s_nPaints; }

private:
    static LRESULT CALLBACK Count(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
        if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == WM_PAINT && pMsg->hwnd == s_hWnd)
            ++s_nPaints;
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static HWND s_hWnd;
    static int s_nPaints;
    HHOOK m_hHook;
};

HWND CPaintCounter::s_hWnd = nullptr;
int CPaintCounter::s_nPaints = 0;

TEST_F(ProgressTest, ARunOfSmallFilesIsShownAsTheDialogCatchesUp)
{
    g_dwProgressRefreshMs = 60000;
    m_monitor.Begin("Coping a.kda", &m_main, 10);
    m_monitor.Step(5);
    EXPECT_EQ(5, Bar(PBM_GETPOS)) << "the first report is shown at once";
    EXPECT_EQ("Coping a.kda", Caption());
    const CPaintCounter counter(Dialog());
    CProgressRecorder progress;
    for (int i = 0; i < 50; ++i) {
        m_monitor.Begin(("Coping s" + std::to_string(i) + ".kda").c_str(), &m_main, 4);
        m_monitor.Step(0);
        m_monitor.Step(1);
    }
    EXPECT_EQ(0, counter.Paints()) << "no repaint for every file";
    // The bar takes each file's range, to be painted with its position.
    for (const ProgressEvent& event : progress.Events())
        EXPECT_EQ(ProgressEvent::Range, event.kind) << "no caption, position or percentage nobody could read";
    EXPECT_EQ("Coping a.kda", Caption());
    g_dwProgressRefreshMs = 0;
    m_monitor.Step(2);
    EXPECT_GE(counter.Paints(), 1) << "the next pump that is due paints";
    EXPECT_EQ("Coping s49.kda", Caption()) << "the latest file's";
    EXPECT_EQ(2, Bar(PBM_GETPOS));
    EXPECT_EQ("50%", Percent());
}

TEST_F(ProgressTest, TheLatestCaptionIsShownWhicheverWayItWasSet)
{
    g_dwProgressRefreshMs = 60000;
    m_monitor.Begin("Coping a.kda", &m_main, 10);
    m_monitor.Step(1);
    m_monitor.Begin("Coping b.kda", &m_main, 10);
    m_monitor.BeginWithCaptionId(IDS_PLEASE_WAIT, &m_main, 10);
    g_dwProgressRefreshMs = 0;
    m_monitor.Step(1);
    CString strWait;
    strWait.LoadString(IDS_PLEASE_WAIT);
    EXPECT_EQ(std::string(strWait), Caption()) << "not the file's caption that waited to be shown";
}

// Refuses the creation of every dialog while alive, as a system out of
// window resources would.
class CDialogRefusal
{
public:
    CDialogRefusal() : m_hHook(SetWindowsHookExA(WH_CBT, &Refuse, nullptr, GetCurrentThreadId())) {}
    ~CDialogRefusal() { UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Refuse(int nCode, WPARAM wParam, LPARAM lParam)
    {
        char szClass[16] = {};
        if (nCode == HCBT_CREATEWND)
            GetClassNameA(reinterpret_cast<HWND>(wParam), szClass, sizeof(szClass));
        return lstrcmpA(szClass, "#32770") == 0 ? 1 : CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
};

TEST_F(ProgressTest, WithoutADialogTheRunGoesOnUnderTheWaitCursor)
{
    {
        CDialogRefusal refusal;
        EXPECT_EQ(1, m_monitor.Begin("Coping a.kda", &m_main, 3));
    }
    EXPECT_EQ(nullptr, m_monitor.m_pDlg);
    EXPECT_TRUE(m_main.IsWindowEnabled()) << "the owner the dialog would have had is given back";
    EXPECT_EQ(1, m_app.m_nWaitCursorCount);
    EXPECT_EQ(1, m_monitor.Step(1));
    m_monitor.Begin("Coping b.kda", &m_main, 3);
    EXPECT_EQ(nullptr, m_monitor.m_pDlg) << "the run goes on without one";
    EXPECT_EQ(1, m_app.m_nWaitCursorCount) << "one wait cursor for the run";
    m_monitor.End(1);
    EXPECT_EQ(0, m_app.m_nWaitCursorCount);
}

TEST_F(ProgressTest, ThePercentageIsWrittenOnlyWhenItChanges)
{
    m_monitor.Begin("Coping a.kda", &m_main, 1000);
    CProgressRecorder progress;
    for (int nPos = 0; nPos < 1000; ++nPos)
        m_monitor.Step(nPos);
    int nWrites = 0;
    for (const ProgressEvent& event : progress.Events())
        nWrites += event.kind == ProgressEvent::Percent;
    EXPECT_EQ(100, nWrites) << "0% to 99%, once each, over a thousand reports";
}

}   // namespace
