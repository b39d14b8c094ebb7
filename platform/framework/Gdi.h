// GDI wrappers: pens, brushes and bitmaps that own their handle, and the
// device context with the drawing operations the windows use. Each
// operation is the system call of the same name on the wrapped handle.
#pragma once

#include "platform/HandleOwner.h"
#include "platform/framework/Geometry.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/Wnd.h"

struct GdiObjectTraits
{
    using Handle = HGDIOBJ;
    static Handle None() { return nullptr; }
    static bool Release(Handle h) { return ::DeleteObject(h) != FALSE; }
};

// A GDI object owned by this C++ object: deleted with it, unless detached.
class CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;

    HGDIOBJ GetSafeHandle() const { return m_object.Get(); }
    BOOL Attach(HGDIOBJ hObject) { return m_object.Attach(hObject); }
    HGDIOBJ Detach() { return m_object.Detach(); }
    BOOL DeleteObject() { return m_object.Release(); }

private:
    CHandleOwner<GdiObjectTraits> m_object;
};

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    operator HPEN() const { return static_cast<HPEN>(GetSafeHandle()); }
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(GetSafeHandle()); }

    // A stock or system brush as a temporary object that does not own it
    // and lives until the application is next idle.
    static CBrush* FromHandle(HBRUSH hBrush);
    static void DeleteTempMap();
};

class CDC;

class CBitmap : public CGdiObject
{
public:
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return ::GetObjectA(GetSafeHandle(), sizeof(BITMAP), pBitMap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(GetSafeHandle()); }
};

// A device context. The base class only wraps the handle; CreateCompatibleDC
// makes a memory context that the object deletes, and the derived classes
// below acquire and release the context of a window.
class CDC
{
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Each Select returns the object it replaced, for the caller to select
    // again when it is done (or let a CSelectedObject do it).
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    HGDIOBJ SelectObject(CGdiObject* pObject) { return SelectObject(pObject->GetSafeHandle()); }
    HGDIOBJ SelectStockObject(int nIndex) { return SelectObject(::GetStockObject(nIndex)); }

    void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, *pBrush); }
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount,
                    const INT* lpDxWidths = nullptr)
    {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
    }

    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    int ExcludeClipRect(LPCRECT lpRect)
    {
        return ::ExcludeClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int IntersectClipRect(LPCRECT lpRect)
    {
        return ::IntersectClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint GetViewportOrg() const;

private:
    BOOL m_bOwnsDC = FALSE;   // a memory context made by CreateCompatibleDC
};

// Selects an object into a device context for the holder's scope and then
// selects back what it replaced.
class CSelectedObject
{
public:
    CSelectedObject(CDC* pDC, HGDIOBJ hObject) : m_pDC(pDC), m_hOld(pDC->SelectObject(hObject)) {}
    CSelectedObject(CDC* pDC, CGdiObject* pObject) : CSelectedObject(pDC, pObject->GetSafeHandle()) {}
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;
    ~CSelectedObject() { m_pDC->SelectObject(m_hOld); }

private:
    CDC* m_pDC;
    HGDIOBJ m_hOld;
};

// The painting context of WM_PAINT: BeginPaint in the constructor,
// EndPaint in the destructor.
class CPaintDC : public CDC
{
public:
    PAINTSTRUCT m_ps = {};

    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

private:
    HWND m_hWnd;
};

// The context of a window's client area (GetDC / ReleaseDC).
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    CClientDC(HWND hWnd, HDC hDC) : m_hWnd(hWnd) { Attach(hDC); }

private:
    HWND m_hWnd;
};

// The context of a window's whole area, frame included (GetWindowDC).
class CWindowDC : public CClientDC
{
public:
    explicit CWindowDC(CWnd* pWnd) : CClientDC(pWnd->m_hWnd, ::GetWindowDC(pWnd->m_hWnd)) {}
};

namespace afx {

template <auto H> void OnEraseBkgnd(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, BOOL(CDC*), "BOOL OnEraseBkgnd(CDC*)");
    CDC dc;   // wraps the message's context without owning it
    dc.Attach(reinterpret_cast<HDC>(c.wParam));
    c.lResult = (Target<H>(p)->*H)(&dc);
}

// Every WM_CTLCOLORxxx arrives here; the handler gets the kind of control
// as an offset from WM_CTLCOLORMSGBOX (CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC).
template <auto H> void OnCtlColor(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, HBRUSH(CDC*, CWnd*, UINT), "HBRUSH OnCtlColor(CDC*, CWnd*, UINT)");
    CDC dc;   // wraps the message's context without owning it
    dc.Attach(reinterpret_cast<HDC>(c.wParam));
    CWnd* pWnd = CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam));
    c.lResult = reinterpret_cast<LRESULT>((Target<H>(p)->*H)(&dc, pWnd, c.nMessage - WM_CTLCOLORMSGBOX));
}

template <auto H> void OnMouse(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(UINT, CPoint), "void OnXxx(UINT nFlags, CPoint point)");
    const CPoint point(static_cast<short>(LOWORD(c.lParam)), static_cast<short>(HIWORD(c.lParam)));
    (Target<H>(p)->*H)(static_cast<UINT>(c.wParam), point);
}

}   // namespace afx
