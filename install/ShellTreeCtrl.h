// A tree control that shows the destination model: items are made when a
// branch is first expanded, and their texts and images are asked of the
// nodes when the control draws them.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/framework/CString.h"
#include "shell/FolderNode.h"

#include <memory>

class CShellTreeCtrl : public CTreeCtrl
{
public:
    CShellTreeCtrl() = default;
    ~CShellTreeCtrl() override;

    virtual CString GetSelectedPath();
    virtual LPCITEMIDLIST GetSelectedRelativeIdList();
    virtual LPCITEMIDLIST GetSelectedAbsoluteIdList();
    virtual CString GetSelectedName();

    // Empties the tree; with bAll also drops the model. Returns the answer
    // of the delete-all request.
    int Clear(bool bAll);

    // Builds the model's root (once per model) and puts the special folder
    // nRootIndex with what is known below it into the tree.
    void Fill(UINT nFlags, int nRootIndex);

    // The node of an item; null for none.
    CFolderNode* NodeOf(HTREEITEM hItem) const;

    // For CTreeFiller: a new item for pNode, last under hParent (TVI_ROOT
    // for the top), and the sort of one item's children by their nodes.
    HTREEITEM InsertNode(CFolderNode* pNode, HTREEITEM hParent);
    void SortChildren(HTREEITEM hItem);

protected:
    void EnsureRoot(UINT nFlags);
    // Appends the program's handheld, closed-folder and open-folder images
    // to the system image list and shows that list in the tree.
    void AddOwnImages();
    // Keeps the text alive for the control, which reads it after the
    // display request has returned: the three latest texts stay valid.
    LPSTR GetItemText(LPCSTR pszText);
    static int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);

    std::unique_ptr<CFolderNode> m_pRoot;
    CString m_strText[3];
    int m_nTextSlot = -1;

    DECLARE_MESSAGE_MAP()
};
