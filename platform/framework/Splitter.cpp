#include "platform/framework/Splitter.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/View.h"

#include <algorithm>
#include <memory>

void AfxLayoutSplitPanes(std::vector<AFX_SPLITINFO>& panes, int nExtent, int nGap)
{
    int nRoom = nExtent;
    for (size_t i = 0; i < panes.size(); ++i) {
        const bool bLast = i + 1 == panes.size();
        const int nSize = bLast ? nRoom : std::min(panes[i].nIdealSize, nRoom);
        panes[i].nCurSize = std::max(nSize, 0);
        nRoom -= panes[i].nCurSize + nGap;
    }
}

AFX_DRAGLIMITS AfxSplitterDragLimits(int nStart, int nEnd, int nMinBefore, int nMinAfter, int nGap)
{
    const int nLow = nStart + nMinBefore;
    const int nHigh = nEnd - nMinAfter - nGap;
    // Too little room for both minimums: the leading pane's wins.
    return { nLow, std::max(nLow, nHigh) };
}

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16)
        return FALSE;
    m_rows.assign(nRows, AFX_SPLITINFO());
    m_cols.assign(nCols, AFX_SPLITINFO());
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return Create(lpszClass, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, const CViewFactory& factory, SIZE sizeInit, CCreateContext* pContext)
{
    if (row < 0 || row >= GetRowCount() || col < 0 || col >= GetColumnCount())
        return FALSE;
    m_cols[col].nIdealSize = sizeInit.cx;
    m_rows[row].nIdealSize = sizeInit.cy;
    // The pane's window takes the view over once it exists.
    std::unique_ptr<CView> pView(factory());
    if (!pView
        || !pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IdFromRowCol(row, col),
                          pContext))
        return FALSE;
    pView->m_bAutoDelete = TRUE;
    pView.release();
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_rows.at(row).nIdealSize = cyIdeal;
    m_rows.at(row).nMinSize = cyMin;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_cols.at(col).nIdealSize = cxIdeal;
    m_cols.at(col).nMinSize = cxMin;
}

int CSplitterWnd::PaneStart(const std::vector<AFX_SPLITINFO>& panes, int i)
{
    int nStart = 0;
    for (int j = 0; j < i; ++j)
        nStart += panes[j].nCurSize + m_cxSplitter;
    return nStart;
}

CRect CSplitterWnd::CellRect(int row, int col) const
{
    const int x = PaneStart(m_cols, col);
    const int y = PaneStart(m_rows, row);
    return CRect(x, y, x + m_cols[col].nCurSize, y + m_rows[row].nCurSize);
}

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect rcClient;
    GetClientRect(rcClient);
    AfxLayoutSplitPanes(m_cols, rcClient.Width(), m_cxSplitter);
    AfxLayoutSplitPanes(m_rows, rcClient.Height(), m_cxSplitter);
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
            if (hPane == nullptr)
                continue;
            CRect rc = CellRect(row, col);
            rc.DeflateRect(m_cxBorder, m_cxBorder);
            ::MoveWindow(hPane, rc.left, rc.top, std::max(rc.Width(), 0), std::max(rc.Height(), 0), TRUE);
        }
    }
    Invalidate();
}

void CSplitterWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    return FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

void CSplitterWnd::ActivateNext(BOOL bPrev)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return;
    std::vector<CView*> panes;
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            if (auto* pView = dynamic_cast<CView*>(GetPane(row, col)))
                panes.push_back(pView);
        }
    }
    if (panes.empty())
        return;
    const int nCount = static_cast<int>(panes.size());
    auto it = std::find(panes.begin(), panes.end(), pFrame->GetActiveView());
    int nNext = bPrev ? nCount - 1 : 0;
    if (it != panes.end())
        nNext = (static_cast<int>(it - panes.begin()) + (bPrev ? nCount - 1 : 1)) % nCount;
    pFrame->SetActiveView(panes[nNext]);
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (pDC == nullptr) {
        ::RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    if (nType == splitBorder) {
        CRect rc = rect;
        ::DrawEdge(pDC->m_hDC, rc, EDGE_SUNKEN, BF_RECT);
        return;
    }
    pDC->FillRect(&rect, CBrush::FromHandle(::GetSysColorBrush(COLOR_3DFACE)));
}

