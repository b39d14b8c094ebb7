// The document/view frame with real windows: start-up through the
// single-document template, command routing, accelerators, bars, the
// splitter and idle-time command updates.
#include "platform/framework/afxwin.h"
#include "tests/platform/framework/FrameworkTestIds.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
int g_nClientWidth = 300;
const int g_nClientHeight = 200;

class CTestApp : public CWinApp
{
public:
    // Closes everything the last test left and forgets its quit request.
    void Reset()
    {
        m_templates.clear();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
    }

protected:
    void OnRoute(UINT) { g_log.push_back("app"); }
    void OnUpdateRoute(CCmdUI* pCmdUI)
    {
        g_log.push_back("app update");
        pCmdUI->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_APP, OnRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_VIEW, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_DOC, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_FRAME, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_APP, OnUpdateRoute)
END_MESSAGE_MAP()

CTestApp theApp;

class CTestDoc : public CDocument
{
public:
    int m_nNewCount = 0;
    bool m_bMainWndDuringNew = false;
    bool m_bTicked = false;

    BOOL OnNewDocument() override
    {
        ++m_nNewCount;
        m_bMainWndDuringNew = AfxGetMainWnd() != nullptr;
        return CDocument::OnNewDocument();
    }

protected:
    void OnRoute(UINT) { g_log.push_back("doc"); }
    void OnUpdateRoute(CCmdUI* pCmdUI)
    {
        g_log.push_back("doc update");
        pCmdUI->Enable(TRUE);
    }
    void OnAll() { g_log.push_back("all"); }
    void OnIns() { g_log.push_back("ins"); }
    void OnUpdateIns(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bTicked); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_DOC, OnRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_VIEW, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_DOC, OnUpdateRoute)
    ON_COMMAND(IDC_BAR_ALL, OnAll)
    ON_COMMAND(IDC_BAR_INS, OnIns)
    ON_UPDATE_COMMAND_UI(IDC_BAR_INS, OnUpdateIns)
END_MESSAGE_MAP()

class CTestView : public CView
{
public:
    int m_nInitialUpdates = 0;
    void OnInitialUpdate() override
    {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }
    void OnDraw(CDC*) override {}

protected:
    std::string Name() const { return "view " + std::to_string(GetDlgCtrlID() - AFX_IDW_PANE_FIRST); }
    void OnRoute(UINT) { g_log.push_back(Name()); }
    void OnUpdateRoute(CCmdUI* pCmdUI)
    {
        g_log.push_back(Name() + " update");
        pCmdUI->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_VIEW, OnRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_VIEW, OnUpdateRoute)
END_MESSAGE_MAP()

class CTestBar : public CDialogBar
{
public:
    std::vector<UINT> m_toolTipRequests;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR->code == TTN_NEEDTEXTA) {
            m_toolTipRequests.push_back(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
            reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->lpszText = const_cast<LPSTR>("tip");
        }
        return CDialogBar::OnNotify(wParam, lParam, pResult);
    }
};

class CTestFrame : public CFrameWnd
{
public:
    CSplitterWnd m_splitter;
    CTestBar m_topBar;
    CDialogBar m_bottomBar;
    CBitmapButton m_btnAll;
    CBitmapButton m_btnIns;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        // Sized so that the client area is exactly g_nClientWidth wide.
        RECT rc = { 0, 0, g_nClientWidth, g_nClientHeight };
        ::AdjustWindowRectEx(&rc, cs.style, TRUE, cs.dwExStyle);
        cs.cx = rc.right - rc.left;
        cs.cy = rc.bottom - rc.top;
        cs.x = cs.y = 0;
        return CFrameWnd::PreCreateWindow(cs);
    }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        CRect rc;
        GetClientRect(rc);
        const int cx = rc.Width();
        if (!m_splitter.CreateStatic(this, 1, 2))
            return FALSE;
        m_splitter.SetRowInfo(0, rc.Height(), 10);
        if (!m_splitter.CreateView(0, 0, &CreateObject<CTestView>, CSize(2 * cx / 3, rc.Height()), pContext))
            return FALSE;
        if (!m_splitter.CreateView(0, 1, &CreateObject<CTestView>, CSize(cx - 2 * cx / 3, rc.Height()), pContext))
            return FALSE;
        m_splitter.SetColumnInfo(0, 2 * cx / 3, 30);
        m_splitter.SetColumnInfo(1, cx - 2 * cx / 3, 30);
        return TRUE;
    }

    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        if (!m_topBar.Create(this, IDD_TESTTOPBAR, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS, IDD_TESTTOPBAR))
            return -1;
        m_btnAll.AutoLoad(IDC_BAR_ALL, &m_topBar);
        m_btnIns.AutoLoad(IDC_BAR_INS, &m_topBar);
        if (!m_bottomBar.Create(this, IDD_TESTBOTTOMBAR, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, IDD_TESTBOTTOMBAR))
            return -1;
        return 0;
    }

    void OnRoute(UINT) { g_log.push_back("frame"); }
    void OnUpdateRoute(CCmdUI* pCmdUI)
    {
        g_log.push_back("frame update");
        pCmdUI->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_FRAME, OnRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_VIEW, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_DOC, OnUpdateRoute)
    ON_UPDATE_COMMAND_UI(ID_ROUTE_FRAME, OnUpdateRoute)
