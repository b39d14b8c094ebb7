#include "platform/framework/ControlBar.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Frame.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/WinApp.h"

#include <commctrl.h>

int AfxBarHeight(int cyClient, DWORD dwBarStyle)
{
    int cy = cyClient;
    if (dwBarStyle & CBRS_BORDER_TOP)
        cy += AFX_CY_BAR_BORDER;
    if (dwBarStyle & CBRS_BORDER_BOTTOM)
        cy += AFX_CY_BAR_BORDER;
    return cy;
}

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
END_MESSAGE_MAP()

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    return CSize(m_sizeDefault.cx, AfxBarHeight(m_sizeDefault.cy, m_dwStyle));
}

void CControlBar::DockInFrame(CFrameWnd* pFrame)
{
    m_pDockSite = pFrame;
    // The borders live in the non-client area from now on.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (m_dwStyle & CBRS_TOOLTIPS)
        AddToolTips();
    pFrame->AddControlBar(this);
}

void CControlBar::AddToolTips()
{
    m_hWndToolTip =
        ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (m_hWndToolTip == nullptr)
        return;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        TTTOOLINFOA ti = {};
        // The size every version of the common controls accepts: newer
        // ones add a reserved field that older ones reject.
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = m_hWnd;
        ti.uId = reinterpret_cast<UINT_PTR>(hChild);
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(m_hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void CControlBar::OnDestroy()
{
    if (m_hWndToolTip != nullptr)
        ::DestroyWindow(m_hWndToolTip);
    m_hWndToolTip = nullptr;
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    Default();
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The bar's controls act for the frame: their commands take its route.
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    return m_pDockSite != nullptr && m_pDockSite->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_pDockSite != nullptr && (GetStyle() & WS_VISIBLE))
        OnUpdateCmdUI(m_pDockSite, TRUE);
    return 0;
}

LRESULT CControlBar::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    // Both forms of the message start with the window's rectangle.
    auto* pRect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    if (m_dwStyle & CBRS_BORDER_TOP)
        pRect->top += AFX_CY_BAR_BORDER;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        pRect->bottom -= AFX_CY_BAR_BORDER;
    return lResult;
}

LRESULT CControlBar::OnNcPaint(WPARAM, LPARAM)
{
    // Each border is an etched line: shadow above highlight.
    CWindowDC dc(this);
    CRect rcWindow;
    GetWindowRect(rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    const int cx = rcWindow.Width();
    const auto line = [&dc, cx](int y, int nColor) {
        RECT rc = { 0, y, cx, y + 1 };
        ::FillRect(dc, &rc, ::GetSysColorBrush(nColor));
    };
    if (m_dwStyle & CBRS_BORDER_TOP) {
        line(0, COLOR_3DSHADOW);
        line(1, COLOR_3DHIGHLIGHT);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        line(rcWindow.bottom - 2, COLOR_3DSHADOW);
        line(rcWindow.bottom - 1, COLOR_3DHIGHLIGHT);
    }
    return 0;
}

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (pFrame == nullptr)
        return FALSE;
    m_dwStyle = nStyle;
    if (AfxCreateChildDialog(this, nIDTemplate, pParentWnd) == nullptr)
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID);
    CRect rcTemplate;
    GetWindowRect(rcTemplate);
    m_sizeDefault = rcTemplate.Size();
    DockInFrame(pFrame);
    ShowWindow(SW_SHOWNOACTIVATE);
    pFrame->RecalcLayout();
    return TRUE;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        const UINT nID = ::GetDlgCtrlID(hChild);
        if (nID == 0 || nID == 0xFFFF)   // unnamed statics
            continue;
        // Only push buttons stand for commands: other controls change only
        // when an update handler asks.
        const bool bButton =
            (::SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            != 0;
        CCmdUI state;
        state.m_nID = nID;
        state.m_pOther = CWnd::FromHandle(hChild);
        state.DoUpdate(pTarget, bDisableIfNoHandler && bButton);
    }
}
