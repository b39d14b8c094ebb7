#include "platform/framework/Controls.h"
#include "platform/framework/Gdi.h"

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(GetSafeHandle(), *pbmImage, crMask);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    // The message takes the item in the rectangle it fills.
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(POINT pt, UINT* pFlags) const
{
    TVHITTESTINFO hti = {};
    hti.pt = pt;
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hti)));
    if (pFlags != nullptr)
        *pFlags = hti.flags;
    return hItem;
}
