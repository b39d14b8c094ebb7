// CShellFolderNode: construction, identity, attributes, icons and order.
// Listing lives in FolderListing.cpp and HandheldListing.cpp, the path and
// identifier-list look-ups in FolderLookup.cpp.
#include "shell/ShellFolderNode.h"

#include "res/resource.h"
#include "shell/IdList.h"
#include "shell/ShellFailure.h"

#include <cstring>

namespace {

void ResetIconInfo(SHFILEINFOA& sfi)
{
    std::memset(&sfi, 0, sizeof(sfi));
    sfi.iIcon = -1;   // not looked up yet
}

// A copy of the whole list, terminator included, from the shell allocator.
LPITEMIDLIST CopyIdList(LPCITEMIDLIST pidl)
{
    const UINT cb = GetIdListSize(pidl);
    void* pCopy = g_shellContext.Alloc(cb);
    if (pCopy == nullptr)
        throw CShellFailure(IDS_SHELL_NO_MEMORY);
    std::memcpy(pCopy, pidl, cb);
    return static_cast<LPITEMIDLIST>(pCopy);
}

}   // namespace

CShellFolderNode::CShellFolderNode()
{
    ResetIconInfo(m_sfiIcon);
    ResetIconInfo(m_sfiOpenIcon);
    // Each new model starts from a fresh allocator and image list; the
    // lists below come from the allocator.
    g_shellContext.Refresh();
    CComRef<IShellFolder> desktop(g_shellContext.GetDesktopFolder());
    LPITEMIDLIST pidlDrives = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives)) || pidlDrives == nullptr) {
        m_strError = "Canot obtain DESKTOP's namespace PIDL";
        throw CShellFailure(IDS_SHELL_NO_COMPUTER);
    }
    m_pidlRelative.Attach(pidlDrives);
    m_pidlAbsolute.Attach(CopyIdList(pidlDrives));

    STRRET name;
    if (SUCCEEDED(desktop.Get()->GetDisplayNameOf(pidlDrives, SHGDN_INFOLDER, &name)))
        ParseStrRet(&name, pidlDrives, m_strDisplayName);
    if (SUCCEEDED(desktop.Get()->GetDisplayNameOf(pidlDrives, SHGDN_FORPARSING, &name)))
        ParseStrRet(&name, pidlDrives, m_strPath);
    IShellIcon* pShellIcon = nullptr;
    if (SUCCEEDED(desktop.Get()->QueryInterface(IID_IShellIcon, reinterpret_cast<void**>(&pShellIcon))))
        m_pShellIcon.Attach(pShellIcon);

    m_pFolder.Attach(g_shellContext.BindDrivesFolder());
}

CShellFolderNode::CShellFolderNode(CShellFolderNode* pParent, LPITEMIDLIST pidlRelative, UINT nFlags, int nDepth,
                                   int nEnumLevels)
    : m_pParent(pParent), m_pidlRelative(pidlRelative), m_nFlags(nFlags), m_nDepth(nDepth), m_nEnumLevels(nEnumLevels)
{
    ResetIconInfo(m_sfiIcon);
    ResetIconInfo(m_sfiOpenIcon);
    BuildAbsoluteIdList();
}

CShellFolderNode::~CShellFolderNode() = default;

void CShellFolderNode::BuildAbsoluteIdList()
{
    // The parent's list without its terminator, then this node's with it.
    LPCITEMIDLIST pidlParent = m_pParent->GetAbsoluteIdList();
    const UINT cbParent = pidlParent != nullptr ? GetIdListSize(pidlParent) - sizeof(USHORT) : 0;
    const UINT cbRelative = GetIdListSize(m_pidlRelative.Get());
    auto* pBlock = static_cast<BYTE*>(g_shellContext.Alloc(cbParent + cbRelative));
    if (pBlock == nullptr)
        throw CShellFailure(IDS_SHELL_NO_MEMORY);
    if (cbParent != 0)
        std::memcpy(pBlock, pidlParent, cbParent);
    std::memcpy(pBlock + cbParent, m_pidlRelative.Get(), cbRelative);
    m_pidlAbsolute.Attach(reinterpret_cast<LPITEMIDLIST>(pBlock));
}

