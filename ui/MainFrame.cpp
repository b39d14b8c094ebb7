#include "ui/MainFrame.h"

#include "platform/framework/DocTemplate.h"
#include "res/resource.h"
#include "ui/TarnixView.h"
#include "ui/TreeVw.h"

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

constexpr DWORD COMMAND_BAR_STYLE = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS;
constexpr DWORD TOTALS_BAR_STYLE = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP | CBRS_TOOLTIPS;

}   // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // The caption is the document's: never a document name before it.
    cs.style &= ~FWS_ADDTOTITLE;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    CRect rcClient;
    GetClientRect(rcClient);
    const int cx = rcClient.Width();
    const int cy = rcClient.Height();
    if (!m_splitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    m_splitter.SetRowInfo(0, cy, 10);
    if (!m_splitter.CreateView(0, 0, &CreateObject<CTarnixView>, CSize(ListPaneWidth(cx), cy), pContext))
        return FALSE;
    return m_splitter.CreateView(0, 1, &CreateObject<CTreeVw>, CSize(cx - ListPaneWidth(cx), cy), pContext);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!m_commandBar.Create(this, IDD_COMMAND_BAR, COMMAND_BAR_STYLE, IDW_COMMAND_BAR))
        return -1;
    // A button without its bitmaps still works: its failure is no reason
    // to stop.
    m_commandBar.m_btnAll.AutoLoad(ID_SELECT_ALL, &m_commandBar);
    m_commandBar.m_btnNone.AutoLoad(ID_SELECT_NONE, &m_commandBar);
    m_commandBar.m_btnInstall.AutoLoad(ID_INSTALL, &m_commandBar);
    return m_totalsBar.Create(this, IDD_TOTALS_BAR, TOTALS_BAR_STYLE, IDW_TOTALS_BAR) ? 0 : -1;
}
