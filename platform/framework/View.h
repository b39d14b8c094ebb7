// CView: a child window that shows a document. It paints through OnDraw,
// routes commands to itself and then to its document, and tells its frame
// when the user activates it.
#pragma once

#include "platform/framework/Wnd.h"

class CDC;
class CDocument;
struct CCreateContext;

class CView : public CWnd
{
public:
    // Set once the window owns the object: the view is then deleted after
    // its window is gone.
    BOOL m_bAutoDelete = FALSE;

    CDocument* GetDocument() const { return m_pDocument; }

    // Called by the frame for every view of a new or re-initialised
    // document, before the user sees it. The default repaints the view.
    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC) = 0;
    // Prepares a painting context before OnDraw.
    virtual void OnPrepareDC(CDC*) {}
    // The frame's active view changes; a view being activated takes the
    // focus when its frame holds it.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // Joins the document of the creation context.
    void AttachToContext(CCreateContext* pContext);

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnMouseActivate(WPARAM, LPARAM);
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()
};
