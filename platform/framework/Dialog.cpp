#include "platform/framework/Dialog.h"
#include "platform/framework/ModalOwnerLock.h"
#include "platform/framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // From here on the dialog's messages go through the object first; the
    // dialog manager's own procedure becomes its default processing.
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == nullptr || !pDlg->SubclassWindow(hWnd))
        return TRUE;
    BOOL bResult = TRUE;
    try {
        bResult = pDlg->OnInitDialog();
    } catch (...) {
        AfxReportUncaughtFailure();
    }
    return bResult;
}

namespace {

INT_PTR CALLBACK AfxChildDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        if (auto* pWnd = reinterpret_cast<CWnd*>(lParam))
            pWnd->SubclassWindow(hWnd);
    }
    // The focus stays where it is: the window is part of a larger one.
    return FALSE;
}

}   // namespace

HWND AfxCreateChildDialog(CWnd* pWnd, UINT nIDTemplate, CWnd* pParent)
{
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), pParent->m_hWnd,
                                     &AfxChildDlgProc, reinterpret_cast<LPARAM>(pWnd));
    if (hWnd != nullptr && pWnd->m_hWnd != hWnd) {
        ::DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = TRUE;
    // The dialog belongs to the top-level window of its parent, which the
    // dialog manager disables for it.
    CWnd* pOwner = GetSafeOwner(m_pParentWnd);
    HWND hOwner = pOwner ? pOwner->m_hWnd : nullptr;
    CModalOwnerLock lock(hOwner);
    INT_PTR nResult = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner, &AfxDlgProc,
                                        reinterpret_cast<LPARAM>(this));
    m_bModal = FALSE;
    return nResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    HWND hWnd =
        ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                             pParentWnd ? pParentWnd->m_hWnd : nullptr, &AfxDlgProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // A modal dialog's own loop does the dialog navigation; a modeless one
    // gets Tab, arrows, Enter and Esc from here.
    if (m_bModal || m_hWnd == nullptr)
        return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr)
        rControl.SubclassDlgItem(nIDC, pDX->m_pDlgWnd);
}
