// The destination pane, right of the content list: a grey caption strip,
// the label with the chosen destination, and the destination tree. The
// document sends it the install and refresh requests.
#pragma once

#include "catalogue/TarnixDoc.h"
#include "install/DestTreeCtrl.h"
#include "platform/framework/FormView.h"

class CTreeVw : public CFormView
{
public:
    CTreeVw();

    CTarnixDoc* GetDocument() const { return static_cast<CTarnixDoc*>(m_pDocument); }

    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitialUpdate() override;

    CDestTreeCtrl m_wndTree;
    int m_nRootIndex = 0;
    UINT m_nEnumFlags = 0;

protected:
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnDestroy();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    LRESULT OnInstall(WPARAM, LPARAM);
    LRESULT OnRefresh(WPARAM, LPARAM);
    LRESULT OnSelectPath(WPARAM, LPARAM);

private:
    void LayOutControls(int cx, int cy);
    int LabelHeight() const;
    int CaptionHeight() const;
    LPCSTR InitialPath() const;

    // An installation pumps messages: a request that arrives meanwhile
    // must not start a second run or rebuild the tree under the first.
    bool m_bInstalling = false;

    DECLARE_MESSAGE_MAP()
};
