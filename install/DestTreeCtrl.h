// The destination tree of the destination pane: the tree of folders to
// install into, with the pane's path label kept up to date on mouse clicks,
// and the walk to a folder given as a path.
#pragma once

#include "catalogue/ContentEntry.h"
#include "install/ShellTreeCtrl.h"

class CDestTreeCtrl : public CShellTreeCtrl
{
public:
    CString GetSelectedPath() override { return m_strSelPath; }
    CString GetSelectedName() override { return m_strSelName; }

    // Rebuilds the tree and walks it to pszPath (may be null or empty):
    // every branch whose path begins the target is expanded on the way,
    // and the last folder that matches it whole ends as the caret.
    void SelectPath(UINT nFlags, int nRootIndex, LPCSTR pszPath);
    // Shows the caret node's path (a folder) or name in label 1009 of the
    // tree's parent.
    void UpdatePathLabel();
    // Copies the ticked entries into the caret's folder; 1 when every one
    // was attempted, 0 after Cancel in the progress dialog, -1 when the run
    // did not start or the user stopped it after a failure.
    int Install(const ContentEntry* pEntries, int nEntries);

    // How deep the walk to a path descends below the top-level item.
    static constexpr int MAX_WALK_DEPTH = 20;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    // The item of the walk to a path: whole match or, failing that, the
    // deepest folder the path goes through.
    HTREEITEM WalkTo(const CString& strTarget);

    CString m_strSelPath;
    CString m_strSelName;

    DECLARE_MESSAGE_MAP()
};
