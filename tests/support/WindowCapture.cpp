#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

SIZE ClientSize(HWND hWnd)
{
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    return SIZE{ rc.right - rc.left, rc.bottom - rc.top };
}

HBITMAP CreateTopDownDib(SIZE size, void** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = size.cx;
    bmi.bmiHeader.biHeight = -size.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, ppBits, nullptr, 0);
}

void CopyClientArea(HWND hWnd, HBITMAP hBitmap, SIZE size)
{
    HDC hdcWindow = GetDC(hWnd);
    HDC hdcMem = CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdcMem, 0, 0, size.cx, size.cy, hdcWindow, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    ReleaseDC(hWnd, hdcWindow);
}

}   // namespace

CWindowCapture::CWindowCapture(HWND hWnd) : m_hBitmap(nullptr), m_pBits(nullptr), m_size(ClientSize(hWnd))
{
    EXPECT_TRUE(IsWindowVisible(hWnd)) << "a hidden window paints nothing to capture";
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    void* pBits = nullptr;
    m_hBitmap = CreateTopDownDib(m_size, &pBits);
    if (!m_hBitmap) {
        ADD_FAILURE() << "no bitmap of " << m_size.cx << " x " << m_size.cy << " for the capture";
        m_size = SIZE{ 0, 0 };
        return;
    }
    m_pBits = static_cast<const DWORD*>(pBits);
    CopyClientArea(hWnd, m_hBitmap, m_size);
    GdiFlush();
}

CWindowCapture::~CWindowCapture()
{
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
}

COLORREF CWindowCapture::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size.cx || y >= m_size.cy)
        return CLR_INVALID;
    DWORD dwPixel = m_pBits[y * m_size.cx + x];
    return RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF);
}
