#include "ui/RaisedFrame.h"

void DrawRaisedFrame(CDC* pDC, const CRect& rc, HGDIOBJ hShadowPen)
{
    {
        CSelectedObject pen(pDC, ::GetStockObject(WHITE_PEN));
        pDC->MoveTo(rc.left, rc.top);
        pDC->LineTo(rc.left, rc.bottom - 1);
        pDC->MoveTo(rc.left, rc.top);
        pDC->LineTo(rc.right - 1, rc.top);
    }
    CSelectedObject pen(pDC, hShadowPen);
    pDC->MoveTo(rc.right - 1, rc.top);
    pDC->LineTo(rc.right - 1, rc.bottom);
    pDC->MoveTo(rc.left, rc.bottom - 1);
    pDC->LineTo(rc.right, rc.bottom - 1);
}
