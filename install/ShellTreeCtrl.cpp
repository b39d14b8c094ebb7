#include "install/ShellTreeCtrl.h"

#include "install/TreeFiller.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "shell/IdList.h"
#include "shell/ShellContext.h"
#include "shell/ShellFolderNode.h"

namespace {

constexpr UINT INSERT_MASK = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
constexpr COLORREF IMAGE_MASK = RGB(255, 255, 255);

}   // namespace

BEGIN_MESSAGE_MAP(CShellTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
END_MESSAGE_MAP()

CShellTreeCtrl::~CShellTreeCtrl()
{
    // The items go before the nodes they point to.
    if (m_hWnd != nullptr)
        Clear(true);
}

CFolderNode* CShellTreeCtrl::NodeOf(HTREEITEM hItem) const
{
    return hItem != nullptr ? reinterpret_cast<CFolderNode*>(GetItemData(hItem)) : nullptr;
}

CString CShellTreeCtrl::GetSelectedPath()
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    return pNode != nullptr ? pNode->GetPath() : "";
}

LPCITEMIDLIST CShellTreeCtrl::GetSelectedRelativeIdList()
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    return pNode != nullptr ? pNode->GetRelativeIdList() : nullptr;
}

LPCITEMIDLIST CShellTreeCtrl::GetSelectedAbsoluteIdList()
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    return pNode != nullptr ? pNode->GetAbsoluteIdList() : nullptr;
}

CString CShellTreeCtrl::GetSelectedName()
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    return pNode != nullptr ? pNode->GetDisplayName() : "";
}

HTREEITEM CShellTreeCtrl::InsertNode(CFolderNode* pNode, HTREEITEM hParent)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = INSERT_MASK;
    insert.item.pszText = LPSTR_TEXTCALLBACKA;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(pNode);
    // The expand button shows what the node expects before it is listed.
    insert.item.cChildren = pNode->HasChildren() ? 1 : 0;
    return InsertItem(&insert);
}

void CShellTreeCtrl::SortChildren(HTREEITEM hItem)
{
    TVSORTCB sort = {};
    sort.hParent = hItem;
    sort.lpfnCompare = &CompareItems;
    sort.lParam = reinterpret_cast<LPARAM>(this);
    SortChildrenCB(&sort);
}

int CALLBACK CShellTreeCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    auto* pNode1 = reinterpret_cast<CFolderNode*>(lParam1);
    auto* pNode2 = reinterpret_cast<CFolderNode*>(lParam2);
    return pNode1 != nullptr && pNode2 != nullptr ? pNode1->Compare(pNode2) : 0;
}

int CShellTreeCtrl::Clear(bool bAll)
{
    if (HTREEITEM hTop = GetRootItem())
        Expand(hTop, TVE_COLLAPSE);
    const int nResult = DeleteAllItems();
    if (bAll) {
        m_pRoot.reset();
        // The list belongs to the system: the tree only stops showing it.
        SetImageList(nullptr, TVSIL_NORMAL);
    }
    return nResult;
}

void CShellTreeCtrl::EnsureRoot(UINT nFlags)
{
    // A model listed with other listing flags is no model of these.
    constexpr UINT LISTING_FLAGS = FNF_FSONLY | FNF_INCLUDEFILES | FNF_NODEVICE;
    if (m_pRoot != nullptr && m_pRoot->IsEnumerated() && ((m_pRoot->GetFlags() ^ nFlags) & LISTING_FLAGS))
        Clear(true);
    if (m_pRoot == nullptr) {
        m_pRoot = std::make_unique<CShellFolderNode>();
        // The root's own images come from the system, which adds them to
        // its list when first asked: first, so that they never take the
        // places the program's images are counted at.
        m_pRoot->GetIconInfo();
        m_pRoot->GetOpenIconInfo();
        AddOwnImages();
    }
    Clear(false);
    // What the listing found stays known: the root keeps its expand button.
    m_pRoot->SetFlags(nFlags | (m_pRoot->GetFlags() & FNF_HASCHILDREN));
}

void CShellTreeCtrl::AddOwnImages()
{
    CImageList& images = g_shellContext.GetSystemImageList();
    g_nOwnImageBase = images.GetImageCount();
    for (UINT nID : { IDB_HANDHELD, IDB_FOLDER_CLOSED, IDB_FOLDER_OPEN }) {
        CBitmap bitmap;
        if (bitmap.LoadBitmap(nID))
            images.Add(&bitmap, IMAGE_MASK);
    }
    SetImageList(&images, TVSIL_NORMAL);
}

void CShellTreeCtrl::Fill(UINT nFlags, int nRootIndex)
{
    CIdList target(g_shellContext.GetSpecialFolderIdList(nRootIndex < 0 ? 0 : nRootIndex));
    {
        CWaitCursor wait;
        EnsureRoot(nFlags);
        CTreeFiller filler(this, nullptr);
        CFolderNode* pStart = m_pRoot->FindByIdList(target.Get());
        (pStart != nullptr ? pStart : m_pRoot.get())->Accept(&filler);
        SelectItem(GetRootItem());
    }
}

LPSTR CShellTreeCtrl::GetItemText(LPCSTR pszText)
{
    m_nTextSlot = (m_nTextSlot + 1) % 3;
    m_strText[m_nTextSlot] = pszText;
    return const_cast<LPSTR>(static_cast<LPCSTR>(m_strText[m_nTextSlot]));
}

void CShellTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CWaitCursor wait;
    const auto* pView = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    if (pView->action != TVE_EXPAND)
        return;
    CFolderNode* pNode = reinterpret_cast<CFolderNode*>(pView->itemNew.lParam);
    // Each node is listed once; later expansions show the items made then.
    if (pNode == nullptr || pNode->IsEnumerated())
        return;
    pNode->SetEnumLevels(1);
    pNode->Enumerate();
    CTreeFiller filler(this, pView->itemNew.hItem);
    pNode->Accept(&filler);
}

void CShellTreeCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    CFolderNode* pNode = reinterpret_cast<CFolderNode*>(pInfo->item.lParam);
    if (pNode == nullptr)
        return;
    *pResult = 0;
    if (pInfo->item.mask & TVIF_IMAGE)
        pInfo->item.iImage = pNode->GetIconInfo()->iIcon;
    if (pInfo->item.mask & TVIF_SELECTEDIMAGE)
        pInfo->item.iSelectedImage = pNode->GetOpenIconInfo()->iIcon;
    if (pInfo->item.mask & TVIF_TEXT) {
        pInfo->item.pszText = GetItemText(pNode->GetDisplayName());
        pInfo->item.cchTextMax = lstrlenA(pInfo->item.pszText);
    }
}
