// The About box: the program's name and version, and its notice.
#pragma once

#include "platform/framework/Dialog.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
