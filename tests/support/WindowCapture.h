// What a visible window shows on screen, child windows included, for tests
// that check colours and layout.
#pragma once

#include <windows.h>

// Repaints the window's client area (erase and paint, children too) and
// copies it from the screen into a 32-bit bitmap. PrintWindow would not do:
// it leaves the children out.
class CWindowCapture
{
public:
    explicit CWindowCapture(HWND hWnd);
    ~CWindowCapture();
    CWindowCapture(const CWindowCapture&) = delete;
    CWindowCapture& operator=(const CWindowCapture&) = delete;

    SIZE Size() const { return m_size; }
    // Colour at client coordinates x, y; CLR_INVALID outside the capture.
    COLORREF PixelAt(int x, int y) const;

private:
    HBITMAP m_hBitmap;
    const DWORD* m_pBits;   // top-down rows of 0x00RRGGBB
    SIZE m_size;
};
