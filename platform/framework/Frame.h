// CFrameWnd: the top-level window of a document. It is loaded from one
// resource id (menu, accelerators, icon, title), lays out its control bars
// around the pane window, keeps the active view and routes commands:
// active view, its document, the frame itself, then the application.
#pragma once

#include "platform/framework/FrameworkIds.h"
#include "platform/framework/Geometry.h"
#include "platform/framework/Wnd.h"

#include <functional>
#include <vector>

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;

using CViewFactory = std::function<CView*()>;

// What a frame needs to make its views: the document they show, how to
// make a view, and the template that made the document.
struct CCreateContext
{
    CDocument* m_pCurrentDoc = nullptr;
    CViewFactory m_pNewViewClass;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

// Frame style: the window title shows the document's title before the
// frame's own.
constexpr DWORD FWS_ADDTOTITLE = 0x8000;

// One bar for AfxLayoutBars: docked at the top (else the bottom) and its
// height.
struct AFX_BARSLOT
{
    BOOL bTop;
    int cy;
};

// Lays bars out in rcClient in their order: top bars downwards from the
// top, bottom bars upwards from the bottom, each the full width. Returns
// the bars' rectangles and, in rcRest, what is left for the pane window.
std::vector<CRect> AfxLayoutBars(const RECT& rcClient, const std::vector<AFX_BARSLOT>& bars, CRect& rcRest);

class CFrameWnd : public CWnd
{
public:
    // Set once the window owns the object: the frame is then deleted after
    // its window is gone.
    BOOL m_bAutoDelete = FALSE;
    HACCEL m_hAccelTable = nullptr;

    CFrameWnd() = default;

    // Creates the frame with menu, accelerators and icon nIDResource; its
    // title is the first line of string nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Makes the client area; the default creates one view from the context.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // Bars at the top and bottom, the pane window in what is left.
    virtual void RecalcLayout();
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    CDocument* GetActiveDocument() const;

    // Makes the first pane view active, gives every view of pDoc its
    // initial update and, when bMakeVisible is set, shows the frame: the
    // main window in the program's show state the first time, afterwards
    // only when hidden.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // With FWS_ADDTOTITLE, the title becomes "document - frame title".
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnClose();
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    void OnPaneCommand(UINT nID);
    void PostNcDestroy() override;

    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_listControlBars;

private:
    int TakeShowCommand();

    DECLARE_MESSAGE_MAP()
};
