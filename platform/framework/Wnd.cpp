#include "platform/framework/Wnd.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Frame.h"
#include "platform/framework/WinApp.h"

#include <memory>
#include <set>
#include <string>
#include <unordered_map>

namespace {

// Handle maps of the user-interface thread, the only thread with windows.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// A temporary object forgets its window before it dies, whenever that is
// (at idle, or in static destruction after the loop).
struct ForgetBeforeDelete
{
    void operator()(CWnd* pWnd) const
    {
        pWnd->m_hWnd = nullptr;
        delete pWnd;
    }
};

std::unordered_map<HWND, std::unique_ptr<CWnd, ForgetBeforeDelete>>& TemporaryMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CWnd, ForgetBeforeDelete>> map;
    return map;
}

std::set<std::string>& FrameworkClasses()
{
    static std::set<std::string> classes;
    return classes;
}

bool IsFrameworkClass(LPCSTR lpszClassName)
{
    return !IS_INTRESOURCE(lpszClassName) && FrameworkClasses().count(lpszClassName) != 0;
}

// What CreateEx hands to a window of a framework class: the object to
// adopt and the caller's own creation parameter.
struct AFX_CREATEPARAMS
{
    CWnd* pWnd;
    LPVOID lpParam;
};

// The message being handled, for CWnd::Default.
struct AFX_CURRENTMSG
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
AFX_CURRENTMSG g_currentMsg;

}   // namespace

CWnd::~CWnd()
{
    // Only an object bound to its window destroys it: a temporary object of
    // FromHandle merely names a window that belongs to someone else, and may
    // die after the message loop, in static destruction.
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this)
        return;
    // The object goes first, so no message of the dying window reaches a
    // half-destroyed object.
    HWND hWnd = m_hWnd;
    if (m_pfnSuper != nullptr)
        UnsubclassWindow();
    else
        Detach();
    ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    auto& temps = TemporaryMap();
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second.get();
    std::unique_ptr<CWnd, ForgetBeforeDelete> pWnd(new CWnd);
    pWnd->m_hWnd = hWnd;
    return temps.emplace(hWnd, std::move(pWnd)).first->second.get();
}

void CWnd::DeleteTempMap()
{
    TemporaryMap().clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    m_pfnSuper =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (m_pfnSuper == &AfxWndProc)
        m_pfnSuper = nullptr;   // a framework class already: nothing to chain to
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, nID);
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    const bool bFrameworkClass = IsFrameworkClass(cs.lpszClass);
    AFX_CREATEPARAMS params = { this, cs.lpCreateParams };
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, bFrameworkClass ? &params : cs.lpCreateParams);
    if (hWnd == nullptr)
        return FALSE;
    if (!bFrameworkClass)
        SubclassWindow(hWnd);
    return TRUE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, LPVOID lpParam)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

LPVOID CWnd::GetCreateParam(const CREATESTRUCT* lpcs)
{
    const auto* pParams = static_cast<const AFX_CREATEPARAMS*>(lpcs->lpCreateParams);
    return pParams ? pParams->lpParam : nullptr;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT lResult = 0;
        if (!OnNotify(wParam, lParam, &lResult))
            return FALSE;
        *pResult = lResult;
        return TRUE;
    }
    if (message == WM_DRAWITEM && wParam != 0) {
        // An owner-drawn control draws itself (wParam 0 is a menu item).
        const auto* pDIS = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* pChild = FromHandlePermanent(pDIS->hwndItem);
        if (pChild != nullptr && pChild->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    if (message == WM_SETCURSOR && pApp != nullptr && pApp->m_nWaitCursorCount > 0) {
        pApp->DoWaitCursor(0);
        *pResult = TRUE;
        return TRUE;
    }

    UINT nKey = message;
    int nCode = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        nKey = WM_CTLCOLOR;
    else if (message == WM_REFLECT_BASE + WM_NOTIFY)
        nCode = reinterpret_cast<NMHDR*>(lParam)->code;
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(nKey, nCode, 0);
    if (pEntry == nullptr)
        return FALSE;
    AFX_MSGCALL call = { message, wParam, lParam, 0, nullptr, 0 };
    Dispatch(pEntry, call);
    *pResult = call.lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0) {
        // A menu item or an accelerator: a disabled command does not run.
        CCmdEnableProbe state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    CWnd* pChild = FromHandlePermanent(pNMHDR->hwndFrom);
    if (pChild != nullptr && pChild->OnChildNotify(WM_NOTIFY, 0, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify = { pNMHDR, pResult };
    return OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
            return pFrame;
    }
    return nullptr;
}

int CWnd::GetScrollLimit(int nBar) const
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    if (!::GetScrollInfo(m_hWnd, nBar, &si))
        return 0;
    return AfxScrollLimit(si.nMin, si.nMax, si.nPage);
}

int AfxScrollLimit(int nMin, int nMax, UINT nPage)
{
    const int nLimit = nMax - (nPage > 0 ? static_cast<int>(nPage) - 1 : 0);
    return nLimit > nMin ? nLimit : nMin;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent)
{
    HWND hWnd = pParent ? pParent->m_hWnd : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain ? pMain->m_hWnd : nullptr;
    }
    while (hWnd != nullptr && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return FromHandle(hWnd);
}

void CWnd::GetWindowText(CString& rString) const
{
    int cch = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(cch), cch + 1);
    rString.ReleaseBuffer();
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        ::SendMessageA(hChild, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(hChild) != nullptr)
            FromHandle(hChild)->SendMessageToDescendants(message, wParam, lParam, bDeep);
    }
}

