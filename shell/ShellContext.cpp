#include "shell/ShellContext.h"

#include "res/resource.h"
#include "shell/IdList.h"
#include "shell/ShellFailure.h"

#include <exception>

CShellContext g_shellContext;
int g_nOwnImageBase = 0;

namespace {

LPITEMIDLIST SpecialFolderIdList(int nFolder)
{
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, nFolder, &pidl)))
        return nullptr;
    return pidl;
}

}   // namespace

CShellContext::CShellContext()
{
    // Built before the program's main function runs, where nothing could
    // report a failure: the first destination root refreshes the context
    // again and raises there, where the program tells the user.
    try {
        Refresh();
    } catch (const CShellFailure&) {
        Release();
    }
}

CShellContext::~CShellContext()
{
    Release();
}

void CShellContext::Refresh()
{
    if (m_pMalloc != nullptr)
        Release();
    if (FAILED(::SHGetMalloc(&m_pMalloc)) || m_pMalloc == nullptr) {
        m_pMalloc = nullptr;
        throw CShellFailure(IDS_SHELL_NO_ALLOCATOR);
    }
    m_pidlNetwork = SpecialFolderIdList(CSIDL_NETWORK);
    m_pidlCommonDesktop = SpecialFolderIdList(CSIDL_COMMON_DESKTOPDIRECTORY);
    if (!LoadSystemImageList())
        throw CShellFailure(IDS_SHELL_NO_IMAGE_LIST);
}

void CShellContext::Release()
{
    m_imlSystem.Detach();
    if (m_pMalloc == nullptr)
        return;
    m_pMalloc->Free(m_pidlNetwork);
    m_pMalloc->Free(m_pidlCommonDesktop);
    m_pidlNetwork = nullptr;
    m_pidlCommonDesktop = nullptr;
    m_pMalloc->Release();
    m_pMalloc = nullptr;
}

BOOL CShellContext::LoadSystemImageList()
{
    m_imlSystem.Detach();
    // Any folder would do: the list only serves to ask for the image list.
    // A system without a Startup folder still has a desktop.
    LPITEMIDLIST pidlStartup = SpecialFolderIdList(CSIDL_STARTUP);
    if (pidlStartup == nullptr)
        pidlStartup = SpecialFolderIdList(CSIDL_DESKTOP);
    if (pidlStartup == nullptr)
        throw CShellFailure(IDS_SHELL_NO_IMAGE_LIST);
    SHFILEINFOA sfi = {};
    const auto hList =
        reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidlStartup), 0, &sfi, sizeof(sfi),
                                                      SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_PIDL));
    Free(pidlStartup);
    return m_imlSystem.Attach(hList);
}

void* CShellContext::Alloc(SIZE_T cb)
{
    return m_pMalloc != nullptr ? m_pMalloc->Alloc(cb) : nullptr;
}

void CShellContext::Free(void* p)
{
    if (m_pMalloc == nullptr)
        throw CShellFailure(IDS_SHELL_NO_ALLOCATOR);
    m_pMalloc->Free(p);
}

IShellFolder* CShellContext::GetDesktopFolder()
{
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)) || pDesktop == nullptr)
        throw CShellFailure(IDS_SHELL_NO_DESKTOP);
    return pDesktop;
}

IShellFolder* CShellContext::BindDrivesFolder()
{
    CComRef<IShellFolder> desktop(GetDesktopFolder());
    CIdList drives(SpecialFolderIdList(CSIDL_DRIVES));
    if (!drives.IsValid())
        throw CShellFailure(IDS_SHELL_NO_COMPUTER);
    IShellFolder* pDrives = nullptr;
    if (FAILED(desktop.Get()->BindToObject(drives.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pDrives)))
        || pDrives == nullptr)
        throw CShellFailure(IDS_SHELL_NO_COMPUTER);
    return pDrives;
}

LPITEMIDLIST CShellContext::GetSpecialFolderIdList(int nFolder)
{
    return SpecialFolderIdList(nFolder);
}

BOOL CShellContext::IsInNetwork(LPCITEMIDLIST pidl) const
{
    return IsIdListPrefix(m_pidlNetwork, pidl);
}
