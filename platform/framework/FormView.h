// CFormView: a view made from a child dialog template, whose controls are
// bound to members by DoDataExchange.
#pragma once

#include "platform/framework/DataExchange.h"
#include "platform/framework/ScrollView.h"

class CFormView : public CScrollView
{
public:
    explicit CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

    // Creates the window from the template as child nID of pParentWnd at
    // rect; lpParam is the CCreateContext that names the document.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, LPVOID lpParam = nullptr) override;

    // Binds the controls (UpdateData(FALSE)), then the view's own update.
    void OnInitialUpdate() override;
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void OnDraw(CDC*) override {}
    // Tab and the arrow keys move between the form's controls.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    UINT m_nIDTemplate;
};
