#include "install/ProgressDlg.h"

#include "res/resource.h"

#include <climits>
#include <cstdio>

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
    ON_WM_CLOSE()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

namespace {

// Scaled positions and ranges stay within what the bar's 16-bit range holds.
constexpr int BAR_LIMIT = 65536;

}   // namespace

DWORD g_dwProgressRefreshMs = 40;

int PercentOfRange(int nPos, int nLower, int nUpper)
{
    if (nUpper == nLower)
        return 100;
    const int nPercent = (nPos - nLower) * 100 / (nUpper - nLower);
    return nPercent == 100 ? 100 : nPercent % 100;
}

CProgressDlg::CProgressDlg(UINT nCaptionId) : m_nCaptionId(nCaptionId) {}

CProgressDlg::~CProgressDlg()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CProgressDlg::Create(CWnd* pParentWnd)
{
    CWnd* pOwner = GetSafeOwner(pParentWnd);
    m_hWndOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    if (m_hWndOwner != nullptr && ::IsWindowEnabled(m_hWndOwner)) {
        ::EnableWindow(m_hWndOwner, FALSE);
        m_bOwnerDisabled = TRUE;
    }
    if (CDialog::Create(IDD_PROGRESS, pParentWnd))
        return TRUE;
    DestroyWindow();
    return FALSE;
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(m_nLower, m_nUpper));
    m_progress.SetStep(m_nStep);
    m_progress.SetPos(m_nLower);
    if (m_nCaptionId != 0) {
        CString strCaption;
        strCaption.LoadString(m_nCaptionId);
        SetWindowText(strCaption);
    }
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
}

int CProgressDlg::SetRange(int nLower, int nUpper)
{
    m_nScale = 1;
    if (nUpper >= BAR_LIMIT) {
        m_nScale = nUpper / BAR_LIMIT + 1;
        nLower /= m_nScale;
        nUpper /= m_nScale;
    }
    m_nLower = nLower;
    m_nUpper = nUpper;
    return static_cast<int>(m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)));
}

bool CProgressDlg::IsDue() const
{
    return !m_bEverShown || ::GetTickCount() - m_dwShownAt >= g_dwProgressRefreshMs;
}

int CProgressDlg::SetPos(int nPos)
{
    nPos /= m_nScale;
    const int nPrevious = m_nShownPos;
    // The caption and the bar change, and messages are pumped (the dialog
    // painted), at most once per refresh interval: a run of small files
    // does not repaint the dialog for every one of them, nor does the bar
    // go back to 0 for a file that is done before anyone could see it.
    if (!IsDue())
        return nPrevious;
    PumpMessages();
    // The exact tick, never one nudged ahead of the clock: the unsigned
    // difference in IsDue would wrap and make every report due.
    m_bEverShown = TRUE;
    m_dwShownAt = ::GetTickCount();
    ShowCaption();
    m_progress.SetPos(nPos);
    UpdatePercent(nPos);
    m_nShownPos = nPos;
    return nPrevious;
}

void CProgressDlg::SetCaption(LPCSTR pszCaption)
{
    m_strCaption = pszCaption;
    m_bCaptionShown = FALSE;
    if (IsDue())
        ShowCaption();
}

void CProgressDlg::ShowCaption()
{
    if (m_bCaptionShown)
        return;
    SetWindowText(m_strCaption);
    m_bCaptionShown = TRUE;
}

BOOL CProgressDlg::CheckCancel()
{
    if (IsDue())
        PumpMessages();
    const BOOL bRequest = m_bCancelRequest;
    m_bCancelRequest = FALSE;
    return bRequest;
}

void CProgressDlg::PumpMessages()
{
    Pump(true);
}

void CProgressDlg::PumpInput()
{
    Pump(false);
}

bool CProgressDlg::TakeMessage(MSG* pMsg, bool bPaints)
{
    if (bPaints)
        return ::PeekMessageA(pMsg, nullptr, 0, 0, PM_REMOVE) != FALSE;
    // Two ranges around WM_PAINT, not the PM_QS_* kinds: a look limited to
    // kinds ends as soon as it has handed over a message another thread
    // sent, with the user's click still waiting behind it.
    return ::PeekMessageA(pMsg, nullptr, 0, WM_PAINT - 1, PM_REMOVE)
           || ::PeekMessageA(pMsg, nullptr, WM_PAINT + 1, UINT_MAX, PM_REMOVE);
}

void CProgressDlg::Pump(bool bPaints)
{
    MSG msg;
    while (TakeMessage(&msg, bPaints)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: the run stops, and the loop that owns
            // the quit gets it.
            m_bCancelRequest = TRUE;
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void CProgressDlg::UpdatePercent(int nPos)
{
    char szPercent[16];
    std::snprintf(szPercent, sizeof(szPercent), "%d%c", PercentOfRange(nPos, m_nLower, m_nUpper), '%');
    char szShown[16] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_PERCENT, szShown, sizeof(szShown));
    // Written only when it changes: no flicker at every chunk.
    if (lstrcmpA(szPercent, szShown) != 0)
        SetDlgItemText(IDC_PERCENT, szPercent);
}

BOOL CProgressDlg::DestroyWindow()
{
    // The owner first, so that the activation goes back to it.
    if (m_bOwnerDisabled && m_hWndOwner != nullptr) {
        ::EnableWindow(m_hWndOwner, TRUE);
        m_bOwnerDisabled = FALSE;
    }
    return CDialog::DestroyWindow();
}

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel()
{
    // Only noted: the installation stops after the chunk in hand.
    m_bCancelRequest = TRUE;
}

void CProgressDlg::OnClose()
{
    OnCancel();
}

void CProgressDlg::OnActivateApp(BOOL bActive, DWORD)
{
    Default();
    // Back in the program, the user meets the dialog, not the disabled frame.
    if (bActive && IsWindowVisible())
        ::SetActiveWindow(m_hWnd);
}
