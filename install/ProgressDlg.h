// The small modeless dialog that shows the file being copied, a bar for its
// progress and the percentage, and offers Cancel. The installation runs on
// the user-interface thread, so the dialog dispatches the thread's waiting
// messages itself at each report, and only notes a cancel request for the
// installation to pick up.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/framework/Dialog.h"

class CProgressDlg : public CDialog
{
public:
    // nCaptionId: the caption's string, set at initialisation (0: none).
    explicit CProgressDlg(UINT nCaptionId = 0);
    ~CProgressDlg() override;

    // Disables the parent's top-level window and creates the dialog; FALSE
    // (and the window enabled again) when it cannot be created.
    BOOL Create(CWnd* pParentWnd);
    // A range above 16 bits is scaled down for the bar; positions follow.
    int SetRange(int nLower, int nUpper);
    int SetPos(int nPos);
    // The caption of a new file: shown at once when the dialog is due to
    // catch up, else when it next does.
    void SetCaption(LPCSTR pszCaption);
    // Whether Cancel was asked for since the last call.
    BOOL CheckCancel();
    // Whether a Cancel waits to be checked, without pumping or taking it.
    BOOL HasCancelRequest() const { return m_bCancelRequest; }
    void PumpMessages();
    // Dispatches the user's waiting input and the posted messages, and
    // nothing that paints: a Cancel clicked before a new file begins is
    // taken without repainting the dialog for every file.
    void PumpInput();
    void UpdatePercent(int nPos);

    BOOL DestroyWindow() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnClose();
    void OnActivateApp(BOOL bActive, DWORD dwThreadId);

    HWND m_hWndOwner = nullptr;   // the top-level window the dialog disabled
    CProgressCtrl m_progress;
    UINT m_nCaptionId;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 10;
    int m_nScale = 1;
    BOOL m_bCancelRequest = FALSE;
    BOOL m_bOwnerDisabled = FALSE;
    int m_nShownPos = 0;   // the position the bar shows
    BOOL m_bEverShown = FALSE;
    DWORD m_dwShownAt = 0;   // when the dialog last caught up
    CString m_strCaption;    // the caption to show
    BOOL m_bCaptionShown = TRUE;

private:
    // Dispatches the waiting messages, WM_PAINT among them or not.
    void Pump(bool bPaints);
    // Takes the next waiting message, skipping WM_PAINT unless bPaints.
    static bool TakeMessage(MSG* pMsg, bool bPaints);
    // Whether the dialog is due to catch up with the run: show the latest
    // caption and position and look at the waiting messages.
    bool IsDue() const;
    void ShowCaption();

    DECLARE_MESSAGE_MAP()
};

// How often, at most, the dialog shows the progress of a run and looks at
// the user's input, in milliseconds. A run reports every 64 KiB, much more
// often than anyone can see; each time the dialog caught up it would cost
// more than copying the chunk. 0 makes it catch up at every report.
extern DWORD g_dwProgressRefreshMs;

// The percentage a position shows within lower..upper: from 0 to 100, a
// position past the upper end wrapping round (105 shows 5); an empty range
// shows 100, all of nothing being done.
int PercentOfRange(int nPos, int nLower, int nUpper);
