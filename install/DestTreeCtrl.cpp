#include "install/DestTreeCtrl.h"

#include "platform/framework/Gdi.h"
#include "res/resource.h"
#include "shell/PathLevels.h"

#include <cstring>

namespace {

// The label's text is cut to this many bytes, at a character boundary.
constexpr int LABEL_BYTES = 260;

// Cuts the text to fewer than cbMax bytes without splitting a double-byte
// character.
void CutAtCharacter(CString& str, int cbMax)
{
    if (str.GetLength() < cbMax)
        return;
    LPCSTR pszStart = str;
    LPCSTR psz = pszStart;
    while (*psz != '\0') {
        LPCSTR pszNext = ::CharNextA(psz);
        if (pszNext - pszStart >= cbMax)
            break;
        psz = pszNext;
    }
    str = CString(pszStart).Left(static_cast<int>(psz - pszStart));
}

bool BeginsWithDrive(const CString& strPath)
{
    return strPath.GetLength() >= 2 && strPath[1] == ':';
}

// A path as the walk compares it: in the one form of the model's look-ups
// (either separator, a run of them as one, none at the end), lower-cased as
// the user's code page has it.
CString WalkForm(LPCSTR pszPath)
{
    CString str(ComparablePath(pszPath).c_str());
    str.MakeLower();
    return str;
}

// The part of a node's path the walk compares. A target with a drive letter
// names that drive's folder; one without names the folder on whichever
// drive has it, so the node's drive letter is dropped.
CString NodeWalkForm(CFolderNode* pNode, const CString& strTarget)
{
    CString strPath = WalkForm(pNode->GetPath());
    if (!BeginsWithDrive(strTarget) && BeginsWithDrive(strPath))
        strPath = strPath.Mid(2);
    return strPath;
}

enum class PathMatch
{
    None,
    Prefix,   // the node's folder lies on the way to the target
    Whole     // the node's folder is the target
};

// How a folder's path stands to the target, both in the walk's form: a
// prefix counts only where a folder name ends, so "\dict" does not lead to
// "\dictionary". The byte after a matching folder begins a character of
// the target, so a backslash there is a separator, not a second byte.
PathMatch MatchPath(const CString& strTarget, const CString& strFolder)
{
    const int cch = strFolder.GetLength();
    if (std::strncmp(strTarget, strFolder, cch) != 0)
        return PathMatch::None;
    if (strTarget.GetLength() == cch)
        return PathMatch::Whole;
    return strTarget[cch] == '\\' ? PathMatch::Prefix : PathMatch::None;
}

// The handheld's branches are never searched, nor a node without a path.
PathMatch MatchNode(CFolderNode* pNode, const CString& strTarget)
{
    if (pNode == nullptr || pNode->IsOnDevice() || *pNode->GetPath() == '\0')
        return PathMatch::None;
    return MatchPath(strTarget, NodeWalkForm(pNode, strTarget));
}

}   // namespace

BEGIN_MESSAGE_MAP(CDestTreeCtrl, CShellTreeCtrl)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CDestTreeCtrl::OnLButtonDown(UINT, CPoint)
{
    // The control moves the caret first; keyboard moves leave the label.
    Default();
    UpdatePathLabel();
}

void CDestTreeCtrl::UpdatePathLabel()
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    if (pNode == nullptr)
        return;
    // Both always say what the label says: a path, or a name and no path.
    CString strLabel;
    if (pNode->IsFileSystem()) {
        m_strSelPath = pNode->GetPath();
        m_strSelName.Empty();
        if (pNode->IsOnDevice()) {
            CString strDevice;
            strDevice.LoadString(IDS_DEVICE_NAME);
            strLabel.Format("%s:%s", static_cast<LPCSTR>(strDevice), static_cast<LPCSTR>(m_strSelPath));
        } else {
            strLabel = m_strSelPath;
        }
    } else {
        m_strSelName = pNode->GetDisplayName();
        m_strSelPath.Empty();
        strLabel = m_strSelName;
    }
    CutAtCharacter(strLabel, LABEL_BYTES);
    if (CWnd* pParent = GetParent())
        pParent->SetDlgItemText(IDC_PATH_LABEL, strLabel);
}

void CDestTreeCtrl::SelectPath(UINT nFlags, int nRootIndex, LPCSTR pszPath)
{
    m_strSelPath.Empty();
    m_strSelName.Empty();
    Fill(nFlags, nRootIndex);
    Expand(GetRootItem(), TVE_EXPAND);
    if (pszPath == nullptr || *pszPath == '\0')
        return;
    if (HTREEITEM hItem = WalkTo(WalkForm(pszPath))) {
        SelectItem(hItem);
        UpdatePathLabel();
    }
}

HTREEITEM CDestTreeCtrl::WalkTo(const CString& strTarget)
{
    HTREEITEM hFound = nullptr;
    HTREEITEM hDeepest = nullptr;
    int nDeepest = 0;
    HTREEITEM stack[MAX_WALK_DEPTH];
    int nDepth = 0;
    // Depth first over the branches that lead to the target: every one is
    // expanded (and so listed) on the way. The handheld's branches are
    // never searched; a later whole match wins over an earlier one.
    HTREEITEM hItem = GetChildItem(GetRootItem());
    while (hItem != nullptr || nDepth > 0) {
        if (hItem == nullptr) {
            hItem = GetNextSiblingItem(stack[--nDepth]);
            continue;
        }
        const PathMatch match = MatchNode(NodeOf(hItem), strTarget);
        if (match == PathMatch::Whole) {
            hFound = hItem;
            hItem = nullptr;   // this row is done
            continue;
        }
        if (match == PathMatch::None) {
            hItem = GetNextSiblingItem(hItem);
            continue;
        }
        if (hDeepest == nullptr || nDepth + 1 > nDeepest) {
            hDeepest = hItem;
            nDeepest = nDepth + 1;
        }
        // Deeper than the walk goes, the deepest folder reached stays.
        HTREEITEM hChild = nullptr;
        if (nDepth < MAX_WALK_DEPTH) {
            Expand(hItem, TVE_EXPAND);
            hChild = GetChildItem(hItem);
        }
        if (hChild == nullptr) {
            hItem = GetNextSiblingItem(hItem);
            continue;
        }
        stack[nDepth++] = hItem;
        hItem = hChild;
    }
    return hFound != nullptr ? hFound : hDeepest;
}
