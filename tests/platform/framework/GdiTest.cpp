#include "platform/framework/Gdi.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

// A 32-bit memory context of the given size, filled white.
class CMemoryCanvas
{
public:
    CMemoryCanvas(int cx, int cy)
    {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_hOld = m_dc.SelectObject(&m_bitmap);
        PatBlt(m_dc, 0, 0, cx, cy, WHITENESS);
    }
    ~CMemoryCanvas() { m_dc.SelectObject(m_hOld); }

    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y)
    {
        GdiFlush();
        return GetPixel(m_dc, x, y);
    }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld;
};

TEST(Gdi, SelectedObjectRestoresWhatItReplaced)
{
    CMemoryCanvas canvas(4, 4);
    HGDIOBJ hPenBefore = GetCurrentObject(*canvas.DC(), OBJ_PEN);
    CPen pen(PS_SOLID, 1, RED);
    {
        CSelectedObject selected(canvas.DC(), &pen);
        EXPECT_EQ(pen.GetSafeHandle(), GetCurrentObject(*canvas.DC(), OBJ_PEN));
        HGDIOBJ hPrevious = canvas.DC()->SelectStockObject(WHITE_PEN);
        EXPECT_EQ(pen.GetSafeHandle(), hPrevious);
        canvas.DC()->SelectObject(hPrevious);
    }
    EXPECT_EQ(hPenBefore, GetCurrentObject(*canvas.DC(), OBJ_PEN));
}

TEST(Gdi, ObjectsOwnTheirHandlesButTemporaryBrushesDoNot)
{
    HGDIOBJ hOwned = nullptr;
    {
        CBrush brush(RED);
        hOwned = brush.GetSafeHandle();
        EXPECT_EQ(OBJ_BRUSH, static_cast<int>(GetObjectType(hOwned)));
    }
    EXPECT_EQ(0u, GetObjectType(hOwned)) << "a brush is deleted with its object";

    CBrush detached(BLUE);
    HGDIOBJ hKept = detached.Detach();
    detached.DeleteObject();
    EXPECT_EQ(OBJ_BRUSH, static_cast<int>(GetObjectType(hKept)));
    DeleteObject(hKept);

    HBRUSH hSystem = GetSysColorBrush(COLOR_HIGHLIGHT);
    CBrush* pTemp = CBrush::FromHandle(hSystem);
    EXPECT_EQ(pTemp, CBrush::FromHandle(hSystem)) << "one temporary per handle";
    CBrush::DeleteTempMap();
    LOGBRUSH lb = {};
    EXPECT_EQ(static_cast<int>(sizeof(lb)), GetObjectA(hSystem, sizeof(lb), &lb)) << "the system brush survives";
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), lb.lbColor);
}

TEST(Gdi, FillRectAndLinesLandOnTheirPixels)
{
    CMemoryCanvas canvas(20, 20);
    CDC* pDC = canvas.DC();
    CBrush brush(RED);
    pDC->FillRect(CRect(2, 2, 5, 5), &brush);
    CPen pen(PS_SOLID, 1, BLUE);
    {
        CSelectedObject selected(pDC, &pen);
        pDC->MoveTo(0, 10);
        pDC->LineTo(20, 10);
    }
    // A shifted viewport moves logical coordinates on the device.
    CPoint ptOld = pDC->SetViewportOrg(-10, 0);
    EXPECT_EQ(CPoint(0, 0), ptOld);
    EXPECT_EQ(CPoint(-10, 0), pDC->GetViewportOrg());
    pDC->FillRect(CRect(10, 15, 11, 16), &brush);
    pDC->SetViewportOrg(ptOld);

    struct
    {
        int x, y;
        COLORREF cr;
    } cases[] = {
        { 2, 2, RED },
        { 4, 4, RED },
        { 5, 5, RGB(255, 255, 255) },
        { 1, 2, RGB(255, 255, 255) },
        { 0, 10, BLUE },
        { 19, 10, BLUE },
        { 5, 11, RGB(255, 255, 255) },
        { 0, 15, RED },
        { 10, 15, RGB(255, 255, 255) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cr, canvas.At(c.x, c.y)) << "at " << c.x << "," << c.y;
}

TEST(Gdi, ClipRegionOperationsNarrowThePaintedArea)
{
    CMemoryCanvas canvas(20, 20);
    CDC* pDC = canvas.DC();
    pDC->IntersectClipRect(CRect(0, 0, 10, 10));
    pDC->ExcludeClipRect(CRect(0, 0, 5, 10));
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    EXPECT_EQ(CRect(5, 0, 10, 10), rcClip);
    EXPECT_FALSE(pDC->RectVisible(CRect(0, 0, 5, 5)));
    EXPECT_TRUE(pDC->RectVisible(CRect(4, 0, 6, 5)));

    CBrush brush(RED);
    pDC->FillRect(CRect(0, 0, 20, 20), &brush);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(4, 4));
    EXPECT_EQ(RED, canvas.At(5, 4));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 4));
}

