#include "install/DestTreeCtrl.h"

#include "platform/framework/Gdi.h"
#include "res/resource.h"

#include <cstring>

namespace {

// The label's text is cut to this many bytes, at a character boundary.
constexpr int LABEL_BYTES = 260;

// The text lower-cased as the user's code page has it.
CString Lowered(LPCSTR psz)
{
    CString str(psz);
    str.MakeLower();
    return str;
}

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

// Whether a path ends in a backslash of its own (not a trail byte).
bool EndsWithSeparator(const CString& str)
{
    return !str.IsEmpty() && str.ReverseFind('\\') == str.GetLength() - 1;
}

// Trailing backslashes say nothing about which folder a path names.
CString WithoutTrailingSeparators(CString str)
{
    while (str.GetLength() > 1 && EndsWithSeparator(str))
        str = str.Left(str.GetLength() - 1);
    return str;
}

bool BeginsWithDrive(const CString& strPath)
{
    return strPath.GetLength() >= 2 && strPath[1] == ':';
}

// The part of a node's path the walk compares, lower-cased. A target with
// a drive letter names that drive's folder; one without names the folder
// on whichever drive has it, so the node's drive letter is dropped.
CString ComparablePath(CFolderNode* pNode, const CString& strTarget)
{
    CString strPath = Lowered(pNode->GetPath());
    if (!BeginsWithDrive(strTarget) && BeginsWithDrive(strPath))
        strPath = strPath.Mid(2);
    return strPath;
}

CString ComparableTarget(LPCSTR pszPath)
{
    return WithoutTrailingSeparators(Lowered(pszPath));
}

enum class PathMatch
{
    None,
    Prefix,   // the node's folder lies on the way to the target
    Whole     // the node's folder is the target
};

// How a node's path stands to the target: a prefix counts only where a
// folder name ends, so "\\dict" does not lead to "\\dictionary".
PathMatch MatchPath(const CString& strTarget, const CString& strPath)
{
    const CString strFolder = WithoutTrailingSeparators(strPath);
    const int cch = strFolder.GetLength();
    if (std::strncmp(strTarget, strFolder, cch) != 0)
        return PathMatch::None;
    if (strTarget.GetLength() == cch)
        return PathMatch::Whole;
    return strTarget[cch] == '\\' || EndsWithSeparator(strFolder) ? PathMatch::Prefix : PathMatch::None;
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
    if (HTREEITEM hItem = WalkTo(ComparableTarget(pszPath))) {
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
        CFolderNode* pNode = NodeOf(hItem);
        const CString strPath = pNode != nullptr && !pNode->IsOnDevice() ? ComparablePath(pNode, strTarget) : CString();
        const PathMatch match = strPath.IsEmpty() ? PathMatch::None : MatchPath(strTarget, strPath);
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
