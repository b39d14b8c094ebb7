// A main window as the program has it, cut down to what the content list
// and the totals bar need: a frame with the list view over a real
// document, and the totals bar at the bottom.
#pragma once

#include "catalogue/GlobalBlock.h"
#include "catalogue/TarnixMessages.h"
#include "catalogue/TarnixDoc.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/Frame.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/MessagePump.h"
#include "ui/TarnixView.h"
#include "ui/TotalsBar.h"

#include <string>

class CListTestFrame
{
public:
    // pszContentFolder, when given, is scanned at the view's initial update.
    explicit CListTestFrame(int cx = 420, int cy = 320, const char* pszContentFolder = nullptr)
    {
        ResetColumnEdges();
        if (pszContentFolder != nullptr)
            m_doc.m_strPaths[0] = pszContentFolder;
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        context.m_pNewViewClass = [] { return new CTarnixView; };
        m_frame.CreateEx(0, nullptr, "list test", WS_OVERLAPPEDWINDOW, 0, 0, cx, cy, nullptr, nullptr, &context);
        m_totals.Create(&m_frame, IDD_TOTALS_BAR, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP | CBRS_TOOLTIPS, IDW_TOTALS_BAR);
        m_app.m_pMainWnd = &m_frame;
        m_frame.InitialUpdateFrame(&m_doc, TRUE);
        m_frame.RecalcLayout();
        m_pView = static_cast<CTarnixView*>(m_frame.GetActiveView());
        // Let the posted scan run.
        PumpMessagesUntil([this] { return !IsScanPending(); }, 10000);
    }

    ~CListTestFrame()
    {
        m_frame.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        ResetColumnEdges();
    }

    // Replaces the catalogue with nEntries unticked entries of nSize bytes.
    void SetEntries(int nEntries, int nSize = 1000)
    {
        FreeBlock(m_doc.m_pEntries);
        m_doc.m_pEntries = static_cast<ContentEntry*>(AllocZeroedBlock(nEntries * sizeof(ContentEntry)));
        m_doc.m_nEntries = nEntries;
        for (int i = 0; i < nEntries; ++i) {
            ContentEntry& entry = m_doc.m_pEntries[i];
            entry.nSize = nSize;
            wsprintfA(entry.szTitle, "Title %d", i);
            wsprintfA(entry.szFileName, "file%d.kda", i);
        }
        m_pView->RecalcScrollSizes();
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    bool IsScanPending() const
    {
        MSG msg;
        return m_pView != nullptr && PeekMessageA(&msg, *m_pView, UM_SCAN, UM_SCAN, PM_NOREMOVE);
    }

    // Paints everything now, so that what a step invalidates shows alone.
    void PaintAll()
    {
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    static void ResetColumnEdges()
    {
        const ColumnEdges nInitial = { 0, 250, 350, 530 };
        for (int i = 0; i < COLUMN_EDGE_COUNT; ++i)
            CTarnixView::s_nColEdge[i] = nInitial[i];
    }

    CWinApp m_app;
    CTarnixDoc m_doc;
    CFrameWnd m_frame;
    CTotalsBar m_totals;
    CTarnixView* m_pView = nullptr;
};
