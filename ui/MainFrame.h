// The main window: the command bar on top, the content list and the
// destination pane side by side below it, and the totals bar at the
// bottom. It handles no command of its own: the buttons and the menu reach
// the document through the framework's routing.
#pragma once

#include "platform/framework/Frame.h"
#include "ui/CommandBar.h"
#include "ui/FrameSplitter.h"
#include "ui/TotalsBar.h"

class CMainFrame : public CFrameWnd
{
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    CFrameSplitter m_splitter;
    CCommandBar m_commandBar;
    CTotalsBar m_totalsBar;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);

    DECLARE_MESSAGE_MAP()
};

// The list pane's share of a client area W wide: two thirds, rounded down;
// the destination pane has the rest.
inline int ListPaneWidth(int cxClient)
{
    return 2 * cxClient / 3;
}
