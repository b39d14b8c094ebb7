// The destination tree as the pane holds it: the pane's template in a
// window of its own, the tree control subclassed as a CDestTreeCtrl, and
// the clicks and keys a user gives it.
#pragma once

#include "install/DestTreeCtrl.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

#include <string>

class CTreeHost
{
public:
    CTreeHost()
    {
        m_frame.CreateEx(0, nullptr, "tree host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 640, nullptr, nullptr);
        AfxCreateChildDialog(&m_pane, IDD_DEST_PANE, &m_frame);
        m_pane.MoveWindow(0, 0, 400, 600);
        m_pane.ShowWindow(SW_SHOW);
        m_tree.SubclassDlgItem(IDC_DEST_TREE, &m_pane);
        // Tall enough that every item of a test is in view, to be clicked.
        m_tree.MoveWindow(0, 30, 400, 570);
    }
    ~CTreeHost()
    {
        m_tree.Clear(true);
        m_frame.DestroyWindow();
    }

    std::string Label() const
    {
        char szText[512] = {};
        ::GetDlgItemTextA(m_pane, IDC_PATH_LABEL, szText, sizeof(szText));
        return szText;
    }

    // The visible item whose node has the path (or, failing that, the
    // display name) strText; null when none.
    HTREEITEM Find(const std::string& strText) const
    {
        for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr;
             hItem = m_tree.GetNextItem(hItem, TVGN_NEXTVISIBLE)) {
            CFolderNode* pNode = m_tree.NodeOf(hItem);
            if (pNode != nullptr && (strText == pNode->GetPath() || strText == pNode->GetDisplayName()))
                return hItem;
        }
        return nullptr;
    }

    CFolderNode* Caret() const { return m_tree.NodeOf(m_tree.GetSelectedItem()); }

    // The tree built as the pane builds it, walked to the folder at
    // strPath on its drive (the walk takes paths without a drive letter).
    void SelectFolder(UINT nFlags, const std::string& strPath)
    {
        m_tree.SelectPath(nFlags, 0, strPath.substr(2).c_str());
    }

    // A click on the item's text, as the mouse gives it; the user scrolls
    // the item into view first.
    void Click(HTREEITEM hItem)
    {
        ScrollIntoView(hItem);
        RECT rc;
        m_tree.GetItemRect(hItem, &rc, TRUE);
        // Near the text's start: a long text runs past the window's edge.
        const LPARAM lPoint = MAKELPARAM(rc.left + 4, (rc.top + rc.bottom) / 2);
        // The control follows the mouse until the button is up again.
        ::PostMessageA(m_tree, WM_LBUTTONUP, 0, lPoint);
        ::SendMessageA(m_tree, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    }

    // A click on the item's expand button; false when it shows none.
    bool ClickButton(HTREEITEM hItem)
    {
        if (!m_tree.ItemHasChildren(hItem))
            return false;
        ScrollIntoView(hItem);
        RECT rc;
        m_tree.GetItemRect(hItem, &rc, TRUE);
        const int y = (rc.top + rc.bottom) / 2;
        for (int x = 0; x < rc.left; ++x) {
            UINT nFlags = 0;
            if (m_tree.HitTest(POINT{ x, y }, &nFlags) == hItem && (nFlags & TVHT_ONITEMBUTTON)) {
                ::PostMessageA(m_tree, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
                ::SendMessageA(m_tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
                return true;
            }
        }
        return false;
    }

    // As the user brings an item into view: scrolled to it, and back to the
    // left edge where its button is.
    void ScrollIntoView(HTREEITEM hItem)
    {
        m_tree.SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem));
        m_tree.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    }

    void PressKey(UINT nVirtualKey)
    {
        ::SendMessageA(m_tree, WM_KEYDOWN, nVirtualKey, 0);
        ::SendMessageA(m_tree, WM_KEYUP, nVirtualKey, 0xC0000000);
    }

    CWinApp m_app;
    CWnd m_frame;
    CWnd m_pane;
    CDestTreeCtrl m_tree;
};