END_MESSAGE_MAP()

// Runs the thread's queued messages the way the application's loop does,
// accelerators and dialog keys included; a quit request is only noted.
bool PumpLikeTheApplication()
{
    bool bQuit = false;
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            bQuit = true;
            continue;
        }
        if (!theApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return bQuit;
}

CRect ChildRectIn(HWND hChild, HWND hParent)
{
    CRect rc;
    ::GetWindowRect(hChild, rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class FrameTest : public testing::Test
{
protected:
    void SetUp() override { Start(300); }
    void TearDown() override { theApp.Reset(); }

    void Start(int cxClient)
    {
        theApp.Reset();
        g_nClientWidth = cxClient;
        m_pTemplate = new CSingleDocTemplate(IDR_TESTFRAME, &CreateObject<CTestDoc>, &CreateObject<CTestFrame>,
                                             &CreateObject<CTestView>);
        theApp.AddDocTemplate(m_pTemplate);
        CCommandLineInfo info;
        ASSERT_TRUE(theApp.ProcessShellCommand(info));
        m_pFrame = dynamic_cast<CTestFrame*>(theApp.m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
        m_pDoc = dynamic_cast<CTestDoc*>(m_pTemplate->GetOnlyDocument());
        ASSERT_NE(m_pDoc, nullptr);
        PumpLikeTheApplication();
        g_log.clear();
    }

    CTestView* Pane(int col) { return dynamic_cast<CTestView*>(m_pFrame->m_splitter.GetPane(0, col)); }
    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, nID, 0); }

    CSingleDocTemplate* m_pTemplate = nullptr;
    CTestFrame* m_pFrame = nullptr;
    CTestDoc* m_pDoc = nullptr;
};

TEST_F(FrameTest, NewFileMakesDocumentFrameAndViewsThenReinitialisesThem)
{
    EXPECT_EQ(m_pDoc->m_nNewCount, 1);
    EXPECT_TRUE(m_pDoc->m_bMainWndDuringNew);
    EXPECT_EQ(m_pDoc->m_pDocTemplate, m_pTemplate);
    ASSERT_EQ(m_pDoc->GetViews().size(), 2u);
    EXPECT_EQ(m_pFrame->GetActiveView(), Pane(0));
    EXPECT_EQ(m_pFrame->GetActiveDocument(), m_pDoc);
    EXPECT_EQ(Pane(0)->m_nInitialUpdates, 1);
    EXPECT_EQ(Pane(1)->m_nInitialUpdates, 1);
    EXPECT_TRUE(m_pFrame->IsWindowVisible());
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "Fresh - Test Frame");

    // The new-file command again: the same document, frame and views, and
    // the frame as the user left it.
    m_pFrame->ShowWindow(SW_SHOWMAXIMIZED);
    theApp.OnFileNew();
    EXPECT_TRUE(::IsZoomed(*m_pFrame));
    EXPECT_EQ(theApp.m_pMainWnd, m_pFrame);
    EXPECT_EQ(m_pTemplate->GetOnlyDocument(), m_pDoc);
    EXPECT_EQ(m_pDoc->m_nNewCount, 2);
    EXPECT_EQ(Pane(0)->m_nInitialUpdates, 2);
    EXPECT_EQ(Pane(1)->m_nInitialUpdates, 2);
}

