#include "platform/framework/CmdUI.h"
#include "platform/framework/CmdTarget.h"
#include "platform/framework/Wnd.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_hMenu != nullptr) {
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    } else if (m_pOther != nullptr && m_pOther->GetSafeHwnd() != nullptr) {
        HWND hWnd = m_pOther->GetSafeHwnd();
        // A control losing its enable state while it has the focus would
        // leave the keyboard nowhere: hand the focus on first.
        if (!bOn && ::GetFocus() == hWnd) {
            HWND hParent = ::GetParent(hWnd);
            ::SetFocus(hParent);
        }
        if (!::IsWindowEnabled(hWnd) != !bOn)
            ::EnableWindow(hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!bHandled && bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = { nullptr };
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return bHandled;
}
