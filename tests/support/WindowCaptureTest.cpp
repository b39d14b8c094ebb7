#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

const COLORREF g_crSteelBlue = RGB(85, 126, 170);
const COLORREF g_crGrey = RGB(191, 191, 191);

void FillRect(HDC hdc, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    ::FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

// Paints its four client quarters in the colours of its user data: the
// colour itself top left, then red, green and blue.
LRESULT CALLBACK QuarterWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_PAINT)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int cx = rc.right / 2, cy = rc.bottom / 2;
    FillRect(hdc, RECT{ 0, 0, cx, cy }, static_cast<COLORREF>(GetWindowLongPtrA(hWnd, GWLP_USERDATA)));
    FillRect(hdc, RECT{ cx, 0, rc.right, cy }, RGB(255, 0, 0));
    FillRect(hdc, RECT{ 0, cy, cx, rc.bottom }, RGB(0, 255, 0));
    FillRect(hdc, RECT{ cx, cy, rc.right, rc.bottom }, RGB(0, 0, 255));
    EndPaint(hWnd, &ps);
    return 0;
}

// Draws itself in its erase handler, as the program's bars do.
LRESULT CALLBACK EraseWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_ERASEBKGND)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(reinterpret_cast<HDC>(wParam), rc, g_crSteelBlue);
    return 1;
}

class WindowCapture : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterPaintClass("TarnixQuarters", QuarterWndProc);
        RegisterPaintClass("TarnixErased", EraseWndProc);
        m_hFrame = CreateWindowExA(0, "TarnixQuarters", "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20,
                                   20, 240, 180, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hFrame);
        SetWindowLongPtrA(m_hFrame, GWLP_USERDATA, g_crGrey);
        m_hChild = CreateWindowExA(0, "TarnixErased", nullptr, WS_CHILD | WS_VISIBLE, 10, 20, 30, 16, m_hFrame, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, m_hChild);
    }
    void TearDown() override { DestroyWindow(m_hFrame); }

    static void RegisterPaintClass(const char* pszClass, WNDPROC pfnWndProc)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = pfnWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = pszClass;
        RegisterClassA(&wc);
    }

    HWND m_hFrame = nullptr;
    HWND m_hChild = nullptr;
};

}   // namespace

TEST_F(WindowCapture, CaptureShowsTheClientAreaWithItsChildren)
{
    RECT rc;
    GetClientRect(m_hFrame, &rc);
    const int cx = rc.right / 2, cy = rc.bottom / 2;

    CWindowCapture capture(m_hFrame);

    EXPECT_EQ(rc.right, capture.Size().cx);
    EXPECT_EQ(rc.bottom, capture.Size().cy);
    struct Case
    {
        int x, y;
        COLORREF cr;
    };
    const Case cases[] = {
        { 0, 0, g_crGrey },
        { 45, 10, g_crGrey },
        { cx + 1, 0, RGB(255, 0, 0) },
        { 0, cy + 1, RGB(0, 255, 0) },
        { rc.right - 1, rc.bottom - 1, RGB(0, 0, 255) },
        { 10, 20, g_crSteelBlue },   // the child's corners
        { 39, 35, g_crSteelBlue },
        { 40, 35, g_crGrey },   // just beside and below it
        { 39, 36, g_crGrey },
        { -1, 0, CLR_INVALID },
        { 0, rc.bottom, CLR_INVALID },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.cr, capture.PixelAt(c.x, c.y)) << "at " << c.x << ", " << c.y;
}

TEST_F(WindowCapture, CaptureRepaintsFirst)
{
    CWindowCapture before(m_hFrame);
    SetWindowLongPtrA(m_hFrame, GWLP_USERDATA, RGB(255, 255, 0));

    CWindowCapture after(m_hFrame);

    EXPECT_EQ(g_crGrey, before.PixelAt(0, 0));
    EXPECT_EQ(RGB(255, 255, 0), after.PixelAt(0, 0));
}

TEST_F(WindowCapture, CaptureOfAChildIsInItsOwnCoordinates)
{
    CWindowCapture capture(m_hChild);

    EXPECT_EQ(30, capture.Size().cx);
    EXPECT_EQ(16, capture.Size().cy);
    EXPECT_EQ(g_crSteelBlue, capture.PixelAt(0, 0));
    EXPECT_EQ(g_crSteelBlue, capture.PixelAt(29, 15));
}