BOOL CShellFolderNode::Accept(CFolderNodeVisitor* pVisitor)
{
    return pVisitor->Visit(this);
}

void CShellFolderNode::DeleteChildren()
{
    m_children.clear();
}

CFolderNode* CShellFolderNode::GetChild(UINT nIndex)
{
    return nIndex < m_children.size() ? m_children[nIndex].get() : nullptr;
}

UINT CShellFolderNode::GetChildCount()
{
    return static_cast<UINT>(m_children.size());
}

CFolderNode* CShellFolderNode::GetParent()
{
    return m_pParent;
}

IShellFolder* CShellFolderNode::GetShellFolder()
{
    return m_pFolder.Get();
}

void CShellFolderNode::SetEnumLevels(int nLevels)
{
    m_nEnumLevels = nLevels;
}

void CShellFolderNode::SetFlags(UINT nFlags)
{
    m_nFlags = nFlags;
}

UINT CShellFolderNode::GetFlags()
{
    return m_nFlags;
}

BOOL CShellFolderNode::IsEnumerated()
{
    return m_nEnumLevels != 0;
}

SFGAOF CShellFolderNode::AttributesInParent(SFGAOF dwMask)
{
    // A handheld node's list is the program's own: the shell never sees it.
    IShellFolder* pParentFolder = m_pParent != nullptr ? m_pParent->GetShellFolder() : nullptr;
    if (pParentFolder == nullptr || IsOnDevice())
        return 0;
    LPCITEMIDLIST pidl = m_pidlRelative.Get();
    SFGAOF dwAttributes = dwMask;
    if (FAILED(pParentFolder->GetAttributesOf(1, &pidl, &dwAttributes)))
        return 0;
    return dwAttributes & dwMask;
}

BOOL CShellFolderNode::IsContainer()
{
    return AttributesInParent(SFGAO_HASSUBFOLDER | SFGAO_FOLDER) != 0 || HasChildren();
}

BOOL CShellFolderNode::IsFileSystem()
{
    return IsOnDevice() || AttributesInParent(SFGAO_FILESYSTEM) != 0;
}

BOOL CShellFolderNode::IsOnDevice()
{
    return (m_nFlags & FNF_ONDEVICE) != 0;
}

BOOL CShellFolderNode::IsNetworkRoot()
{
    return IsSameIdList(g_shellContext.GetNetworkIdList());
}

BOOL CShellFolderNode::IsInNetwork()
{
    return IsIdListPrefix(g_shellContext.GetNetworkIdList(), m_pidlAbsolute.Get());
}

BOOL CShellFolderNode::HasChildren()
{
    return (m_nFlags & FNF_HASCHILDREN) != 0;
}

LPCSTR CShellFolderNode::GetDisplayName()
{
    return m_strDisplayName;
}

LPCSTR CShellFolderNode::GetPath()
{
    return m_strPath;
}

LPCWSTR CShellFolderNode::GetDevicePath()
{
    return m_szDevicePath;
}

LPCSTR CShellFolderNode::GetDebugText()
{
    const auto bit = [](const SHFILEINFOA& sfi, int n) { return static_cast<int>((sfi.dwAttributes >> n) & 1); };
    m_strDebugText.Format("[IId=%d;Sys=%d;Reg=%d;Sync=%d] [IId=%d;Sys=%d;Reg=%d;Sync=%d] %s", m_sfiIcon.iIcon,
                          bit(m_sfiIcon, 0), bit(m_sfiIcon, 2), bit(m_sfiIcon, 1), m_sfiOpenIcon.iIcon,
                          bit(m_sfiOpenIcon, 0), bit(m_sfiOpenIcon, 2), bit(m_sfiOpenIcon, 1),
                          static_cast<LPCSTR>(m_strDisplayName));
    return m_strDebugText;
}

BOOL CShellFolderNode::IsSameIdList(LPCITEMIDLIST pidlAbsolute)
{
    return pidlAbsolute != nullptr && GetIdListSize(pidlAbsolute) == GetIdListSize(m_pidlAbsolute.Get())
           && IsIdListPrefix(pidlAbsolute, m_pidlAbsolute.Get());
}

BOOL CShellFolderNode::IsSameChildId(LPCITEMIDLIST pidl)
{
    return pidl != nullptr && IsSameItemId(pidl, m_pidlRelative.Get());
}

