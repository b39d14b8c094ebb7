// The splitter between the content list and the destination pane: its bar
// is steel blue, like the command and totals bars.
#pragma once

#include "platform/framework/Gdi.h"
#include "platform/framework/Splitter.h"

class CFrameSplitter : public CSplitterWnd
{
public:
    CFrameSplitter();

    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;

protected:
    CBrush m_brBar;
};
