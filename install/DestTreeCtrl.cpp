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

// The part of a node's path the walk compares: lower-cased, without a
// drive letter and its colon.
CString ComparablePath(CFolderNode* pNode)
{
    CString strPath = Lowered(pNode->GetPath());
    if (strPath.GetLength() >= 2 && strPath[1] == ':')
        strPath = strPath.Mid(2);
    return strPath;
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
    CString strLabel;
    if (pNode->IsFileSystem()) {
        m_strSelPath = pNode->GetPath();
        if (pNode->IsOnDevice()) {
            CString strDevice;
            strDevice.LoadString(IDS_DEVICE_NAME);
            strLabel.Format("%s:%s", static_cast<LPCSTR>(strDevice), static_cast<LPCSTR>(m_strSelPath));
        } else {
            strLabel = m_strSelPath;
        }
    } else {
        m_strSelName = pNode->GetDisplayName();
        strLabel = m_strSelName;
    }
    CutAtCharacter(strLabel, LABEL_BYTES);
    if (CWnd* pParent = GetParent())
        pParent->SetDlgItemText(IDC_PATH_LABEL, strLabel);
}

void CDestTreeCtrl::SelectPath(UINT nFlags, int nRootIndex, LPCSTR pszPath)
{
    Fill(nFlags, nRootIndex);
    HTREEITEM hTop = GetRootItem();
    Expand(hTop, TVE_EXPAND);
    if (pszPath == nullptr || *pszPath == '\0')
        return;
    const CString strTarget = Lowered(pszPath);
    HTREEITEM hItem = GetChildItem(hTop);
    HTREEITEM hFound = nullptr;
    HTREEITEM stack[MAX_WALK_DEPTH];
    int nDepth = 0;
    // Depth first over the branches whose path begins the target; the
    // handheld's branches are never searched.
    while (hItem != nullptr || nDepth > 0) {
        if (hItem == nullptr) {
            hItem = GetNextSiblingItem(stack[--nDepth]);
            continue;
        }
        CFolderNode* pNode = NodeOf(hItem);
        if (pNode == nullptr || pNode->IsOnDevice()) {
            hItem = GetNextSiblingItem(hItem);
            continue;
        }
        const CString strPath = ComparablePath(pNode);
        if (std::strncmp(strTarget, strPath, strPath.GetLength()) != 0) {
            hItem = GetNextSiblingItem(hItem);
            continue;
        }
        SelectItem(hItem);
        UpdatePathLabel();
        if (strTarget.GetLength() == strPath.GetLength()) {
            // Found whole: this row is done, the walk goes on with the
            // parent's next sibling.
            hFound = hItem;
            hItem = nullptr;
            continue;
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
    if (hFound != nullptr) {
        SelectItem(hFound);
        UpdatePathLabel();
    }
}
