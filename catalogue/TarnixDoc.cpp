#include "catalogue/TarnixDoc.h"
#include "catalogue/GlobalBlock.h"
#include "catalogue/TarnixMessages.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CTarnixDoc, CDocument)
    ON_COMMAND(ID_INSTALL, OnInstall)
    ON_UPDATE_COMMAND_UI(ID_INSTALL, OnUpdateInstall)
    ON_COMMAND(ID_REFRESH, OnRefresh)
    ON_COMMAND_RANGE(ID_SELECT_ALL, ID_SELECT_NONE, OnSelect)
END_MESSAGE_MAP()

CTarnixDoc::CTarnixDoc()
{
    // The grey of the list's heading row and the pane's caption strip.
    m_brHeader.CreateSolidBrush(RGB(191, 191, 191));
}

CTarnixDoc::~CTarnixDoc()
{
    ReleaseCatalogue();
}

void CTarnixDoc::Serialize(CArchive&)
{
    // The document holds nothing that could be stored or loaded.
}

BOOL CTarnixDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    SplitPathSlots(pApp ? pApp->m_lpCmdLine : "", m_strPaths);
    UpdateTitle(m_nPathIndex);
    return TRUE;
}

void CTarnixDoc::UpdateTitle(int)
{
    CWnd* pFrame = AfxGetMainWnd();
    if (pFrame == nullptr || pFrame->m_hWnd == nullptr)
        return;
    char szCaption[256] = {};
    ::LoadStringA(AfxGetResourceHandle(), IDS_MAIN_CAPTION, szCaption, sizeof(szCaption));
    pFrame->SetWindowText(szCaption);
}

void CTarnixDoc::ReleaseCatalogue()
{
    FreeBlock(m_pEntries);
    m_pEntries = nullptr;
    m_nEntries = 0;
}

void CTarnixDoc::OnSelect(UINT nID)
{
    const int bSelected = nID == ID_SELECT_ALL ? 1 : 0;
    for (int i = 0; i < m_nEntries; ++i)
        m_pEntries[i].bSelected = bSelected;

    if (m_pListView != nullptr && m_pListView->m_hWnd != nullptr)
        m_pListView->Invalidate(TRUE);
    CWnd* pMain = AfxGetMainWnd();
    CWnd* pTotals = pMain ? pMain->GetDlgItem(IDW_TOTALS_BAR) : nullptr;
    if (pTotals != nullptr)
        pTotals->Invalidate(TRUE);
}

void CTarnixDoc::OnInstall()
{
    if (m_pDestPane != nullptr)
        m_pDestPane->PostMessage(UM_INSTALL);
}

void CTarnixDoc::OnUpdateInstall(CCmdUI* pCmdUI)
{
    BOOL bAnyTicked = FALSE;
    for (int i = 0; i < m_nEntries && !bAnyTicked; ++i)
        bAnyTicked = (m_pEntries[i].bSelected & 1) != 0;
    pCmdUI->Enable(bAnyTicked);
}

void CTarnixDoc::OnRefresh()
{
    if (m_pDestPane != nullptr)
        m_pDestPane->PostMessage(UM_REFRESH);
}