LRESULT CSplitterWnd::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(rcClient);
    for (int col = 0; col + 1 < GetColumnCount(); ++col) {
        const int x = PaneStart(m_cols, col) + m_cols[col].nCurSize;
        OnDrawSplitter(&dc, splitBar, CRect(x, rcClient.top, x + m_cxSplitter, rcClient.bottom));
    }
    for (int row = 0; row + 1 < GetRowCount(); ++row) {
        const int y = PaneStart(m_rows, row) + m_rows[row].nCurSize;
        OnDrawSplitter(&dc, splitBar, CRect(rcClient.left, y, rcClient.right, y + m_cxSplitter));
        for (int col = 0; col + 1 < GetColumnCount(); ++col) {
            const int x = PaneStart(m_cols, col) + m_cols[col].nCurSize;
            OnDrawSplitter(&dc, splitIntersection, CRect(x, y, x + m_cxSplitter, y + m_cxSplitter));
        }
    }
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int col = 0; col < GetColumnCount(); ++col)
            OnDrawSplitter(&dc, splitBorder, CellRect(row, col));
    }
    return 0;
}

bool CSplitterWnd::HitTestBar(CPoint point, bool& bColumn, int& nIndex) const
{
    for (int col = 0; col + 1 < GetColumnCount(); ++col) {
        const int x = PaneStart(m_cols, col) + m_cols[col].nCurSize;
        if (point.x >= x && point.x < x + m_cxSplitter) {
            bColumn = true;
            nIndex = col;
            return true;
        }
    }
    for (int row = 0; row + 1 < GetRowCount(); ++row) {
        const int y = PaneStart(m_rows, row) + m_rows[row].nCurSize;
        if (point.y >= y && point.y < y + m_cxSplitter) {
            bColumn = false;
            nIndex = row;
            return true;
        }
    }
    return false;
}

LRESULT CSplitterWnd::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        bool bColumn = false;
        int nIndex = 0;
        if (m_bTracking || HitTestBar(point, bColumn, nIndex)) {
            const bool bSizeWE = m_bTracking ? m_bTrackColumn : bColumn;
            ::SetCursor(::LoadCursor(nullptr, bSizeWE ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
    }
    return Default();
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    bool bColumn = false;
    int nIndex = 0;
    if (!HitTestBar(point, bColumn, nIndex))
        return;
    const std::vector<AFX_SPLITINFO>& panes = bColumn ? m_cols : m_rows;
    const int nBarStart = PaneStart(panes, nIndex) + panes[nIndex].nCurSize;
    m_bTracking = true;
    m_bTrackColumn = bColumn;
    m_nTrackIndex = nIndex;
    m_nTrackOffset = (bColumn ? point.x : point.y) - nBarStart;
    ::SetCapture(m_hWnd);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_bTracking)
        TrackTo(point);
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bTracking)
        return;
    TrackTo(point);
    m_bTracking = false;
    ::ReleaseCapture();
}

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM)
{
    m_bTracking = false;
    return 0;
}

void CSplitterWnd::TrackTo(CPoint point)
{
    // The bar follows the mouse within the limits; the two panes beside it
    // take the new sizes as their ideal ones.
    std::vector<AFX_SPLITINFO>& panes = m_bTrackColumn ? m_cols : m_rows;
    const int i = m_nTrackIndex;
    const int nStart = PaneStart(panes, i);
    const int nEnd = PaneStart(panes, i + 1) + panes[i + 1].nCurSize;
    const AFX_DRAGLIMITS limits =
        AfxSplitterDragLimits(nStart, nEnd, panes[i].nMinSize, panes[i + 1].nMinSize, m_cxSplitter);
    const int nWanted = (m_bTrackColumn ? point.x : point.y) - m_nTrackOffset;
    const int nBar = std::max(limits.nLow, std::min(nWanted, limits.nHigh));
    panes[i].nIdealSize = nBar - nStart;
    panes[i + 1].nIdealSize = nEnd - (nBar + m_cxSplitter);
    RecalcLayout();
}
