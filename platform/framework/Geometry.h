// CPoint, CSize and CRect: the system's POINT, SIZE and RECT with the
// arithmetic the windows and their painting use. Each is layout-compatible
// with its base, so a pointer to one can go wherever the system wants the
// plain structure.
#pragma once

#include <windows.h>

class CSize : public SIZE
{
public:
    CSize() : SIZE{ 0, 0 } {}
    CSize(int x, int y) : SIZE{ x, y } {}
    CSize(SIZE size) : SIZE(size) {}

    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
};

class CPoint : public POINT
{
public:
    CPoint() : POINT{ 0, 0 } {}
    CPoint(int x0, int y0) : POINT{ x0, y0 } {}
    CPoint(POINT pt) : POINT(pt) {}

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CSize operator-(POINT pt) const { return CSize(x - pt.x, y - pt.y); }
};

class CRect : public RECT
{
public:
    CRect() : RECT{ 0, 0, 0, 0 } {}
    CRect(int l, int t, int r, int b) : RECT{ l, t, r, b } {}
    CRect(const RECT& rc) : RECT(rc) {}
    CRect(POINT pt, SIZE size) : RECT{ pt.x, pt.y, pt.x + size.cx, pt.y + size.cy } {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void InflateRect(int dx, int dy)
    {
        left -= dx;
        top -= dy;
        right += dx;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    // Stores the intersection of the two rectangles; FALSE (and an empty
    // rectangle) when they do not meet.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    CRect& operator+=(POINT pt)
    {
        OffsetRect(pt);
        return *this;
    }
    CRect& operator-=(POINT pt)
    {
        OffsetRect(-pt.x, -pt.y);
        return *this;
    }
    CRect operator+(POINT pt) const
    {
        CRect rc(*this);
        rc += pt;
        return rc;
    }
    CRect operator-(POINT pt) const
    {
        CRect rc(*this);
        rc -= pt;
        return rc;
    }
    // The intersection, as a value.
    CRect operator&(const RECT& rc) const
    {
        CRect r;
        r.IntersectRect(this, &rc);
        return r;
    }
};