TEST_F(FrameTest, OpenTakesTheFileNameAsTitleAndSaveLeavesTheFileAlone)
{
    CTempFolder folder;
    const std::string strPath = folder.Path() + "\\notes.txt";
    std::ofstream(strPath, std::ios::binary) << "keep me";

    ASSERT_EQ(theApp.OpenDocumentFile(strPath.c_str()), m_pDoc);
    EXPECT_STREQ(m_pDoc->GetTitle(), "notes.txt");
    EXPECT_STREQ(m_pDoc->GetPathName(), strPath.c_str());
    EXPECT_EQ(Pane(0)->m_nInitialUpdates, 2);
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "notes.txt - Test Frame");

    Command(ID_FILE_SAVE);
    std::ifstream in(strPath, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    EXPECT_EQ(contents.str(), "keep me");

    // A file that is not there opens nothing and changes nothing.
    EXPECT_EQ(theApp.OpenDocumentFile((folder.Path() + "\\missing.txt").c_str()), nullptr);
    EXPECT_STREQ(m_pDoc->GetTitle(), "notes.txt");
}

TEST_F(FrameTest, CommandsAndUpdatesTakeTheRouteViewDocumentFrameApplication)
{
    struct Case
    {
        UINT nID;
        const char* pszHandler;
    };
    const Case cases[] = {
        { ID_ROUTE_VIEW, "view 0" },
        { ID_ROUTE_DOC, "doc" },
        { ID_ROUTE_FRAME, "frame" },
        { ID_ROUTE_APP, "app" },
    };
    // A command from a menu or key asks its state first, on the same route.
    for (const Case& c : cases) {
        const std::string strUpdate = std::string(c.pszHandler) + " update";
        g_log.clear();
        Command(c.nID);
        EXPECT_EQ(g_log, std::vector<std::string>({ strUpdate, c.pszHandler })) << c.nID;

        g_log.clear();
        CCmdEnableProbe state;
        state.m_nID = c.nID;
        EXPECT_TRUE(state.DoUpdate(m_pFrame, TRUE));
        EXPECT_EQ(g_log, std::vector<std::string>({ strUpdate })) << c.nID;
    }

    // The active view is the one asked.
    m_pFrame->SetActiveView(Pane(1));
    g_log.clear();
    Command(ID_ROUTE_VIEW);
    EXPECT_EQ(g_log, std::vector<std::string>({ "view 1 update", "view 1" }));

    // Nobody handles it: nothing runs, and the update disables it.
    g_log.clear();
    Command(ID_ROUTE_NOBODY);
    EXPECT_TRUE(g_log.empty());
    CCmdEnableProbe state;
    state.m_nID = ID_ROUTE_NOBODY;
    state.DoUpdate(m_pFrame, TRUE);
    EXPECT_FALSE(state.m_bEnabled);
}

TEST_F(FrameTest, AcceleratorsReachCommandsAndF6MovesBetweenPanes)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageA(*Pane(0), WM_KEYDOWN, '1', 0);
    ::PostMessageA(*Pane(0), WM_KEYDOWN, '4', 0);
    PumpLikeTheApplication();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    // The commands that ran; the menu's states were asked on the way.
    std::vector<std::string> commands;
    for (const std::string& strEntry : g_log) {
        if (strEntry.find("update") == std::string::npos)
            commands.push_back(strEntry);
    }
    EXPECT_EQ(commands, std::vector<std::string>({ "view 0", "app" }));

    ::PostMessageA(*Pane(0), WM_KEYDOWN, VK_F6, 0);
    PumpLikeTheApplication();
    EXPECT_EQ(m_pFrame->GetActiveView(), Pane(1));
    ::PostMessageA(*Pane(1), WM_KEYDOWN, VK_F6, 0);
    PumpLikeTheApplication();
    EXPECT_EQ(m_pFrame->GetActiveView(), Pane(0));
    Command(ID_PREV_PANE);
    EXPECT_EQ(m_pFrame->GetActiveView(), Pane(1));
}