POINT AfxCenteredPosition(const RECT& rcWindow, const RECT& rcCenter, const RECT& rcArea)
{
    const LONG cx = rcWindow.right - rcWindow.left;
    const LONG cy = rcWindow.bottom - rcWindow.top;
    POINT pt = { (rcCenter.left + rcCenter.right) / 2 - cx / 2, (rcCenter.top + rcCenter.bottom) / 2 - cy / 2 };
    // Keep the window inside the area, its top-left corner winning when the
    // window is larger than the area.
    if (pt.x + cx > rcArea.right)
        pt.x = rcArea.right - cx;
    if (pt.x < rcArea.left)
        pt.x = rcArea.left;
    if (pt.y + cy > rcArea.bottom)
        pt.y = rcArea.bottom - cy;
    if (pt.y < rcArea.top)
        pt.y = rcArea.top;
    return pt;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    RECT rcCenter;
    RECT rcArea;
    if (GetStyle() & WS_CHILD) {
        HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rcArea);
        rcCenter = rcArea;
    } else {
        HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
        if (hWndCenter != nullptr) {
            LONG_PTR style = ::GetWindowLongPtrA(hWndCenter, GWL_STYLE);
            if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE))
                hWndCenter = nullptr;
        }
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        if (hWndCenter == nullptr) {
            CWnd* pMain = AfxGetMainWnd();
            ::GetMonitorInfoA(::MonitorFromWindow(pMain ? pMain->m_hWnd : nullptr, MONITOR_DEFAULTTOPRIMARY), &mi);
            rcCenter = mi.rcWork;
        } else {
            ::GetWindowRect(hWndCenter, &rcCenter);
            ::GetMonitorInfoA(::MonitorFromWindow(hWndCenter, MONITOR_DEFAULTTONEAREST), &mi);
        }
        rcArea = mi.rcWork;
    }
    POINT pt = AfxCenteredPosition(rcWindow, rcCenter, rcArea);
    ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// What a message answers when its handler failed: a window whose creation
// failed is not made, and a window whose painting failed is not asked to
// paint again and again under the report.
LRESULT ResultAfterFailure(HWND hWnd, UINT message)
{
    if (message == WM_CREATE)
        return -1;
    if (message == WM_PAINT)
        ::ValidateRect(hWnd, nullptr);
    return 0;
}

}   // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const AFX_CURRENTMSG saved = g_currentMsg;
    g_currentMsg = { message, wParam, lParam };
    LRESULT lResult = 0;
    // No exception may unwind through the system's window manager.
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        AfxReportUncaughtFailure();
        lResult = ResultAfterFailure(pWnd->m_hWnd, message);
    }
    g_currentMsg = saved;
    if (message == WM_NCDESTROY) {
        if (pWnd->m_pfnSuper != nullptr)
            pWnd->UnsubclassWindow();
        else
            pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr && message == WM_NCCREATE) {
        const auto* lpcs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const auto* pParams = static_cast<const AFX_CREATEPARAMS*>(lpcs->lpCreateParams);
        if (pParams != nullptr && pParams->pWnd != nullptr && pParams->pWnd->Attach(hWnd))
            pWnd = pParams->pWnd;
    }
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, message, wParam, lParam);
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    char szName[96];
    wsprintfA(szName, "Tarnix:%x:%p:%p:%p", nClassStyle, hCursor, hbrBackground, hIcon);
    auto& classes = FrameworkClasses();
    auto it = classes.find(szName);
    if (it != classes.end())
        return it->c_str();

    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = szName;
    if (!::RegisterClassA(&wc))
        return nullptr;
    return classes.insert(szName).first->c_str();
}
