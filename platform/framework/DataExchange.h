// Dialog data exchange: binding controls of a dialog template to members.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;   // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

// Subclasses control nIDC of the dialog into rControl, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
