#include "install/ProgressMonitor.h"

void CProgressMonitor::ShowWaitCursor()
{
    // Once for the run, however many files it has.
    if (m_pWaitCursor == nullptr)
        m_pWaitCursor = std::make_unique<CWaitCursor>();
}

CProgressDlg* CProgressMonitor::PrepareDialog(UINT nCaptionId, CWnd* pParentWnd)
{
    if (m_pDlg != nullptr) {
        m_pDlg->SetPos(0);
        m_pDlg->Invalidate(TRUE);
        return m_pDlg.get();
    }
    auto pDlg = std::make_unique<CProgressDlg>(nCaptionId);
    if (!pDlg->Create(pParentWnd)) {
        m_bUseDialog = FALSE;
        ShowWaitCursor();
        return nullptr;
    }
    m_pDlg = std::move(pDlg);
    return m_pDlg.get();
}

int CProgressMonitor::Begin(LPCSTR pszCaption, CWnd* pParentWnd, int nRange)
{
    m_bCancelled = FALSE;
    if (!m_bUseDialog) {
        ShowWaitCursor();
        return 1;
    }
    if (CProgressDlg* pDlg = PrepareDialog(0, pParentWnd)) {
        pDlg->SetRange(0, nRange);
        pDlg->SetCaption(pszCaption);
    }
    return 1;
}

int CProgressMonitor::BeginWithCaptionId(UINT nCaptionId, CWnd* pParentWnd, int nRange)
{
    m_bCancelled = FALSE;
    if (!m_bUseDialog) {
        ShowWaitCursor();
        return 1;
    }
    if (m_pDlg != nullptr) {
        CString strCaption;
        strCaption.LoadString(nCaptionId);
        m_pDlg->SetCaption(strCaption);
    }
    if (CProgressDlg* pDlg = PrepareDialog(nCaptionId, pParentWnd))
        pDlg->SetRange(0, nRange);
    return 1;
}

int CProgressMonitor::Step(int nPos)
{
    if (!m_bUseDialog)
        return 1;
    if (m_bCancelled)
        return 0;
    if (m_pDlg->CheckCancel()) {
        m_bCancelled = TRUE;
        return 0;
    }
    m_pDlg->SetPos(nPos);
    return 1;
}

BOOL CProgressMonitor::IsCancelled()
{
    // A click the dialog took while it set the bar, after the step's own
    // check, is no less the user's word: it must not wait for a next step
    // that a file's last chunk never has.
    if (m_pDlg != nullptr && m_pDlg->HasCancelRequest())
        m_bCancelled = TRUE;
    return m_bCancelled;
}

void CProgressMonitor::TakeInput()
{
    if (m_pDlg != nullptr)
        m_pDlg->PumpInput();
}

int CProgressMonitor::End(int)
{
    m_pWaitCursor.reset();
    if (m_pDlg != nullptr) {
        m_pDlg->DestroyWindow();
        m_pDlg.reset();
    }
    return 1;
}
