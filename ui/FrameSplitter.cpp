#include "ui/FrameSplitter.h"

#include "ui/Colours.h"

CFrameSplitter::CFrameSplitter() : m_brBar(STEEL_BLUE) {}

void CFrameSplitter::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (nType == splitBar && pDC != nullptr && pDC->GetSafeHdc() != nullptr) {
        pDC->FillRect(&rect, &m_brBar);
        return;
    }
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}