LPCITEMIDLIST CShellFolderNode::GetRelativeIdList()
{
    return m_pidlRelative.Get();
}

LPCITEMIDLIST CShellFolderNode::GetAbsoluteIdList()
{
    return m_pidlAbsolute.Get();
}

void CShellFolderNode::LoadIconInfo(SHFILEINFOA& sfi, bool bOpen)
{
    // The program's own images for everything below the root; the
    // system's for the root itself.
    if (m_nFlags & FNF_DEVICEROOT)
        sfi.iIcon = g_nOwnImageBase;
    else if (m_pParent != nullptr)
        sfi.iIcon = g_nOwnImageBase + (bOpen ? 2 : 1);
    else
        ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(m_pidlAbsolute.Get()), 0, &sfi, sizeof(sfi),
                         SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | (bOpen ? SHGFI_OPENICON : 0));
    if (sfi.iIcon < 0)
        sfi.iIcon = 0;
}

const SHFILEINFOA* CShellFolderNode::GetIconInfo()
{
    if (m_sfiIcon.iIcon == -1)
        LoadIconInfo(m_sfiIcon, false);
    return &m_sfiIcon;
}

const SHFILEINFOA* CShellFolderNode::GetOpenIconInfo()
{
    if (m_sfiOpenIcon.iIcon == -1)
        LoadIconInfo(m_sfiOpenIcon, true);
    return &m_sfiOpenIcon;
}

int CShellFolderNode::Compare(CFolderNode* pOther)
{
    IShellFolder* pParentFolder = m_pParent != nullptr ? m_pParent->GetShellFolder() : nullptr;
    if (pParentFolder == nullptr)
        return 0;
    // A handheld node's list is the program's own, which the shell must
    // never be handed: the handheld sorts after every drive.
    const BOOL bHere = IsOnDevice();
    const BOOL bThere = pOther->IsOnDevice();
    if (bHere || bThere)
        return bHere == bThere ? 0 : (bHere ? 1 : -1);
    const HRESULT hr = pParentFolder->CompareIDs(0, m_pidlRelative.Get(), pOther->GetRelativeIdList());
    return static_cast<short>(HRESULT_CODE(hr));
}

BOOL CShellFolderNode::Execute()
{
    if (m_pFolder.IsValid())
        return TRUE;
    // A handheld path names nothing on this PC.
    if (IsOnDevice())
        return FALSE;
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof(sei);
    sei.lpFile = GetPath();
    sei.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExA(&sei);
}

void CShellFolderNode::ParseStrRet(STRRET* pStrRet, LPCITEMIDLIST pidl, CString& strTarget)
{
    strTarget.Empty();
    switch (pStrRet->uType) {
    case STRRET_CSTR:
        strTarget = pStrRet->cStr;
        break;
    case STRRET_OFFSET:
        strTarget = reinterpret_cast<LPCSTR>(pidl) + pStrRet->uOffset;
        break;
    case STRRET_WSTR: {
        // The ANSI code page, the one every path of the program is in: the
        // OEM one names another folder wherever the two differ.
        // No look-alike stands in for a character the code page lacks: it
        // could name another folder.
        const int cb =
            ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pStrRet->pOleStr, -1, nullptr, 0, nullptr, nullptr);
        if (cb > 0) {
            ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pStrRet->pOleStr, -1, strTarget.GetBuffer(cb), cb + 1,
                                  nullptr, nullptr);
            strTarget.ReleaseBuffer();
        }
        g_shellContext.Free(pStrRet->pOleStr);
        break;
    }
    default:
        m_strError = "Cannot parse STRRET";
        break;
    }
}

void CShellFolderNode::AttachFolder(IShellFolder* pFolder)
{
    m_pFolder.Release();
    m_pShellIcon.Release();
    m_pFolder.Attach(pFolder);
    IShellIcon* pShellIcon = nullptr;
    if (SUCCEEDED(pFolder->QueryInterface(IID_IShellIcon, reinterpret_cast<void**>(&pShellIcon))))
        m_pShellIcon.Attach(pShellIcon);
}

void CShellFolderNode::Adopt(std::unique_ptr<CShellFolderNode> pChild)
{
    if (pChild != nullptr)
        m_children.push_back(std::move(pChild));
}
