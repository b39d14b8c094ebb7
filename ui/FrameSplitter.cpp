#include "ui/FrameSplitter.h"

#include "ui/Colours.h"

BEGIN_MESSAGE_MAP(CFrameSplitter, CSplitterWnd)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
END_MESSAGE_MAP()

CFrameSplitter::CFrameSplitter() : m_brBar(STEEL_BLUE) {}

void CFrameSplitter::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (nType == splitBar && pDC != nullptr && pDC->GetSafeHdc() != nullptr) {
        pDC->FillRect(&rect, &m_brBar);
        return;
    }
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}

LRESULT CFrameSplitter::OnEraseBkgnd(WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, WM_ERASEBKGND, wParam, lParam);
}
