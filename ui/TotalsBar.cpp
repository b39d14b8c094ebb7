#include "ui/TotalsBar.h"

#include "catalogue/TarnixDoc.h"
#include "platform/framework/Frame.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "ui/Colours.h"
#include "ui/RaisedFrame.h"
#include "ui/TotalsCells.h"

namespace {

CTarnixDoc* MainWindowDocument()
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return pFrame ? dynamic_cast<CTarnixDoc*>(pFrame->GetActiveDocument()) : nullptr;
}

CString CellLabel(UINT nID)
{
    // Each cell's label sits at a fixed distance from its control id.
    CString strLabel;
    strLabel.LoadString(nID + (IDS_TOTAL_ITEMS - IDC_TOTAL_ITEMS));
    return strLabel;
}

}   // namespace

BEGIN_MESSAGE_MAP(CTotalsBar, CDialogBar)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTotalsBar::CTotalsBar()
    : m_brBackground(STEEL_BLUE), m_brCell(RGB(212, 223, 255)), m_penShadow(PS_SOLID, 1, RGB(41, 63, 86))
{
}

BOOL CTotalsBar::OnEraseBkgnd(CDC* pDC)
{
    const CTarnixDoc* pDoc = MainWindowDocument();
    const TICKED_TOTALS totals = pDoc ? SumTickedEntries(pDoc->m_pEntries, pDoc->m_nEntries) : TICKED_TOTALS{ 0, 0 };
    pDC->SetBkMode(TRANSPARENT);
    DrawCell(pDC, IDC_TOTAL_ITEMS, FormatCountCell(CellLabel(IDC_TOTAL_ITEMS), totals.nCount));
    DrawCell(pDC, IDC_TOTAL_SIZE, FormatSizeCell(CellLabel(IDC_TOTAL_SIZE), totals.ullBytes));
    // The cells are excluded by now; the rest is background.
    CRect rcRest;
    pDC->GetClipBox(rcRest);
    pDC->FillRect(rcRest, &m_brBackground);
    return TRUE;
}

void CTotalsBar::DrawCell(CDC* pDC, UINT nID, const CString& strText)
{
    CWnd* pStatic = GetDlgItem(nID);
    if (pStatic == nullptr)
        return;
    CRect rc;
    pStatic->GetWindowRect(rc);
    ScreenToClient(rc);

    DrawRaisedFrame(pDC, rc, m_penShadow.GetSafeHandle());
    CRect rcInside = rc;
    rcInside.DeflateRect(1, 1);
    pDC->FillRect(rcInside, &m_brCell);

    CRect rcText = rc;
    rcText.left += 2;
    rcText.top += 1;
    pDC->DrawText(strText, -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    pDC->ExcludeClipRect(rc);
}

void InvalidateTotalsBar()
{
    CWnd* pMain = AfxGetMainWnd();
    CWnd* pBar = pMain ? pMain->GetDlgItem(IDW_TOTALS_BAR) : nullptr;
    if (pBar != nullptr)
        pBar->Invalidate(TRUE);
}
