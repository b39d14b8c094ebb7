#include "platform/framework/ScrollView.h"
#include "platform/framework/Gdi.h"

#include <algorithm>

const SIZE CScrollView::sizeDefault = { 0, 0 };

AFX_SCROLLBARS AfxNeededScrollBars(SIZE sizeTotal, SIZE sizeClient, SIZE sizeBars)
{
    AFX_SCROLLBARS bars = { sizeTotal.cx > sizeClient.cx, sizeTotal.cy > sizeClient.cy };
    // A bar that appears takes room from the other direction.
    if (bars.bHorz && !bars.bVert)
        bars.bVert = sizeTotal.cy > sizeClient.cy - sizeBars.cy;
    if (bars.bVert && !bars.bHorz)
        bars.bHorz = sizeTotal.cx > sizeClient.cx - sizeBars.cx;
    return bars;
}

CSize AfxDefaultPageSize(SIZE sizeTotal)
{
    return CSize(sizeTotal.cx / 10, sizeTotal.cy / 10);
}

CSize AfxDefaultLineSize(SIZE sizePage)
{
    return CSize(sizePage.cx / 10, sizePage.cy / 10);
}

int AfxClampScrollPos(int nPos, int nDelta, int nLimit)
{
    return std::max(0, std::min(nPos + nDelta, nLimit));
}

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_MESSAGE(WM_HSCROLL, OnHScroll)
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalDev = sizeTotal;
    const bool bDefaultPage = sizePage.cx == 0 && sizePage.cy == 0;
    m_pageDev = bDefaultPage ? AfxDefaultPageSize(sizeTotal) : CSize(sizePage);
    const bool bDefaultLine = sizeLine.cx == 0 && sizeLine.cy == 0;
    m_lineDev = bDefaultLine ? AfxDefaultLineSize(m_pageDev) : CSize(sizeLine);
    if (m_hWnd != nullptr)
        UpdateBars();
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

void CScrollView::ScrollToPosition(POINT pt)
{
    const CPoint ptNow = GetDeviceScrollPosition();
    OnScrollBy(CSize(pt.x - ptNow.x, pt.y - ptNow.y), TRUE);
}

void CScrollView::OnPrepareDC(CDC* pDC)
{
    const CPoint pt = GetDeviceScrollPosition();
    pDC->SetViewportOrg(-pt.x, -pt.y);
}

