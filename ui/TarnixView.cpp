#include "ui/TarnixView.h"

#include "catalogue/TarnixMessages.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "ui/CellText.h"
#include "ui/Colours.h"
#include "ui/RaisedFrame.h"
#include "ui/TotalsBar.h"

#include <algorithm>

namespace {

constexpr COLORREF GRID_COLOUR = LIGHT_GREY;
constexpr UINT COLUMN_CAPTION_IDS[COLUMN_COUNT] = { IDS_COLUMN_TITLE, IDS_COLUMN_SIZE, IDS_COLUMN_FILE_NAME };

bool Meets(const CRect& rc, const CRect& rcClip)
{
    return !(rc & rcClip).IsRectEmpty();
}

}   // namespace

ColumnEdges CTarnixView::s_nColEdge = { 0, 250, 350, 530 };

BEGIN_MESSAGE_MAP(CTarnixView, CScrollView)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(UM_SCAN, OnScan)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

CTarnixView::CTarnixView()
    : m_gridPen(PS_SOLID, 1, GRID_COLOUR),
      m_hResizeCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_COLUMN_RESIZE)))
{
}

void CTarnixView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    GetDocument()->m_pListView = this;
    // The scan waits until the frame is on screen.
    PostMessage(UM_SCAN);
}

void CTarnixView::OnDestroy()
{
    // The document outlives its views: it must not keep one that is gone.
    CTarnixDoc* pDoc = GetDocument();
    if (pDoc != nullptr && pDoc->m_pListView == this)
        pDoc->m_pListView = nullptr;
    CScrollView::OnDestroy();
}

LRESULT CTarnixView::OnScan(WPARAM, LPARAM)
{
    CTarnixDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 0;
    pDoc->ScanContent(".kda");
    RecalcScrollSizes();
    Invalidate(TRUE);
    return 0;
}

void CTarnixView::RecalcScrollSizes()
{
    const int h = RowHeight();
    const int nRows = GetDocument()->m_nEntries + 1;   // the header row too
    SetScrollSizes(MM_TEXT, CSize(s_nColEdge[COLUMN_EDGE_COUNT - 1], nRows * h), CSize(30, h), CSize(10, h));
}

CRect CTarnixView::VisibleRect() const
{
    CRect rc;
    GetClientRect(rc);
    rc.OffsetRect(GetDeviceScrollPosition());
    return rc;
}

BOOL CTarnixView::OnEraseBkgnd(CDC*)
{
    // OnDraw covers every pixel.
    return TRUE;
}

