// CDialog: a modal or modeless dialog made from a dialog template.
#pragma once

#include "platform/framework/DataExchange.h"
#include "platform/framework/Wnd.h"

class CDialog : public CWnd
{
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
    {
    }

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; its window exists when this returns TRUE.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModal = FALSE;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// Dialog procedure of every framework dialog: adopts the object at
// WM_INITDIALOG and leaves everything else to the object's window procedure.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates dialog template nIDTemplate as a child of pParent (the template
// has the child style) and routes its messages through pWnd from
// WM_INITDIALOG on. For windows that are not dialogs to the user: form
// views and dialog bars. Returns the window, or null.
HWND AfxCreateChildDialog(CWnd* pWnd, UINT nIDTemplate, CWnd* pParent);
