// CWinApp: the application object. Holds the application name, the command
// line, the main window and the wait cursor, and runs the message loop.
#pragma once

#include "platform/framework/CString.h"
#include "platform/framework/CmdTarget.h"

class CWnd;

// String id of the application name (the caption of every message box).
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;

class CWinApp : public CCmdTarget
{
public:
    // Without a name the application takes string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;   // the command line after the program name
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    int m_nWaitCursorCount = 0;

    void SetCommandLine(LPCSTR lpszCmdLine);

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_nExitCode; }
    virtual int Run();
    // Idle-time work between messages: the command-user-interface update of
    // the main window's bars, then housekeeping. TRUE asks for more calls.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    BOOL PumpMessage();

    // 1 shows the wait cursor (nesting), -1 ends one level, 0 shows it again
    // after something else changed the cursor.
    virtual void DoWaitCursor(int nCode);
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType);

protected:
    int m_nExitCode = 0;

private:
    CString m_strAppName;
    CString m_strCmdLine;
    HCURSOR m_hcurWaitRestore = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The framework's message box: caption = the application name; an
// exclamation icon unless the type names another icon.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);

// The program's entry: InitInstance, then the message loop.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
