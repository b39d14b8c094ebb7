#include "app/TarnixApp.h"

#include "app/AboutDlg.h"
#include "app/MainTemplate.h"
#include "platform/framework/FrameworkIds.h"

#include <objbase.h>

CTarnixApp theApp;

BEGIN_MESSAGE_MAP(CTarnixApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

BOOL CTarnixApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    // The destination model works with the shell's objects.
    ::CoInitialize(nullptr);
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(0);
    AddDocTemplate(CreateMainTemplate());
    CCommandLineInfo cmdInfo;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CTarnixApp::ExitInstance()
{
    ::CoUninitialize();
    return CWinApp::ExitInstance();
}

void CTarnixApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
