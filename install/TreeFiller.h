// Turns a visited node, and what is already known below it, into items of
// a destination tree.
#pragma once

#include "shell/FolderNode.h"

#include <commctrl.h>

class CShellTreeCtrl;

class CTreeFiller : public CFolderNodeVisitor
{
public:
    // hItem: the visited node's item; null when the node is not in the tree
    // yet, which makes it a top-level item.
    CTreeFiller(CShellTreeCtrl* pTree, HTREEITEM hItem) : m_pTree(pTree), m_hItem(hItem) {}

    BOOL Visit(CFolderNode* pNode) override;

private:
    void InsertChildren(CFolderNode* pNode, HTREEITEM hParent);

    CShellTreeCtrl* m_pTree;
    HTREEITEM m_hItem;
};
