// CControlBar and CDialogBar: a strip docked at the top or the bottom of a
// frame, made from a child dialog template. Its buttons' commands go to the
// frame's routing, and while the application is idle each control asks the
// frame's routing whether it is enabled.
#pragma once

#include "platform/framework/Geometry.h"
#include "platform/framework/Wnd.h"

class CFrameWnd;

// Bar styles.
constexpr DWORD CBRS_TOOLTIPS = 0x0010;        // tool tips for the bar's controls
constexpr DWORD CBRS_BORDER_TOP = 0x0200;      // a line along the top edge
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;   // a line along the bottom edge
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;       // docked at the top of the frame
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;    // docked at the bottom

// Height of one border line of a bar: a shadow and a highlight pixel.
constexpr int AFX_CY_BAR_BORDER = 2;

// The bar's height with its border lines around a client area of cyClient.
int AfxBarHeight(int cyClient, DWORD dwBarStyle);

class CControlBar : public CWnd
{
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    // The size the frame gives the bar: the frame's width is set by the
    // frame, the height is the bar's own.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Brings the controls' states up to date through pTarget's routing.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;

protected:
    // Joins pFrame's layout and, with CBRS_TOOLTIPS, gives every child
    // control a tool tip whose text is asked of the bar (TTN_NEEDTEXT).
    void DockInFrame(CFrameWnd* pFrame);
    void AddToolTips();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy();
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM, LPARAM);

    DWORD m_dwStyle = 0;
    CSize m_sizeDefault;   // the client size the bar asks for
    CFrameWnd* m_pDockSite = nullptr;
    HWND m_hWndToolTip = nullptr;

    DECLARE_MESSAGE_MAP()
};

class CDialogBar : public CControlBar
{
public:
    // Creates the bar from child dialog template nIDTemplate with bar style
    // nStyle (CBRS_...) as child nID of the frame pParentWnd; it is shown.
    virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
};
