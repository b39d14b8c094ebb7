#include "install/TreeFiller.h"

#include "install/ShellTreeCtrl.h"

BOOL CTreeFiller::Visit(CFolderNode* pNode)
{
    if (m_hItem == nullptr)
        m_hItem = m_pTree->InsertNode(pNode, TVI_ROOT);
    // A node found to have nothing below it loses its expand button.
    if (!pNode->HasChildren() && m_pTree->ItemHasChildren(m_hItem)) {
        TVITEMA item = {};
        item.mask = TVIF_HANDLE | TVIF_CHILDREN;
        item.hItem = m_hItem;
        item.cChildren = 0;
        m_pTree->SetItem(&item);
        return TRUE;
    }
    InsertChildren(pNode, m_hItem);
    m_pTree->SortChildren(m_hItem);
    return TRUE;
}

void CTreeFiller::InsertChildren(CFolderNode* pNode, HTREEITEM hParent)
{
    // The whole subtree known so far goes in at once, each level in the
    // model's order; only the visited item's children are sorted.
    for (UINT i = 0; i < pNode->GetChildCount(); ++i) {
        CFolderNode* pChild = pNode->GetChild(i);
        if (pChild == nullptr)
            continue;
        InsertChildren(pChild, m_pTree->InsertNode(pChild, hParent));
    }
}
