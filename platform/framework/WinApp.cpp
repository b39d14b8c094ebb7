#include "platform/framework/WinApp.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/Wnd.h"

#include <commdlg.h>
#include <string>

namespace {

CWinApp* g_pApp = nullptr;

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

bool IsIdleMessage(const MSG& msg)
{
    // Mouse moves and cursor blinks do not restart idle processing.
    return msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE && msg.message != WM_PAINT
           && msg.message != 0x0118 /* WM_SYSTIMER */;
}

}   // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    g_pApp = this;
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
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(msg)) {
                bIdle = true;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        m_nExitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
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
    // pop-up it has disabled itself for.
    CWnd* pOwner = CWnd::GetSafeOwner();
    HWND hOwner = pOwner ? ::GetLastActivePopup(pOwner->m_hWnd) : nullptr;
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

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->SetCommandLine(lpCmdLine);
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
