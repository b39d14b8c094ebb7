#include "platform/framework/Frame.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/Splitter.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <algorithm>
#include <memory>

std::vector<CRect> AfxLayoutBars(const RECT& rcClient, const std::vector<AFX_BARSLOT>& bars, CRect& rcRest)
{
    rcRest = rcClient;
    std::vector<CRect> rects;
    for (const AFX_BARSLOT& bar : bars) {
        // A bar never takes more than the room that is left.
        const int cy = std::min<int>(bar.cy, std::max<int>(rcRest.Height(), 0));
        if (bar.bTop) {
            rects.emplace_back(rcRest.left, rcRest.top, rcRest.right, rcRest.top + cy);
            rcRest.top += cy;
        } else {
            rects.emplace_back(rcRest.left, rcRest.bottom - cy, rcRest.right, rcRest.bottom);
            rcRest.bottom -= cy;
        }
    }
    return rects;
}

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_COMMAND_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnPaneCommand)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    const HINSTANCE hInst = AfxGetResourceHandle();
    CString strTitle;
    strTitle.LoadString(nIDResource);
    const int nEnd = strTitle.Find('\n');
    m_strTitle = nEnd < 0 ? strTitle : strTitle.Left(nEnd);

    // The icon of LoadIcon is shared and never destroyed; the menu belongs
    // to the window once it exists.
    HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    HMENU hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    if (!CreateEx(0, lpszClass, m_strTitle, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext)) {
        if (hMenu != nullptr && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    auto* pContext = static_cast<CCreateContext*>(GetCreateParam(lpcs));
    return OnCreateClient(lpcs, pContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext == nullptr || !pContext->m_pNewViewClass)
        return TRUE;
    return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    // The window takes the view over only once it exists; until then a
    // failure leaves the object to us.
    std::unique_ptr<CView> pView(pContext->m_pNewViewClass());
    if (!pView || !pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    pView->m_bAutoDelete = TRUE;
    return pView.release();
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

void CFrameWnd::RecalcLayout()
{
    std::vector<CControlBar*> shown;
    std::vector<AFX_BARSLOT> slots;
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd == nullptr || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        shown.push_back(pBar);
        slots.push_back({ (pBar->GetBarStyle() & CBRS_ALIGN_TOP) != 0, pBar->CalcFixedLayout(FALSE, TRUE).cy });
    }
    CRect rcClient;
    GetClientRect(rcClient);
    CRect rcRest;
    const std::vector<CRect> rects = AfxLayoutBars(rcClient, slots, rcRest);
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i]->MoveWindow(rects[i]);
    if (HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(hPane, rcRest.left, rcRest.top, rcRest.Width(), rcRest.Height(), TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    // A copy: an initial update may add or remove views.
    const std::vector<CView*> views = pDoc->GetViews();
    if (m_pViewActive == nullptr && !views.empty()) {
        auto it = std::find_if(views.begin(), views.end(),
                               [](CView* pView) { return pView->GetDlgCtrlID() == AFX_IDW_PANE_FIRST; });
        SetActiveView(it != views.end() ? *it : views.front());
    }
    for (CView* pView : views)
        pView->OnInitialUpdate();
    RecalcLayout();
    OnUpdateFrameTitle(TRUE);
    const int nCmdShow = bMakeVisible ? TakeShowCommand() : -1;
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
}

// The program's show state applies once, to its main window's first
// showing; a later document in the same frame leaves a maximised or
// minimised frame as the user has it, showing it only when hidden.
int CFrameWnd::TakeShowCommand()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1) {
        const int nCmdShow = pApp->m_nCmdShow;
        pApp->m_nCmdShow = -1;
        return nCmdShow;
    }
    if (!IsWindowVisible())
        return SW_SHOW;
    return -1;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    CString strText = m_strTitle;
    if (bAddToTitle && pDoc != nullptr) {
        strText = pDoc->GetTitle();
        if (!m_strTitle.IsEmpty())
            strText += " - " + m_strTitle;
    }
    SetWindowText(strText);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hAccelTable == nullptr)
        return FALSE;
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC*)
{
    // The views cover the client area; erasing under them only flickers.
    if (m_pViewActive != nullptr)
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CFrameWnd::OnClose()
{
    // While a modal box or dialog has the frame disabled, the step that
    // showed it still works on the frame's windows: the frame stays.
    if (!IsWindowEnabled())
        return;
    DestroyWindow();
}

LRESULT CFrameWnd::OnSetFocus(WPARAM, LPARAM)
{
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        Default();
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    Default();
    if (HIWORD(lParam))   // the window menu
        return 0;
    HMENU hPopup = reinterpret_cast<HMENU>(wParam);
    const int nCount = ::GetMenuItemCount(hPopup);
    for (int i = 0; i < nCount; ++i) {
        const UINT nID = ::GetMenuItemID(hPopup, i);
        if (nID == 0 || nID == static_cast<UINT>(-1))   // separator or submenu
            continue;
        CCmdUI state;
        state.m_nID = nID;
        state.m_nIndex = i;
        state.m_hMenu = hPopup;
        state.DoUpdate(this, TRUE);
    }
    return 0;
}

void CFrameWnd::OnPaneCommand(UINT nID)
{
    CSplitterWnd* pSplitter = nullptr;
    if (m_pViewActive != nullptr)
        pSplitter = dynamic_cast<CSplitterWnd*>(m_pViewActive->GetParent());
    if (pSplitter == nullptr)
        pSplitter = dynamic_cast<CSplitterWnd*>(FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    if (pSplitter != nullptr)
        pSplitter->ActivateNext(nID == ID_PREV_PANE);
}

void CFrameWnd::PostNcDestroy()
{
    // The main window's end is the application's end.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (m_bAutoDelete)
        delete this;
}
