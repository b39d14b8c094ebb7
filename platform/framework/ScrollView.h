// CScrollView: a view larger than its window. It keeps the scroll position
// in its scroll bars, shows a bar only when the content does not fit, and
// shifts the painting context so that OnDraw works in logical coordinates.
#pragma once

#include "platform/framework/Geometry.h"
#include "platform/framework/View.h"

// The scroll bars a view needs to show sizeTotal in a window whose client
// area, without bars, is sizeClient; sizeBars holds the width of a vertical
// and the height of a horizontal bar. A bar in one direction narrows the
// other direction, which may then need its bar too.
struct AFX_SCROLLBARS
{
    BOOL bHorz;
    BOOL bVert;
};
AFX_SCROLLBARS AfxNeededScrollBars(SIZE sizeTotal, SIZE sizeClient, SIZE sizeBars);

// The page and line amounts of SetScrollSizes when the caller leaves them
// to the framework: a tenth of the total, and a tenth of the page.
CSize AfxDefaultPageSize(SIZE sizeTotal);
CSize AfxDefaultLineSize(SIZE sizePage);

// The position reached from nPos by nDelta, kept within 0..nLimit.
int AfxClampScrollPos(int nPos, int nDelta, int nLimit);

class CScrollView : public CView
{
public:
    // Passed as page or line size: let the framework choose.
    static const SIZE sizeDefault;

    // Only MM_TEXT is supported: one logical unit is one pixel.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CSize GetTotalSize() const { return m_totalDev; }
    CPoint GetScrollPosition() const { return GetDeviceScrollPosition(); }
    CPoint GetDeviceScrollPosition() const;
    void ScrollToPosition(POINT pt);

    // nScrollCode carries the horizontal scroll-bar code in its low byte
    // and the vertical one in its high byte (0xFF: no scrolling that way).
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    // Scrolls by sizeScroll within the limits; FALSE when nothing moved.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    // Where a scroll by sizeScroll would lead: within the scroll limits, and
    // not at all in a direction without a scroll bar.
    CPoint ScrollTarget(CSize sizeScroll) const;
    void OnPrepareDC(CDC* pDC) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnHScroll(WPARAM wParam, LPARAM);
    LRESULT OnVScroll(WPARAM wParam, LPARAM);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM);

    void UpdateBars();
    int ScrollDelta(int nBar, UINT nCode, UINT nPos) const;

    int m_nMapMode = MM_TEXT;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_bInsideUpdate = FALSE;

    DECLARE_MESSAGE_MAP()
};
