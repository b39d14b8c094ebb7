// The application: starts the program with its one document, its main
// window and its views, and ends it.
#pragma once

#include "platform/framework/WinApp.h"

class CTarnixApp : public CWinApp
{
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};

extern CTarnixApp theApp;
