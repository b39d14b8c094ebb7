#include "ui/TreeVw.h"

#include "catalogue/TarnixMessages.h"
#include "platform/framework/Gdi.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CTreeVw, CFormView)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(UM_INSTALL, OnInstall)
    ON_MESSAGE(UM_REFRESH, OnRefresh)
    ON_MESSAGE(UM_SELECT_PATH, OnSelectPath)
END_MESSAGE_MAP()

namespace {

// The pane's own node flags; none of them changes what the model lists.
constexpr UINT PANE_FLAGS = 0xA0;
// Between the label and the tree, a white gap.
constexpr int GAP = 2;

}   // namespace

CTreeVw::CTreeVw() : CFormView(IDD_DEST_PANE) {}

void CTreeVw::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEST_TREE, m_wndTree);
}

void CTreeVw::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    GetDocument()->m_pDestPane = this;
    // The form never scrolls: its parts are laid out to its size.
    SetScrollSizes(MM_TEXT, CSize(0, 0));
    // The pane got its size before the tree was bound: lay it out now.
    CRect rcClient;
    GetClientRect(rcClient);
    LayOutControls(rcClient.Width(), rcClient.Height());
    m_nRootIndex = 0;
    m_nEnumFlags = PANE_FLAGS;
    // Sent, not posted: the tree is there before the scan starts.
    SendMessage(UM_SELECT_PATH);
}

LPCSTR CTreeVw::InitialPath() const
{
    return GetDocument()->m_strPaths[PATH_SLOT_DESTINATION];
}

int CTreeVw::CaptionHeight() const
{
    return GetDocument()->m_nRowHeight;
}

int CTreeVw::LabelHeight() const
{
    CRect rcLabel;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_PATH_LABEL), rcLabel);
    return rcLabel.Height();
}

void CTreeVw::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    if (m_wndTree.m_hWnd != nullptr)
        LayOutControls(cx, cy);
}

// From top to bottom: the caption strip, the label, a white gap, the tree
// down to the bottom edge; every part spans the full width.
void CTreeVw::LayOutControls(int cx, int cy)
{
    const int h = CaptionHeight();
    const int cyLabel = LabelHeight();
    ::MoveWindow(::GetDlgItem(m_hWnd, IDC_PATH_LABEL), 0, h, cx, cyLabel, TRUE);
    m_wndTree.MoveWindow(0, h + cyLabel + GAP, cx, cy - (h + cyLabel + GAP), TRUE);
}

BOOL CTreeVw::OnEraseBkgnd(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(rcClient);
    const int cx = rcClient.Width();
    const int h = CaptionHeight();
    pDC->SetBkMode(TRANSPARENT);
    pDC->FillRect(CRect(0, 0, cx, h), &GetDocument()->m_brHeader);
    {
        CSelectedObject pen(pDC, ::GetStockObject(WHITE_PEN));
        pDC->MoveTo(0, 0);
        pDC->LineTo(0, h - 1);
        pDC->MoveTo(0, 0);
        pDC->LineTo(cx, 0);
    }
    {
        CSelectedObject pen(pDC, ::GetStockObject(BLACK_PEN));
        pDC->MoveTo(0, h - 1);
        pDC->LineTo(cx, h - 1);
    }
    CString strCaption;
    strCaption.LoadString(IDS_DEST_CAPTION);
    CRect rcText(3, 0, cx, h);
    pDC->DrawText(strCaption, -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    const int cyLabel = LabelHeight();
    pDC->FillRect(CRect(0, h + cyLabel, cx, h + cyLabel + GAP),
                  CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
    return TRUE;
}

void CTreeVw::OnDestroy()
{
    CTarnixDoc* pDoc = GetDocument();
    if (pDoc != nullptr && pDoc->m_pDestPane == this)
        pDoc->m_pDestPane = nullptr;
    CFormView::OnDestroy();
    // The model goes while the tree still exists.
    m_wndTree.Clear(true);
}

HBRUSH CTreeVw::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HBRUSH hBrush = CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor != CTLCOLOR_STATIC)
        return hBrush;
    // The path label on white.
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

LRESULT CTreeVw::OnSelectPath(WPARAM, LPARAM)
{
    m_wndTree.SelectPath(m_nEnumFlags, m_nRootIndex, InitialPath());
    m_wndTree.UpdatePathLabel();
    return 0;
}

LRESULT CTreeVw::OnRefresh(WPARAM, LPARAM)
{
    if (m_bInstalling)
        return 0;
    // Once without the handheld, then with it: the handheld is looked for
    // afresh.
    m_wndTree.Clear(true);
    m_wndTree.SelectPath(m_nEnumFlags | FNF_NODEVICE, m_nRootIndex, nullptr);
    m_wndTree.Clear(true);
    m_wndTree.SelectPath(m_nEnumFlags, m_nRootIndex, InitialPath());
    m_wndTree.UpdatePathLabel();
    return 0;
}

LRESULT CTreeVw::OnInstall(WPARAM, LPARAM)
{
    if (m_bInstalling)
        return 0;
    m_bInstalling = true;
    CTarnixDoc* pDoc = GetDocument();
    m_wndTree.Install(pDoc->m_pEntries, pDoc->m_nEntries);
    m_bInstalling = false;
    return 0;
}
