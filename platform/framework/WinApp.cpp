#include "platform/framework/WinApp.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/ModalOwnerLock.h"
#include "platform/framework/Wnd.h"

#include <commctrl.h>
#include <commdlg.h>
#include <exception>
#include <string>

namespace {

CWinApp* g_pApp = nullptr;

// Exit code of a program ended by a failure nothing handled.
constexpr int EXIT_CODE_FAILURE = 1;

// The timer that blinks the caret; not in the platform's headers.
constexpr UINT WM_SYSTIMER = 0x0118;

// The command line after the program name, as the C runtime hands it to
// WinMain: the program name (quoted or not) and the blanks after it skipped.
LPCSTR SkipProgramName(LPCSTR psz)
{
    if (*psz == '"') {
        ++psz;
        while (*psz != '\0' && *psz != '"')
            ++psz;
        if (*psz == '"')
            ++psz;
    } else {
        while (*psz != '\0' && *psz != ' ' && *psz != '\t')
            ++psz;
    }
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    return psz;
}

// The common controls the program's windows are made of: tree view,
// progress bar and tool tips. Registered before any window exists.
void InitCommonControlClasses()
{
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&icc);
}

}   // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    g_pApp = this;
    InitCommonControlClasses();
    m_hInstance = ::GetModuleHandleA(nullptr);
    if (lpszAppName != nullptr)
        m_strAppName = lpszAppName;
    else
        m_strAppName.LoadString(AFX_IDS_APP_TITLE);
    m_pszAppName = m_strAppName;
    SetCommandLine(SkipProgramName(::GetCommandLineA()));
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetCommandLine(LPCSTR lpszCmdLine)
{
    m_strCmdLine = lpszCmdLine ? lpszCmdLine : "";
    m_lpCmdLine = m_strCmdLine.GetBuffer(m_strCmdLine.GetLength());
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // Through the message map, so that an application's own new-file
        // handler runs instead.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString strFileName;
    if (DoPromptFileName(strFileName))
        OpenDocumentFile(strFileName);
}

BOOL CWinApp::DoPromptFileName(CString& rFileName)
{
    // The filter is the template's: its filter name, then its pattern.
    CString strFilterName;
    CString strFilterExt;
    if (!m_templates.empty()) {
        m_templates.front()->GetDocString(strFilterName, CDocTemplate::filterName);
        m_templates.front()->GetDocString(strFilterExt, CDocTemplate::filterExt);
    }
    std::string strFilter;
    if (!strFilterExt.IsEmpty()) {
        strFilter.append(strFilterName.IsEmpty() ? "*" + std::string(strFilterExt) : std::string(strFilterName));
        strFilter.push_back('\0');
        strFilter.append("*").append(strFilterExt);
        strFilter.push_back('\0');
    }
    strFilter.append("*.*");
    strFilter.push_back('\0');
    strFilter.append("*.*");
    strFilter.push_back('\0');

    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    CWnd* pOwner = CWnd::GetSafeOwner();
    ofn.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    ofn.lpstrFilter = strFilter.c_str();
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameA(&ofn))
        return FALSE;
    rFileName = szFile;
    return TRUE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_pszProfileName = m_pszAppName;
}

void CWinApp::LoadStdProfileSettings(UINT) {}

int CWinApp::Run()
{
    LONG lIdleCount = 0;
    bool bIdle = true;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = false;
        }
        // The idle pass is decided on the message just dispatched: after a
        // click the command bar must catch up before the loop sleeps again.
        do {
            if (!PumpMessage() || m_bFailed)
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = true;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage()
{
    const BOOL bResult = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
    if (bResult == 0) {
        if (!m_bFailed)
            m_nExitCode = static_cast<int>(m_msgCur.wParam);
        return FALSE;
    }
    if (bResult == -1) {
        // The queue itself failed: the loop cannot go on.
        m_nExitCode = -1;
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg)
{
    // A mouse move where the mouse already was, a paint or a cursor blink
    // changes nothing the user sees in the bars.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    HWND hWndMain = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // A key pressed in a window outside the main window (a modeless dialog)
    // still reaches the main window's accelerators.
    if (hWndMain != nullptr && pMsg->hwnd != hWndMain && !::IsChild(hWndMain, pMsg->hwnd))
        return m_pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr && ::IsWindowVisible(m_pMainWnd->m_hWnd))
            m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        return TRUE;
    }
    CWnd::DeleteTempMap();
    CBrush::DeleteTempMap();
    return FALSE;
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitRestore = hcurPrev;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitRestore ? m_hcurWaitRestore : ::LoadCursor(nullptr, IDC_ARROW));
    }
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            nType |= MB_ICONEXCLAMATION;
            break;
        }
    }
    // Owned by the window the user is looking at: the main window, or the
    // pop-up it has disabled itself for. The whole program waits for the
    // answer, so the main window is disabled even when a pop-up owns the box.
    CWnd* pTop = CWnd::GetSafeOwner();
    HWND hOwner = pTop ? ::GetLastActivePopup(pTop->m_hWnd) : nullptr;
    CModalOwnerLock lock(hOwner);
    return ::MessageBoxA(hOwner, lpszPrompt, m_pszAppName, nType);
}

CWaitCursor::CWaitCursor()
{
    if (g_pApp != nullptr)
        g_pApp->DoWaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    if (g_pApp != nullptr)
        g_pApp->DoWaitCursor(-1);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType)
{
    if (g_pApp != nullptr)
        return g_pApp->DoMessageBox(lpszText, nType);
    return ::MessageBoxA(nullptr, lpszText, "", nType | MB_ICONEXCLAMATION);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType)
{
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText, nType);
}

void AfxReportUncaughtFailure()
{
    // A failure while the first one is being reported (a window painting
    // under the box) adds nothing for the user.
    const std::exception_ptr pFailure = std::current_exception();
    if (pFailure == nullptr)
        return;
    if (g_pApp != nullptr) {
        g_pApp->m_bFailed = TRUE;
        g_pApp->m_nExitCode = EXIT_CODE_FAILURE;
    }
    static bool s_bReporting = false;
    if (s_bReporting)
        return;
    s_bReporting = true;
    CString strText;
    if (!strText.LoadString(AFX_IDP_UNCAUGHT_FAILURE))
        strText = "The program met a failure it cannot handle and will close.";
    try {
        std::rethrow_exception(pFailure);
    } catch (const std::exception& e) {
        strText += "\n\n";
        strText += e.what();
    } catch (...) {
    }
    AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
    // After the box: its own loop would end at once on a waiting WM_QUIT.
    ::PostQuitMessage(EXIT_CODE_FAILURE);
    s_bReporting = false;
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->SetCommandLine(lpCmdLine);
    pApp->m_nCmdShow = nCmdShow;
    BOOL bStarted = FALSE;
    try {
        bStarted = pApp->InitInstance() && !pApp->m_bFailed;
    } catch (...) {
        AfxReportUncaughtFailure();
    }
    if (!bStarted) {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
