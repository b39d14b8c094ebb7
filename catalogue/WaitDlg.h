// The modeless notice shown while the content folder is scanned.
#pragma once

#include "platform/framework/Dialog.h"

class CWaitDlg : public CDialog
{
public:
    // Creates the notice at once, owned by pParent, showing string
    // nMessageId (0: the template's text). Remove it with DestroyWindow.
    CWaitDlg(UINT nMessageId, CWnd* pParent);

    BOOL OnInitDialog() override;

    UINT m_nMessageId;

private:
    // Widens the text control, and the notice with it, when the text does
    // not fit.
    void FitTextWidth();
};
