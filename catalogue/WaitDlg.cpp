#include "catalogue/WaitDlg.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

namespace {

// Width of a text in the control's own device context.
int MeasureTextWidth(HWND hWnd, const CString& strText)
{
    HDC hDC = ::GetDC(hWnd);
    SIZE size = {};
    ::GetTextExtentPoint32A(hDC, strText, strText.GetLength(), &size);
    ::ReleaseDC(hWnd, hDC);
    return size.cx;
}

}   // namespace

CWaitDlg::CWaitDlg(UINT nMessageId, CWnd* pParent) : m_nMessageId(nMessageId)
{
    if (Create(IDD_WAIT, pParent)) {
        // The scan that follows dispatches no messages: paint the notice
        // and its text now, or it would stay blank until the scan ends.
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

BOOL CWaitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nMessageId != 0) {
        CString strMessage;
        strMessage.LoadString(m_nMessageId);
        SetDlgItemText(IDC_WAIT_TEXT, strMessage);
    }
    FitTextWidth();
    CenterWindow(this);
    return TRUE;
}

void CWaitDlg::FitTextWidth()
{
    CWnd* pText = GetDlgItem(IDC_WAIT_TEXT);
    if (pText == nullptr)
        return;
    char szText[256] = {};
    pText->GetWindowText(szText, sizeof(szText));
    const int nTextWidth = MeasureTextWidth(pText->m_hWnd, szText);

    RECT rcText;
    pText->GetWindowRect(&rcText);
    ScreenToClient(&rcText);
    if (nTextWidth <= (rcText.right - rcText.left) - 4)
        return;

    rcText.right = rcText.left + nTextWidth + 4;
    pText->MoveWindow(rcText.left, rcText.top, rcText.right - rcText.left, rcText.bottom - rcText.top, FALSE);

    RECT rcNotice;
    GetWindowRect(&rcNotice);
    MoveWindow(rcNotice.left, rcNotice.top, rcText.right + rcText.left, rcNotice.bottom - rcNotice.top, FALSE);
}
