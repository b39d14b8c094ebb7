// The totals bar at the bottom of the main window: how many entries are
// ticked and their total size. It keeps no totals; it sums the active
// document's entries whenever it is erased, so a change of ticks only has
// to invalidate it.
#pragma once

#include "platform/framework/ControlBar.h"
#include "platform/framework/Gdi.h"

class CTotalsBar : public CDialogBar
{
public:
    CTotalsBar();

protected:
    BOOL OnEraseBkgnd(CDC* pDC);

private:
    // One raised cell in the rectangle of hidden static nID, labelled by
    // string nID + 56993.
    void DrawCell(CDC* pDC, UINT nID, const CString& strText);

    CBrush m_brBackground;
    CBrush m_brCell;
    CPen m_penShadow;

    DECLARE_MESSAGE_MAP()
};

// Invalidates the main window's totals bar (its child IDW_TOTALS_BAR), so
// that it recomputes its totals.
void InvalidateTotalsBar();
