// The command bar at the top of the main window: tick all, untick all and
// install, three bitmap buttons on steel blue, each with its tool tip.
#pragma once

#include "platform/framework/BitmapButton.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/Gdi.h"

class CCommandBar : public CDialogBar
{
public:
    CCommandBar();

    CBitmapButton m_btnAll;
    CBitmapButton m_btnNone;
    CBitmapButton m_btnInstall;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CBrush m_brBackground;

    DECLARE_MESSAGE_MAP()
};
