// CWinApp: the application object. Holds the application name, the command
// line, the main window and the wait cursor, and runs the message loop.
#pragma once

#include "platform/framework/CString.h"
#include "platform/framework/CmdTarget.h"

#include <memory>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
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

    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;

    void SetCommandLine(LPCSTR lpszCmdLine);

    // The application owns its templates; the first one serves the
    // new-file and open-file commands.
    void AddDocTemplate(CDocTemplate* pTemplate);
    // Runs the start-up command: FileNew through the ID_FILE_NEW route,
    // FileOpen through OpenDocumentFile. FALSE when there is no main
    // window afterwards (or the file could not be opened).
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);

    // Names where the profile lives: under HKEY_CURRENT_USER, "Software",
    // the key, then the application name. The framework stores nothing there.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // The standard settings are the recent-file list. The framework keeps
    // no such list, so there is nothing to read, whatever nMaxMRU says.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Dialog controls draw in three dimensions on every system this runs
    // on; there is nothing to switch on.
    BOOL Enable3dControlsStatic() { return TRUE; }

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_nExitCode; }
    virtual int Run();
    // Idle-time work between messages: the command-user-interface update of
    // the main window's bars, then housekeeping. TRUE asks for more calls.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Reads and dispatches one message into m_msgCur; FALSE at WM_QUIT or
    // when the queue fails.
    BOOL PumpMessage();
    // Whether the message just dispatched may have changed what the bars
    // show, so the idle update has to run again.
    virtual BOOL IsIdleMessage(MSG* pMsg);

    MSG m_msgCur = {};   // the message the loop dispatched last

    // 1 shows the wait cursor (nesting), -1 ends one level, 0 shows it again
    // after something else changed the cursor.
    virtual void DoWaitCursor(int nCode);
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType);

    // The framework's standard commands, for the application's message map.
    void OnFileNew();
    void OnFileOpen();

protected:
    void OnAppExit();
    // Asks for a file to open with the template's filter; FALSE when the
    // user cancels.
    virtual BOOL DoPromptFileName(CString& rFileName);

    int m_nExitCode = 0;
    // Set by a failure nothing handled: the program ends with the exit code
    // of the failure as soon as the message in hand is done.
    BOOL m_bFailed = FALSE;
    friend int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
    friend void AfxReportUncaughtFailure();
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strCmdLine;
    HCURSOR m_hcurWaitRestore = nullptr;
    POINT m_ptCursorLast = {};   // where the last mouse move was
    UINT m_nMsgLast = 0;         // the message before m_msgCur
};

// Shows the application's wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The framework's message box: caption = the application name; an
// exclamation icon unless the type names another icon.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);

// For a catch block that stops a failure at the edge of the framework (a
// window procedure, a dialog's initialisation, the start-up): tells the
// user in the program's language, with the failure's own description where
// it has one, and ends the program, since what was running is unfinished.
// Outside a catch block it does nothing.
void AfxReportUncaughtFailure();

// The hosting of embedded controls needs nothing on this platform: no
// window of the program hosts one. Kept so start-up reads as designed.
inline void AfxEnableControlContainer() {}

// The program's entry: InitInstance, then the message loop.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
