#include "platform/framework/Gdi.h"
#include "platform/framework/WinApp.h"

#include <memory>
#include <unordered_map>

namespace {

// A temporary brush lets go of its handle before it dies, whenever that
// is: the brush belongs to the system.
struct DetachBeforeDelete
{
    void operator()(CBrush* pBrush) const
    {
        pBrush->Detach();
        delete pBrush;
    }
};

// Brushes wrapped by CBrush::FromHandle; they never own their handle.
std::unordered_map<HBRUSH, std::unique_ptr<CBrush, DetachBeforeDelete>>& TemporaryBrushes()
{
    static std::unordered_map<HBRUSH, std::unique_ptr<CBrush, DetachBeforeDelete>> map;
    return map;
}

}   // namespace

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    if (hBrush == nullptr)
        return nullptr;
    auto& temps = TemporaryBrushes();
    auto it = temps.find(hBrush);
    if (it != temps.end())
        return it->second.get();
    std::unique_ptr<CBrush, DetachBeforeDelete> pBrush(new CBrush);
    pBrush->Attach(hBrush);
    return temps.emplace(hBrush, std::move(pBrush)).first->second.get();
}

void CBrush::DeleteTempMap()
{
    TemporaryBrushes().clear();
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = nullptr;
    m_bOwnsDC = FALSE;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (!Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    const BOOL bOwns = m_bOwnsDC;
    HDC hDC = Detach();
    return bOwns && hDC != nullptr && ::DeleteDC(hDC);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return size;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT pt = {};
    ::MoveToEx(m_hDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT pt = {};
    ::SetViewportOrgEx(m_hDC, x, y, &pt);
    return pt;
}

CPoint CDC::GetViewportOrg() const
{
    POINT pt = {};
    ::GetViewportOrgEx(m_hDC, &pt);
    return pt;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : CClientDC(pWnd->m_hWnd, ::GetDC(pWnd->m_hWnd)) {}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