void CScrollView::OnSize(UINT, int, int)
{
    Default();
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    // Showing or hiding a bar resizes the client area, which comes back here.
    if (m_bInsideUpdate)
        return;
    m_bInsideUpdate = TRUE;

    CRect rcClient;
    GetClientRect(rcClient);
    const CSize sizeBars(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
    // Measure the client area as it would be without our bars.
    const DWORD dwStyle = GetStyle();
    CSize sizeClient = rcClient.Size();
    if (dwStyle & WS_VSCROLL)
        sizeClient.cx += sizeBars.cx;
    if (dwStyle & WS_HSCROLL)
        sizeClient.cy += sizeBars.cy;
    const AFX_SCROLLBARS bars = AfxNeededScrollBars(m_totalDev, sizeClient, sizeBars);
    const CSize sizeVisible(sizeClient.cx - (bars.bVert ? sizeBars.cx : 0),
                            sizeClient.cy - (bars.bHorz ? sizeBars.cy : 0));

    const CPoint ptOld = GetDeviceScrollPosition();
    const int anBar[2] = { SB_HORZ, SB_VERT };
    const BOOL abShow[2] = { bars.bHorz, bars.bVert };
    const int anTotal[2] = { m_totalDev.cx, m_totalDev.cy };
    const int anVisible[2] = { sizeVisible.cx, sizeVisible.cy };
    for (int i = 0; i < 2; ++i) {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_PAGE | SIF_RANGE;
        si.nMax = abShow[i] ? anTotal[i] - 1 : 0;
        si.nPage = abShow[i] ? static_cast<UINT>(anVisible[i]) : 0;
        ::SetScrollInfo(m_hWnd, anBar[i], &si, TRUE);
        ::ShowScrollBar(m_hWnd, anBar[i], abShow[i]);
    }
    // Positions beyond the new limits move back, and the picture with them.
    const CPoint ptNew(std::min<int>(ptOld.x, GetScrollLimit(SB_HORZ)),
                       std::min<int>(ptOld.y, GetScrollLimit(SB_VERT)));
    if (ptNew != ptOld) {
        SetScrollPos(SB_HORZ, ptNew.x);
        SetScrollPos(SB_VERT, ptNew.y);
        Invalidate();
    }
    m_bInsideUpdate = FALSE;
}

int CScrollView::ScrollDelta(int nBar, UINT nCode, UINT nPos) const
{
    const int nLine = nBar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy;
    const int nPage = nBar == SB_HORZ ? m_pageDev.cx : m_pageDev.cy;
    const int nCurrent = GetScrollPos(nBar);
    switch (nCode) {
    case SB_TOP:
        return -nCurrent;
    case SB_BOTTOM:
        return GetScrollLimit(nBar) - nCurrent;
    case SB_LINEUP:
        return -nLine;
    case SB_LINEDOWN:
        return nLine;
    case SB_PAGEUP:
        return -nPage;
    case SB_PAGEDOWN:
        return nPage;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message carries 16 bits of position; the bar has them all.
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        const int nTrack = ::GetScrollInfo(m_hWnd, nBar, &si) ? si.nTrackPos : static_cast<int>(nPos);
        return nTrack - nCurrent;
    }
    default:
        return 0;
    }
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    const UINT nHorz = LOBYTE(nScrollCode);
    const UINT nVert = HIBYTE(nScrollCode);
    const CSize sizeScroll(nHorz == 0xFF ? 0 : ScrollDelta(SB_HORZ, nHorz, nPos),
                           nVert == 0xFF ? 0 : ScrollDelta(SB_VERT, nVert, nPos));
    return OnScrollBy(sizeScroll, bDoScroll);
}

CPoint CScrollView::ScrollTarget(CSize sizeScroll) const
{
    const CPoint ptOld = GetDeviceScrollPosition();
    const DWORD dwStyle = GetStyle();
    const int cx = (dwStyle & WS_HSCROLL) ? sizeScroll.cx : 0;
    const int cy = (dwStyle & WS_VSCROLL) ? sizeScroll.cy : 0;
    return CPoint(AfxClampScrollPos(ptOld.x, cx, GetScrollLimit(SB_HORZ)),
                  AfxClampScrollPos(ptOld.y, cy, GetScrollLimit(SB_VERT)));
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const CPoint ptOld = GetDeviceScrollPosition();
    const CPoint ptNew = ScrollTarget(sizeScroll);
    if (ptNew == ptOld)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(ptOld.x - ptNew.x, ptOld.y - ptNew.y);
        SetScrollPos(SB_HORZ, ptNew.x);
        SetScrollPos(SB_VERT, ptNew.y);
    }
    return TRUE;
}

LRESULT CScrollView::OnHScroll(WPARAM wParam, LPARAM)
{
    OnScroll(MAKEWORD(LOWORD(wParam), 0xFF), HIWORD(wParam));
    return 0;
}

LRESULT CScrollView::OnVScroll(WPARAM wParam, LPARAM)
{
    OnScroll(MAKEWORD(0xFF, LOWORD(wParam)), HIWORD(wParam));
    return 0;
}

LRESULT CScrollView::OnMouseWheel(WPARAM wParam, LPARAM)
{
    // One notch scrolls the user's number of lines, or a page; a view
    // without a vertical bar scrolls sideways.
    UINT nLines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    const bool bVert = (GetStyle() & WS_VSCROLL) != 0;
    const int nLine = bVert ? m_lineDev.cy : m_lineDev.cx;
    const int nPage = bVert ? m_pageDev.cy : m_pageDev.cx;
    const int nNotches = GET_WHEEL_DELTA_WPARAM(wParam);
    const int nAmount = nLines == WHEEL_PAGESCROLL ? nPage * -nNotches / WHEEL_DELTA
                                                   : nLine * static_cast<int>(nLines) * -nNotches / WHEEL_DELTA;
    OnScrollBy(bVert ? CSize(0, nAmount) : CSize(nAmount, 0), TRUE);
    return 0;
}