TEST_F(FrameTest, BarsSitAtTopAndBottomAtTheirTemplatesHeight)
{
    CRect rcClient;
    m_pFrame->GetClientRect(rcClient);
    CRect rcDlgUnits(0, 0, 200, 20);
    ::MapDialogRect(m_pFrame->m_topBar, rcDlgUnits);
    CRect rcTopClient;
    m_pFrame->m_topBar.GetClientRect(rcTopClient);
    EXPECT_EQ(rcTopClient.Height(), rcDlgUnits.Height());

    const CRect rcTop = ChildRectIn(m_pFrame->m_topBar, *m_pFrame);
    const CRect rcBottom = ChildRectIn(m_pFrame->m_bottomBar, *m_pFrame);
    const CRect rcSplitter = ChildRectIn(m_pFrame->m_splitter, *m_pFrame);
    EXPECT_EQ(rcTop, CRect(0, 0, rcClient.right, rcDlgUnits.Height() + AFX_CY_BAR_BORDER));
    EXPECT_EQ(rcBottom.bottom, rcClient.bottom);
    EXPECT_EQ(rcBottom.left, 0);
    EXPECT_EQ(rcBottom.right, rcClient.right);
    EXPECT_EQ(rcSplitter, CRect(0, rcTop.bottom, rcClient.right, rcBottom.top));
    EXPECT_EQ(m_pFrame->m_splitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(Pane(1)->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 1);
}

TEST_F(FrameTest, SplitterStartsAtTwoThirdsOfTheClientWidth)
{
    const int gap = CSplitterWnd::m_cxSplitter;
    const int border = CSplitterWnd::m_cxBorder;
    for (int cx : { 300, 301 }) {
        Start(cx);
        CRect rcClient;
        m_pFrame->GetClientRect(rcClient);
        ASSERT_EQ(rcClient.Width(), cx);
        // The list pane's cell is 200 wide; the other cell gets the rest
        // after the bar: its ideal 100 (or 101) less the bar.
        EXPECT_EQ(ChildRectIn(*Pane(0), m_pFrame->m_splitter).left, border);
        EXPECT_EQ(ChildRectIn(*Pane(0), m_pFrame->m_splitter).right, 200 - border);
        EXPECT_EQ(ChildRectIn(*Pane(1), m_pFrame->m_splitter).left, 200 + gap + border);
        EXPECT_EQ(ChildRectIn(*Pane(1), m_pFrame->m_splitter).right, cx - border);
    }
}

TEST_F(FrameTest, DraggingTheSplitterBarFollowsTheMouseWithinTheMinimums)
{
    const int gap = CSplitterWnd::m_cxSplitter;
    const int border = CSplitterWnd::m_cxBorder;
    HWND hSplitter = m_pFrame->m_splitter;
    struct Step
    {
        int x;
        int expectedCell0;
    };
    // Grabbed 2 pixels into the bar, which starts at 200.
    const Step steps[] = { { 252, 250 }, { 5, 30 }, { 1000, 300 - 30 - gap }, { 150, 148 } };
    ::SendMessageA(hSplitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(202, 50));
    EXPECT_EQ(::GetCapture(), hSplitter);
    for (const Step& step : steps) {
        ::SendMessageA(hSplitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(step.x, 50));
        EXPECT_EQ(ChildRectIn(*Pane(0), hSplitter).right, step.expectedCell0 - border) << step.x;
        EXPECT_EQ(ChildRectIn(*Pane(1), hSplitter).left, step.expectedCell0 + gap + border) << step.x;
    }
    ::SendMessageA(hSplitter, WM_LBUTTONUP, 0, MAKELPARAM(150, 50));
    EXPECT_EQ(::GetCapture(), nullptr);
    // Once released, the mouse no longer moves the bar.
    ::SendMessageA(hSplitter, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    EXPECT_EQ(ChildRectIn(*Pane(0), hSplitter).right, 148 - border);
}

TEST_F(FrameTest, IdleUpdateEnablesBarButtonsFromTheRouteAndDrawsTheirState)
{
    HWND hIns = ::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_INS);
    HWND hAll = ::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_ALL);
    HWND hOrphan = ::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_ORPHAN);
    const COLORREF crUp = RGB(0, 128, 0);
    const COLORREF crDown = RGB(0, 0, 128);
    const COLORREF crDisabled = RGB(128, 0, 0);
    const auto colourOf = [this](HWND hButton) {
        const CRect rc = ChildRectIn(hButton, m_pFrame->m_topBar);
        CWindowCapture capture(m_pFrame->m_topBar);
        return capture.PixelAt(rc.left + 3, rc.top + 3);
    };
    // Sized to the up bitmap.
    CRect rcIns;
    ::GetClientRect(hIns, rcIns);
    EXPECT_EQ(rcIns.Size(), CSize(24, 16));

    struct Case
    {
        bool bTicked;
        BOOL bInsEnabled;
        COLORREF crIns;
    };
    for (const Case& c :
         { Case{ false, FALSE, crDisabled }, Case{ true, TRUE, crUp }, Case{ false, FALSE, crDisabled } }) {
        m_pDoc->m_bTicked = c.bTicked;
        theApp.OnIdle(0);
        EXPECT_EQ(::IsWindowEnabled(hIns), c.bInsEnabled);
        EXPECT_TRUE(::IsWindowEnabled(hAll));       // a handler and no update handler
        EXPECT_FALSE(::IsWindowEnabled(hOrphan));   // no handler at all
        EXPECT_EQ(colourOf(hIns), c.crIns);
    }
    ::SendMessageA(hAll, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(colourOf(hAll), crDown);
    ::SendMessageA(hAll, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(colourOf(hAll), crUp);
}

TEST_F(FrameTest, BarButtonsSendTheirCommandsThroughTheFrame)
{
    m_pDoc->m_bTicked = true;
    theApp.OnIdle(0);
    ::SendMessageA(::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_ALL), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_INS), BM_CLICK, 0, 0);
    PumpLikeTheApplication();
    EXPECT_EQ(g_log, std::vector<std::string>({ "all", "ins" }));
}

