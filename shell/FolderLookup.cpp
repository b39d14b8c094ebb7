// CShellFolderNode: finding nodes by identifier list and by path, building
// the levels on the way.
#include "shell/ShellFolderNode.h"

#include "shell/IdList.h"
#include "shell/PathLevels.h"

#include <string>

namespace {

// Equal but for the case of ASCII letters; double-byte characters are
// compared whole, so a trail byte is never taken for a letter.
bool EqualIgnoringAsciiCase(const std::string& strA, const std::string& strB)
{
    if (strA.size() != strB.size())
        return false;
    for (size_t i = 0; i < strA.size(); ++i) {
        const auto chA = static_cast<unsigned char>(strA[i]);
        const auto chB = static_cast<unsigned char>(strB[i]);
        if (::IsDBCSLeadByte(chA) && i + 1 < strA.size()) {
            if (chA != chB || strA[i + 1] != strB[i + 1])
                return false;
            ++i;
            continue;
        }
        const auto lower = [](unsigned char ch) { return ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch; };
        if (lower(chA) != lower(chB))
            return false;
    }
    return true;
}

}   // namespace

CFolderNode* CShellFolderNode::FindByIdList(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return this;
    if (m_children.empty() && !IsEnumerated()) {
        SetEnumLevels(1);
        Enumerate();
    }
    return GetIdCount(pidl) == 0 ? this : nullptr;
}

CFolderNode* CShellFolderNode::FindByPath(LPCSTR pszPath, int nLevel)
{
    if (*pszPath == '\0')
        return this;
    if (m_children.empty() && !IsEnumerated()) {
        SetEnumLevels(1);
        Enumerate();
    }
    if (CFolderNode* pChild = FindChildByPath(pszPath, nLevel))
        return pChild->FindByPath(pszPath, nLevel + 1);
    return CountPathLevels(pszPath) == nLevel - 1 ? this : nullptr;
}

CFolderNode* CShellFolderNode::FindChildById(LPCITEMIDLIST* ppidlCursor)
{
    if (ppidlCursor == nullptr || *ppidlCursor == nullptr)
        return nullptr;
    for (const auto& pChild : m_children) {
        if (IsSameItemId(pChild->GetRelativeIdList(), *ppidlCursor)) {
            *ppidlCursor = GetItemId(*ppidlCursor, 1);
            return pChild.get();
        }
    }
    return nullptr;
}

CFolderNode* CShellFolderNode::FindChildByPath(LPCSTR pszPath, int nLevel)
{
    if (pszPath == nullptr)
        return nullptr;
    char szPrefix[MAX_PATH];
    BOOL bNetwork = FALSE;
    CopyPathPrefix(pszPath, szPrefix, sizeof(szPrefix), bNetwork, nLevel);
    if (szPrefix[0] == '\0')
        return nullptr;
    const std::string strPrefix = ComparablePath(szPrefix);
    for (const auto& pChild : m_children) {
        std::string strText = pChild->GetPath();
        if (bNetwork && strText.empty())
            strText = std::string("\\\\") + pChild->GetDisplayName();
        if (EqualIgnoringAsciiCase(ComparablePath(strText.c_str()), strPrefix))
            return pChild.get();
    }
    return nullptr;
}