void CTarnixView::OnDraw(CDC* pDC)
{
    if (GetDocument() == nullptr)
        return;
    const CRect rcVisible = VisibleRect();
    CRect rcClip;
    pDC->GetClipBox(rcClip);
    pDC->SetBkMode(TRANSPARENT);

    DrawHeader(pDC, rcVisible, rcClip);
    const int h = RowHeight();
    const CRect rcBody(rcVisible.left, rcVisible.top + h, rcVisible.right, rcVisible.bottom);
    if (!Meets(rcBody, rcClip))
        return;

    const LIST_ROWSPAN span = ListRowSpan(GetDeviceScrollPosition().y, h, rcVisible.Height());
    const int nRows = DrawRows(pDC, rcVisible, rcClip, span);
    DrawColumnLines(pDC, rcVisible, rcClip);

    // White below the last row, over the column lines there, so that they
    // show only beside entries.
    const int nBelowTop = std::max<int>(ListRowRect(rcVisible, span, h, nRows).top, rcBody.top);
    const CRect rcBelow(rcVisible.left, nBelowTop, rcVisible.right, rcVisible.bottom);
    if (!rcBelow.IsRectEmpty())
        pDC->FillRect(rcBelow, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
}

void CTarnixView::DrawHeader(CDC* pDC, const CRect& rcVisible, const CRect& rcClip)
{
    const int h = RowHeight();
    const CRect rcHeader(rcVisible.left, rcVisible.top, rcVisible.right, rcVisible.top + h);
    if (Meets(rcHeader, rcClip))
        pDC->FillRect(rcHeader, &GetDocument()->m_brHeader);
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        const CRect rcCell(s_nColEdge[i], rcHeader.top, s_nColEdge[i + 1], rcHeader.bottom);
        if (!Meets(rcCell, rcClip))
            continue;
        CString strCaption;
        strCaption.LoadString(COLUMN_CAPTION_IDS[i]);
        CRect rcText = rcCell;
        rcText.left += 1;
        pDC->DrawText(strCaption, -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        DrawRaisedFrame(pDC, rcCell, ::GetStockObject(BLACK_PEN));
    }
}

int CTarnixView::DrawRows(CDC* pDC, const CRect& rcVisible, const CRect& rcClip, const LIST_ROWSPAN& span)
{
    CTarnixDoc* pDoc = GetDocument();
    const int h = RowHeight();
    const int nRows = ListRowsToPaint(span, pDoc->m_nEntries);
    CBrush brHighlight(::GetSysColor(COLOR_HIGHLIGHT));
    for (int r = 0; r < nRows; ++r) {
        const CRect rcRow = ListRowRect(rcVisible, span, h, r);
        if (Meets(rcRow, rcClip))
            DrawRow(pDC, pDoc->m_pEntries[span.nFirstRow + r], rcRow, ListCellArea(rcRow, rcVisible, h), &brHighlight);
    }
    return nRows;
}

void CTarnixView::DrawRow(CDC* pDC, const ContentEntry& entry, const CRect& rcRow, const CRect& rcCells,
                          CBrush* pbrHighlight)
{
    const bool bTicked = (entry.bSelected & 1) != 0;
    pDC->FillRect(rcCells,
                  bTicked ? pbrHighlight : CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
    pDC->SetTextColor(bTicked ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        char szText[CELL_TEXT_SIZE] = {};
        FormatCellText(entry, i, szText);
        const CRect rcCell(s_nColEdge[i], rcCells.top, s_nColEdge[i + 1], rcRow.bottom);
        pDC->ExtTextOut(s_nColEdge[i] + 1, rcRow.top + 1, ETO_CLIPPED, rcCell, szText, lstrlenA(szText));
    }
    CSelectedObject pen(pDC, &m_gridPen);
    pDC->MoveTo(rcRow.left, rcRow.bottom - 1);
    pDC->LineTo(rcRow.right, rcRow.bottom - 1);
}

void CTarnixView::DrawColumnLines(CDC* pDC, const CRect& rcVisible, const CRect& rcClip)
{
    CSelectedObject pen(pDC, &m_gridPen);
    for (int nEdge : s_nColEdge) {
        const int x = nEdge - 1;
        if (rcClip.left <= x && x < rcClip.right) {
            pDC->MoveTo(x, rcVisible.top + RowHeight());
            pDC->LineTo(x, rcVisible.bottom);
        }
    }
}

BOOL CTarnixView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const CPoint ptOld = GetDeviceScrollPosition();
    const CPoint ptNew = ScrollTarget(sizeScroll);
    if (ptNew == ptOld)
        return FALSE;
    if (!bDoScroll)
        return TRUE;

    const bool bHorz = ptNew.x != ptOld.x;
    const bool bVert = ptNew.y != ptOld.y;
    if (bVert) {
        // Only the rows move; the header stays at the top.
        CRect rcRows;
        GetClientRect(rcRows);
        const CRect rcHeader(rcRows.left, rcRows.top, rcRows.right, rcRows.top + RowHeight());
        rcRows.top = rcHeader.bottom;
        ScrollWindow(ptOld.x - ptNew.x, ptOld.y - ptNew.y, rcRows, rcRows);
        // A sideways move at the same time shifts the header as well.
        if (bHorz)
            InvalidateRect(rcHeader, TRUE);
    } else {
        ScrollWindow(ptOld.x - ptNew.x, 0);
    }
    if (bHorz)
        SetScrollPos(SB_HORZ, ptNew.x);
    if (bVert) {
        SetScrollPos(SB_VERT, ptNew.y);
        UpdateWindow();
    }
    return TRUE;
}

int CTarnixView::HitTestColumnEdge(int x, int y) const
{
    CTarnixDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->m_pEntries == nullptr)
        return 0;
    CRect rcClient;
    GetClientRect(rcClient);
    rcClient.OffsetRect(GetDeviceScrollPosition().x, 0);
    if (!rcClient.PtInRect(CPoint(x, y)))
        return -1;
    return ColumnEdgeNear(s_nColEdge, x);
}

