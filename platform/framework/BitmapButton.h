// CBitmapButton: an owner-drawn push button that shows one bitmap per
// state, loaded by the button's caption: caption + "U" (up), "D" (pressed),
// "F" (focused) and "X" (disabled). Only the up bitmap is required.
#pragma once

#include "platform/framework/Gdi.h"

class CBitmapButton : public CWnd
{
public:
    // Subclasses button nID of pParent, loads its bitmaps by caption and
    // sizes the button to the up bitmap. FALSE without an up bitmap.
    BOOL AutoLoad(UINT nID, CWnd* pParent);
    BOOL LoadBitmaps(LPCSTR lpszUp, LPCSTR lpszDown, LPCSTR lpszFocus, LPCSTR lpszDisabled);
    void SizeToContent();
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

protected:
    // The parent hands WM_DRAWITEM back to the button.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    CBitmap* BitmapForState(UINT nState);

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
