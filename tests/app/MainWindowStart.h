// The main window made as the program makes it, in the test's process:
// the document template registered with the application, the new-document
// step run, the frame shown.
#pragma once

#include "app/MainTemplate.h"
#include "platform/framework/WinApp.h"
#include "ui/MainFrame.h"

// The shown main frame; null when the program's start-up failed.
inline CMainFrame* StartMainWindow(CWinApp& app)
{
    app.AddDocTemplate(CreateMainTemplate());
    CCommandLineInfo info;
    if (!app.ProcessShellCommand(info))
        return nullptr;
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    if (pFrame != nullptr)
        pFrame->ShowWindow(SW_SHOW);
    return pFrame;
}
