// Thin wrappers of the common controls the program uses: each operation is
// the control's message of the same name.
#pragma once

#include "platform/HandleOwner.h"
#include "platform/framework/Wnd.h"

#include <commctrl.h>

class CBitmap;

struct ImageListTraits
{
    using Handle = HIMAGELIST;
    static Handle None() { return nullptr; }
    static bool Release(Handle h) { return ImageList_Destroy(h) != FALSE; }
};

// An image list. An attached list belongs to the object and is destroyed
// with it, unless it is detached first (as for the system's own list).
class CImageList
{
public:
    HIMAGELIST GetSafeHandle() const { return m_list.Get(); }
    operator HIMAGELIST() const { return m_list.Get(); }
    BOOL Attach(HIMAGELIST hImageList) { return m_list.Attach(hImageList); }
    HIMAGELIST Detach() { return m_list.Detach(); }

    // Adds the bitmap's images, crMask marking the transparent pixels;
    // returns the index of the first, or -1.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int GetImageCount() const { return ImageList_GetImageCount(m_list.Get()); }

private:
    CHandleOwner<ImageListTraits> m_list;
};

class CTreeCtrl : public CWnd
{
public:
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
    }
    BOOL DeleteAllItems()
    {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    }
    BOOL Expand(HTREEITEM hItem, UINT nCode)
    {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM hItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    BOOL GetItem(TVITEMA* pItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(TVITEMA* pItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SortChildrenCB(LPTVSORTCB pSort)
    {
        return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(pSort)));
    }
    // Returns the list that was set before; the tree never owns either.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType)
    {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(TVM_SETIMAGELIST, nImageListType,
                        reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr)));
    }
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr) const;
};

class CProgressCtrl : public CWnd
{
public:
    // The 16-bit range; returns the previous one (low word lower bound).
    int SetRange(short nLower, short nUpper)
    {
        return static_cast<int>(SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)));
    }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, nStep)); }
};
