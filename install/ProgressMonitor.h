// The installation's view of its progress: one object per run that makes
// the progress dialog on first use, hands it captions, ranges and
// positions, and keeps the user's cancel request until the next file.
#pragma once

#include "install/ProgressDlg.h"
#include "platform/framework/WinApp.h"

#include <memory>

class CProgressMonitor
{
public:
    // Sets the range 0..nRange and the caption, making the dialog (owned
    // by pParentWnd's top-level window) if there is none yet; a new file
    // starts with no cancel request. When the dialog cannot be made the
    // run goes on under the wait cursor.
    virtual int Begin(LPCSTR pszCaption, CWnd* pParentWnd, int nRange);
    virtual int BeginWithCaptionId(UINT nCaptionId, CWnd* pParentWnd, int nRange);
    // Pumps the waiting messages and moves the bar; 0 once Cancel was
    // asked for, until the next Begin.
    virtual int Step(int nPos);
    // Destroys the dialog, giving the main window back to the user.
    virtual int End(int nFlag);
    // Whether Cancel was asked for: noted by a step, or taken by any pump
    // of the dialog since, which a step has yet to check.
    BOOL IsCancelled();
    // Takes the user's waiting input, as between two files: a Cancel
    // clicked meanwhile is noted before the next file begins.
    void TakeInput();

    BOOL m_bUseDialog = TRUE;
    BOOL m_bCancelled = FALSE;
    std::unique_ptr<CProgressDlg> m_pDlg;

private:
    // The dialog for a new file: the one shown, back at 0, or a new one;
    // null when none can be made.
    CProgressDlg* PrepareDialog(UINT nCaptionId, CWnd* pParentWnd);
    void ShowWaitCursor();

    std::unique_ptr<CWaitCursor> m_pWaitCursor;
};
