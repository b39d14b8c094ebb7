// CShellFolderNode: enumeration of a node's children through the Windows
// shell, with the drive filter under the root.
#include "shell/IdList.h"
#include "shell/ShellFolderNode.h"

#include <cctype>

namespace {

// Names of items outside the file system as well; not in every SDK's
// headers.
constexpr SHGDNF GDN_INCLUDE_NONFILESYS = 0x2000;

// Folders only unless the node asks for files too; never hidden items.
SHCONTF ListingFlags(UINT nNodeFlags)
{
    return SHCONTF_FOLDERS | ((nNodeFlags & FNF_INCLUDEFILES) ? SHCONTF_NONFOLDERS : 0);
}

// The next item of a listing; null at its end.
LPITEMIDLIST NextItem(IEnumIDList* pEnum)
{
    LPITEMIDLIST pidl = nullptr;
    ULONG nFetched = 0;
    if (pEnum->Next(1, &pidl, &nFetched) != S_OK || nFetched != 1) {
        if (pidl != nullptr)
            g_shellContext.Free(pidl);
        return nullptr;
    }
    return pidl;
}

}   // namespace

BOOL CShellFolderNode::BindFolder()
{
    IShellFolder* pParentFolder = m_pParent != nullptr ? m_pParent->GetShellFolder() : nullptr;
    if (pParentFolder == nullptr)
        return FALSE;
    IShellFolder* pFolder = nullptr;
    if (FAILED(pParentFolder->BindToObject(m_pidlRelative.Get(), nullptr, IID_IShellFolder,
                                           reinterpret_cast<void**>(&pFolder)))
        || pFolder == nullptr)
        return FALSE;
    AttachFolder(pFolder);
    return TRUE;
}

void CShellFolderNode::Enumerate()
{
    if (m_nEnumLevels == 0)
        return;
    DeleteChildren();
    if (IsOnDevice()) {
        ListHandheldFolders();
    } else {
        if (!m_pFolder.IsValid() && !BindFolder())
            return;
        ListShellFolders();
    }
}

void CShellFolderNode::ListShellFolders()
{
    const DWORD dwDrives = ::GetLogicalDrives();
    IEnumIDList* pEnum = nullptr;
    if (FAILED(m_pFolder.Get()->EnumObjects(nullptr, ListingFlags(m_nFlags), &pEnum)))
        return;
    // A folder with nothing in it may come without a listing at all.
    CComRef<IEnumIDList> listing(pEnum);
    while (listing.IsValid()) {
        CIdList item(NextItem(listing.Get()));
        if (!item.IsValid())
            break;
        LPCITEMIDLIST pidl = item.Get();
        SFGAOF dwAttributes = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        if (FAILED(m_pFolder.Get()->GetAttributesOf(1, &pidl, &dwAttributes)))
            dwAttributes = 0;
        if ((m_nFlags & FNF_FSONLY) && !(dwAttributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
            continue;
        if (m_pParent == nullptr && !IsListedDrive(pidl, dwDrives))
            continue;
        AddShellChild(item.Detach(), dwAttributes);
    }
    if (m_pParent == nullptr && !(m_nFlags & FNF_NODEVICE))
        AddDeviceNode();
    if (m_children.empty())
        m_nFlags &= ~FNF_HASCHILDREN;
}

BOOL CShellFolderNode::IsListedDrive(LPCITEMIDLIST pidlItem, DWORD dwDrives)
{
    STRRET name;
    if (FAILED(m_pFolder.Get()->GetDisplayNameOf(pidlItem, SHGDN_FORPARSING, &name)))
        return TRUE;   // nothing to test it by
    CString strName;
    ParseStrRet(&name, pidlItem, strName);
    if (strName.GetLength() != 3 || strName[1] != ':' || strName[2] != '\\')
        return FALSE;
    const char chDrive = static_cast<char>(std::toupper(static_cast<unsigned char>(strName[0])));
    if (chDrive <= 'A' || chDrive > 'Z' || !(dwDrives & (1u << (chDrive - 'A'))))
        return FALSE;
    return ::GetDriveTypeA(strName) == DRIVE_REMOVABLE;
}

void CShellFolderNode::AddShellChild(LPITEMIDLIST pidlItem, SFGAOF dwAttributes)
{
    m_nFlags |= FNF_HASCHILDREN;
    auto pChild = std::make_unique<CShellFolderNode>(this, pidlItem, m_nFlags & ~FNF_HASCHILDREN, m_nDepth + 1,
                                                     m_nEnumLevels - 1);
    STRRET name;
    if (SUCCEEDED(m_pFolder.Get()->GetDisplayNameOf(pidlItem, SHGDN_INFOLDER | GDN_INCLUDE_NONFILESYS, &name)))
        ParseStrRet(&name, pidlItem, pChild->m_strDisplayName);
    if (SUCCEEDED(m_pFolder.Get()->GetDisplayNameOf(pidlItem, SHGDN_FORPARSING | GDN_INCLUDE_NONFILESYS, &name)))
        ParseStrRet(&name, pidlItem, pChild->m_strPath);
    if ((dwAttributes & SFGAO_HASSUBFOLDER) || pChild->ProbeSubFolders())
        pChild->m_nFlags |= FNF_HASCHILDREN;
    Adopt(std::move(pChild));
}

BOOL CShellFolderNode::ProbeSubFolders()
{
    DeleteChildren();
    if (!m_pFolder.IsValid() && !BindFolder())
        return FALSE;
    IEnumIDList* pEnum = nullptr;
    if (FAILED(m_pFolder.Get()->EnumObjects(nullptr, SHCONTF_FOLDERS, &pEnum)) || pEnum == nullptr)
        return FALSE;
    CComRef<IEnumIDList> listing(pEnum);
    // The folder stays bound for the enumeration that may follow.
    CIdList first(NextItem(listing.Get()));
    return first.IsValid();
}
