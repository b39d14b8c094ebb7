#include "platform/framework/FormView.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Frame.h"

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    if (AfxCreateChildDialog(this, m_nIDTemplate, pParentWnd) == nullptr)
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID);
    // The template's size is the form's natural size, scrolled when the
    // pane is smaller.
    CRect rcTemplate;
    GetWindowRect(rcTemplate);
    SetScrollSizes(MM_TEXT, rcTemplate.Size());
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    AttachToContext(static_cast<CCreateContext*>(lpParam));
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

BOOL CFormView::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // The frame's accelerators come first, then the dialog keys.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->PreTranslateMessage(pMsg))
        return TRUE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
