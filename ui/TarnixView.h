// The content list: the left pane of the main window. It shows the
// document's catalogue as a table of title, size and file name under a
// header row that stays put, ticks an entry on a click and lets the user
// drag the column borders.
#pragma once

#include "catalogue/TarnixDoc.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/ScrollView.h"
#include "ui/ListGeometry.h"

class CTarnixView : public CScrollView
{
public:
    CTarnixView();

    // Column borders in logical pixels, shared by every list of the
    // process and kept only while it runs.
    static ColumnEdges s_nColEdge;

    CTarnixDoc* GetDocument() const { return static_cast<CTarnixDoc*>(m_pDocument); }

    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // Scroll sizes for the table: its width and the header plus one row
    // per entry.
    void RecalcScrollSizes();
    // The border (1 to 3) within reach of logical x at client y; -1 when
    // none is or the point is outside the window, 0 without a catalogue.
    int HitTestColumnEdge(int x, int y) const;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnScan(WPARAM, LPARAM);
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);

private:
    int RowHeight() const { return GetDocument()->m_nRowHeight; }
    // The client area in logical coordinates.
    CRect VisibleRect() const;

    void DrawHeader(CDC* pDC, const CRect& rcVisible, const CRect& rcClip);
    // Returns the number of rows the body holds.
    int DrawRows(CDC* pDC, const CRect& rcVisible, const CRect& rcClip, const LIST_ROWSPAN& span);
    void DrawRow(CDC* pDC, const ContentEntry& entry, const CRect& rcRow, const CRect& rcCells, CBrush* pbrHighlight);
    void DrawColumnLines(CDC* pDC, const CRect& rcVisible, const CRect& rcClip);

    void ToggleEntryAt(CPoint point);
    void BeginColumnDrag(int x);
    void DragColumnEdge(int x);
    void EndColumnDrag();

    CPen m_gridPen;
    int m_nDragEdge = -1;   // border being dragged; 0 or below when idle
    int m_nDragX = -1;      // logical mouse x at the previous drag step
    HCURSOR m_hResizeCursor;

    DECLARE_MESSAGE_MAP()
};
