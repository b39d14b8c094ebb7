#include "platform/framework/View.h"
#include "platform/framework/Document.h"
#include "platform/framework/Frame.h"
#include "platform/framework/Gdi.h"

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
END_MESSAGE_MAP()

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return CWnd::PreCreateWindow(cs);
}

void CView::AttachToContext(CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr) {
        m_pDocument = pContext->m_pCurrentDoc;
        m_pDocument->AddView(this);
    }
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    AttachToContext(static_cast<CCreateContext*>(GetCreateParam(lpcs)));
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
    m_pDocument = nullptr;
    Default();
}

void CView::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CView::OnInitialUpdate()
{
    Invalidate();
}

LRESULT CView::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
    return 0;
}

LRESULT CView::OnMouseActivate(WPARAM, LPARAM)
{
    LRESULT nResult = Default();
    if (nResult == MA_NOACTIVATEANDEAT || nResult == MA_ACTIVATEANDEAT)
        return nResult;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetActiveView(this);
    return nResult;
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (!bActivate || pActivateView != this)
        return;
    // Only take the focus from inside the frame, never from another window.
    CFrameWnd* pFrame = GetParentFrame();
    HWND hFocus = ::GetFocus();
    if (pFrame != nullptr && hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus)
        && (hFocus == pFrame->m_hWnd || ::IsChild(pFrame->m_hWnd, hFocus)))
        SetFocus();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