void CTarnixView::OnLButtonDown(UINT, CPoint point)
{
    Default();
    CTarnixDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->m_pEntries == nullptr)
        return;
    const int x = point.x + GetDeviceScrollPosition().x;
    m_nDragEdge = HitTestColumnEdge(x, point.y);
    if (m_nDragEdge > 0)
        BeginColumnDrag(x);
    else
        ToggleEntryAt(point);
}

void CTarnixView::ToggleEntryAt(CPoint point)
{
    CTarnixDoc* pDoc = GetDocument();
    const int h = RowHeight();
    CRect rcBody;
    GetClientRect(rcBody);
    rcBody.top += h;
    if (!rcBody.PtInRect(point))
        return;
    const int sy = GetDeviceScrollPosition().y;
    const int nRow = ListRowAt(point.y, 0, h, sy);
    if (nRow >= pDoc->m_nEntries)
        return;
    pDoc->m_pEntries[nRow].bSelected ^= 1;
    const int nTop = (nRow + 1) * h - sy;
    InvalidateRect(CRect(rcBody.left, nTop, rcBody.right, nTop + h - 1), TRUE);
    InvalidateTotalsBar();
}

void CTarnixView::BeginColumnDrag(int x)
{
    m_nDragX = x;
    ::SetCursor(m_hResizeCursor);
    // The border may not come within the gap of the border on its left.
    CRect rcClient;
    GetClientRect(rcClient);
    CRect rcConfine(s_nColEdge[m_nDragEdge - 1] + EDGE_MIN_GAP, rcClient.top, ::GetSystemMetrics(SM_CXSCREEN),
                    rcClient.bottom);
    rcConfine.OffsetRect(-GetDeviceScrollPosition().x, 0);
    ClientToScreen(rcConfine);
    ::ClipCursor(rcConfine);
    // The button may come up over another window; the drag must still end.
    ::SetCapture(m_hWnd);
}

void CTarnixView::OnMouseMove(UINT, CPoint point)
{
    Default();
    const int x = point.x + GetDeviceScrollPosition().x;
    if (m_nDragEdge > 0)
        DragColumnEdge(x);
    else if (HitTestColumnEdge(x, point.y) > 0)
        ::SetCursor(m_hResizeCursor);
}

void CTarnixView::DragColumnEdge(int x)
{
    ::SetCursor(m_hResizeCursor);
    const int k = m_nDragEdge;
    const int nOld = s_nColEdge[k];
    // The step is measured from the previous mouse position, so a border
    // held back by its neighbour keeps trailing the mouse.
    ShiftColumnEdges(s_nColEdge, k, ClampDraggedEdge(s_nColEdge, k, x) - m_nDragX);
    RecalcScrollSizes();
    m_nDragX = x;

    CRect rcChanged;
    GetClientRect(rcChanged);
    rcChanged.left = std::min(nOld, s_nColEdge[k]) - 1 - GetDeviceScrollPosition().x;
    InvalidateRect(rcChanged, TRUE);
    UpdateWindow();
}

void CTarnixView::OnLButtonUp(UINT, CPoint)
{
    Default();
    if (m_nDragEdge > 0)
        EndColumnDrag();
}

LRESULT CTarnixView::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_nDragEdge > 0)
        EndColumnDrag();
    return 0;
}

void CTarnixView::EndColumnDrag()
{
    m_nDragEdge = -1;
    m_nDragX = -1;
    ::ClipCursor(nullptr);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}
