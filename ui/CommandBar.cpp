#include "ui/CommandBar.h"

#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "ui/Colours.h"

#include <commctrl.h>
#include <cstring>

BEGIN_MESSAGE_MAP(CCommandBar, CDialogBar)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// The tool tip string of a command bar button (0 for none).
UINT ToolTipStringOf(UINT nButtonId)
{
    switch (nButtonId) {
    case ID_SELECT_ALL:
        return IDS_TIP_SELECT_ALL;
    case ID_SELECT_NONE:
        return IDS_TIP_SELECT_NONE;
    case ID_INSTALL:
        return IDS_TIP_INSTALL;
    default:
        return 0;
    }
}

}   // namespace

CCommandBar::CCommandBar() : m_brBackground(STEEL_BLUE) {}

BOOL CCommandBar::OnEraseBkgnd(CDC* pDC)
{
    CRect rcClip;
    pDC->GetClipBox(rcClip);
    pDC->FillRect(rcClip, &m_brBackground);
    return TRUE;
}

BOOL CCommandBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->code == TTN_NEEDTEXTA || pNMHDR->code == TTN_NEEDTEXTW) {
        // The tools are the buttons' windows.
        const UINT nStringId = ToolTipStringOf(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
        char szText[80] = {};
        if (nStringId != 0)
            ::LoadStringA(AfxGetResourceHandle(), nStringId, szText, sizeof(szText));
        if (pNMHDR->code == TTN_NEEDTEXTA) {
            auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
            std::memcpy(pInfo->szText, szText, sizeof(pInfo->szText));
            pInfo->lpszText = pInfo->szText;
        } else {
            auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
            std::memset(pInfo->szText, 0, sizeof(pInfo->szText));
            ::MultiByteToWideChar(CP_ACP, 0, szText, -1, pInfo->szText, ARRAYSIZE(pInfo->szText) - 1);
            pInfo->lpszText = pInfo->szText;
        }
    }
    return CDialogBar::OnNotify(wParam, lParam, pResult);
}