TEST(Gdi, PaintDCValidatesTheWindow)
{
    CWnd wnd;
    wnd.Attach(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
    ASSERT_NE(nullptr, wnd.m_hWnd);
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    wnd.UpdateWindow();
    wnd.InvalidateRect(CRect(0, 0, 10, 10), FALSE);
    {
        CPaintDC dc(&wnd);
        EXPECT_NE(nullptr, dc.GetSafeHdc());
        EXPECT_EQ(CRect(0, 0, 10, 10), CRect(dc.m_ps.rcPaint));
    }
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "EndPaint validated the area";
    {
        CClientDC dc(&wnd);
        EXPECT_NE(nullptr, dc.GetSafeHdc());
    }
    wnd.DestroyWindow();
}

// A window whose handlers record what the crackers hand them.
class CCrackedWnd : public CWnd
{
public:
    HDC m_hEraseDC = nullptr;
    UINT m_nCtlColor = 99;
    CWnd* m_pCtlWnd = nullptr;
    UINT m_nFlags = 0;
    CPoint m_point;

    BOOL OnEraseBkgnd(CDC* pDC)
    {
        m_hEraseDC = pDC->GetSafeHdc();
        return 7;
    }
    HBRUSH OnCtlColor(CDC*, CWnd* pWnd, UINT nCtlColor)
    {
        m_pCtlWnd = pWnd;
        m_nCtlColor = nCtlColor;
        return static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    }
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_nFlags = nFlags;
        m_point = point;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCrackedWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(Gdi, MessageCrackersPassTheirArguments)
{
    CCrackedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND hChild = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, wnd, nullptr, nullptr, nullptr);

    HDC hDC = GetDC(wnd);
    EXPECT_EQ(7, wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC)));
    EXPECT_EQ(hDC, wnd.m_hEraseDC);

    struct
    {
        UINT nMessage;
        UINT nCtlColor;
    } kinds[] = {
        { WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX },
        { WM_CTLCOLOREDIT, CTLCOLOR_EDIT },
        { WM_CTLCOLORBTN, CTLCOLOR_BTN },
        { WM_CTLCOLORSTATIC, CTLCOLOR_STATIC },
    };
    for (const auto& k : kinds) {
        LRESULT lResult = wnd.SendMessage(k.nMessage, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hChild));
        EXPECT_EQ(GetStockObject(GRAY_BRUSH), reinterpret_cast<HGDIOBJ>(lResult));
        EXPECT_EQ(k.nCtlColor, wnd.m_nCtlColor);
        EXPECT_EQ(hChild, wnd.m_pCtlWnd->GetSafeHwnd());
    }
    ReleaseDC(wnd, hDC);

    // Coordinates left of or above the window arrive negative, not as
    // large unsigned numbers.
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 300));
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON | MK_SHIFT), wnd.m_nFlags);
    EXPECT_EQ(CPoint(-5, 300), wnd.m_point);
    wnd.DestroyWindow();
}

TEST(Geometry, RectArithmetic)
{
    CRect rc(10, 20, 50, 60);
    EXPECT_EQ(CSize(40, 40), rc.Size());
    EXPECT_EQ(CRect(10, 30, 50, 60), rc & CRect(0, 30, 100, 100));
    EXPECT_TRUE((rc & CRect(50, 20, 60, 60)).IsRectEmpty()) << "half-open ranges do not meet";
    rc.DeflateRect(1, 2);
    EXPECT_EQ(CRect(11, 22, 49, 58), rc);
    EXPECT_EQ(CRect(1, 2, 39, 38), rc - CPoint(10, 20));
    EXPECT_TRUE(rc.PtInRect(CPoint(11, 22)));
    EXPECT_FALSE(rc.PtInRect(CPoint(49, 22)));
}

}   // namespace