TEST_F(FrameTest, ToolTipTextIsAskedOfTheBar)
{
    HWND hToolTip = nullptr;
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, TOOLTIPS_CLASSA, nullptr)) {
        // Owned by the bar's top-level window; the bar is its tools' window.
        TTTOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        if (::SendMessageA(hWnd, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti))
            && ti.hwnd == m_pFrame->m_topBar.m_hWnd)
            hToolTip = hWnd;
    }
    ASSERT_NE(hToolTip, nullptr);
    EXPECT_EQ(::SendMessageA(hToolTip, TTM_GETTOOLCOUNT, 0, 0), 3);

    char szText[80] = "";
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_pFrame->m_topBar;
    ti.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(m_pFrame->m_topBar, IDC_BAR_INS));
    ti.lpszText = szText;
    ::SendMessageA(hToolTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(szText, "tip");
    EXPECT_EQ(m_pFrame->m_topBar.m_toolTipRequests, std::vector<UINT>({ IDC_BAR_INS }));
}

TEST_F(FrameTest, MenuPopupAsksTheRouteForEachItem)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(*m_pFrame), 0);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
    const auto state = [hPopup](UINT nID) { return ::GetMenuState(hPopup, nID, MF_BYCOMMAND) & MF_GRAYED; };
    EXPECT_EQ(state(ID_ROUTE_VIEW), 0u);
    EXPECT_EQ(state(ID_ROUTE_APP), 0u);
    EXPECT_EQ(state(ID_APP_EXIT), 0u);
    EXPECT_NE(state(ID_ROUTE_NOBODY), 0u);
}

TEST_F(FrameTest, ExitClosesTheMainWindowAndEndsTheLoop)
{
    // Erasing under an active view is skipped.
    HDC hDC = ::GetDC(*m_pFrame);
    EXPECT_EQ(m_pFrame->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC)), TRUE);
    ::ReleaseDC(*m_pFrame, hDC);

    HWND hFrame = *m_pFrame;
    Command(ID_APP_EXIT);
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_TRUE(m_pDoc->GetViews().empty());
    EXPECT_TRUE(PumpLikeTheApplication());
}

}   // namespace
