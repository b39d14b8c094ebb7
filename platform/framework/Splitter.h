// CSplitterWnd: a static splitter. A fixed grid of panes, each a view, with
// bars between them that the user drags to share the room differently.
#pragma once

#include "platform/framework/Frame.h"
#include "platform/framework/Geometry.h"

#include <vector>

class CDC;

// One row or column: the size it asks for and the least it may be dragged
// to; nCurSize is what the last layout gave it.
struct AFX_SPLITINFO
{
    int nIdealSize = 0;
    int nMinSize = 0;
    int nCurSize = 0;
};

// Shares nExtent among the panes of one direction, with nGap pixels of bar
// between neighbours: every pane but the last gets its ideal size while
// room is left, the last gets the rest. Fills nCurSize.
void AfxLayoutSplitPanes(std::vector<AFX_SPLITINFO>& panes, int nExtent, int nGap);

// The range of the leading edge of the bar after pane nBar, while dragging:
// neither neighbour may become smaller than its minimum. nStart is where
// pane nBar begins, nEnd where pane nBar + 1 ends.
struct AFX_DRAGLIMITS
{
    int nLow;
    int nHigh;
};
AFX_DRAGLIMITS AfxSplitterDragLimits(int nStart, int nEnd, int nMinBefore, int nMinAfter, int nGap);

class CSplitterWnd : public CWnd
{
public:
    // The parts OnDrawSplitter paints.
    enum ESplitType
    {
        splitBar = 1,
        splitIntersection,
        splitBorder
    };

    CSplitterWnd() = default;

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Makes the view of one pane; sizeInit becomes the ideal width of its
    // column and the ideal height of its row.
    virtual BOOL CreateView(int row, int col, const CViewFactory& factory, SIZE sizeInit, CCreateContext* pContext);
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    virtual void RecalcLayout();

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return static_cast<int>(m_cols.size()); }
    CWnd* GetPane(int row, int col) const;
    static int IdFromRowCol(int row, int col) { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    // Makes the pane after (before) the frame's active view the active one.
    virtual void ActivateNext(BOOL bPrev = FALSE);

    // Paints one part; without a context, only invalidates its rectangle.
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);

    // Bar width and the sunken border around each pane, in pixels.
    static constexpr int m_cxSplitter = 7;
    static constexpr int m_cxBorder = 2;

protected:
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);

    // Where pane i of a direction begins.
    static int PaneStart(const std::vector<AFX_SPLITINFO>& panes, int i);
    CRect CellRect(int row, int col) const;
    // The bar under the point: true with its direction and index.
    bool HitTestBar(CPoint point, bool& bColumn, int& nIndex) const;
    void TrackTo(CPoint point);

    std::vector<AFX_SPLITINFO> m_rows;
    std::vector<AFX_SPLITINFO> m_cols;
    bool m_bTracking = false;
    bool m_bTrackColumn = false;
    int m_nTrackIndex = 0;
    int m_nTrackOffset = 0;   // mouse position within the bar

    DECLARE_MESSAGE_MAP()
};
