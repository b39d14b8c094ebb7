#include "platform/framework/BitmapButton.h"

BOOL CBitmapButton::AutoLoad(UINT nID, CWnd* pParent)
{
    if (!SubclassDlgItem(nID, pParent))
        return FALSE;
    CString strCaption;
    GetWindowText(strCaption);
    if (!LoadBitmaps(strCaption + 'U', strCaption + 'D', strCaption + 'F', strCaption + 'X'))
        return FALSE;
    SizeToContent();
    return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(LPCSTR lpszUp, LPCSTR lpszDown, LPCSTR lpszFocus, LPCSTR lpszDisabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.LoadBitmap(lpszUp))
        return FALSE;
    m_bitmapSel.LoadBitmap(lpszDown);
    m_bitmapFocus.LoadBitmap(lpszFocus);
    m_bitmapDisabled.LoadBitmap(lpszDisabled);
    return TRUE;
}

void CBitmapButton::SizeToContent()
{
    BITMAP bm = {};
    if (m_bitmap.GetSafeHandle() == nullptr || !m_bitmap.GetBitmap(&bm))
        return;
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CBitmap* CBitmapButton::BitmapForState(UINT nState)
{
    // A missing bitmap falls back to the up one.
    if ((nState & ODS_SELECTED) && m_bitmapSel.GetSafeHandle() != nullptr)
        return &m_bitmapSel;
    if ((nState & ODS_DISABLED) && m_bitmapDisabled.GetSafeHandle() != nullptr)
        return &m_bitmapDisabled;
    if ((nState & ODS_FOCUS) && m_bitmapFocus.GetSafeHandle() != nullptr)
        return &m_bitmapFocus;
    return &m_bitmap;
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CBitmap* pBitmap = BitmapForState(lpDIS->itemState);
    if (pBitmap->GetSafeHandle() == nullptr)
        return;
    CDC dc;
    dc.Attach(lpDIS->hDC);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    {
        CSelectedObject selected(&dcMem, pBitmap);
        const CRect rc(lpDIS->rcItem);
        dc.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    }
    dc.Detach();
}

BOOL CBitmapButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}
