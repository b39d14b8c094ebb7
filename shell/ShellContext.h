// What every node of the destination model and the destination tree share
// with the Windows shell: its task allocator, the identifier lists of the
// Network and Common Desktop folders, and the system small-icon image
// list, held without owning it.
#pragma once

#include "platform/framework/Controls.h"
#include "shell/ComRef.h"

#include <shlobj.h>

class CShellContext
{
public:
    CShellContext();
    ~CShellContext();
    CShellContext(const CShellContext&) = delete;
    CShellContext& operator=(const CShellContext&) = delete;

    // Gives everything back and obtains it anew; raises CShellFailure when
    // the allocator or the system image list cannot be had.
    void Refresh();
    // Detaches the image list (never destroying it) and gives the special
    // lists and the allocator back.
    void Release();
    BOOL LoadSystemImageList();
    CImageList& GetSystemImageList() { return m_imlSystem; }

    // A block from the shell allocator; null without an allocator or when
    // it refuses.
    void* Alloc(SIZE_T cb);
    // Gives a block back to the shell allocator; raises without one.
    void Free(void* p);
    BOOL HasAllocator() const { return m_pMalloc != nullptr; }

    // The desktop's folder and My Computer's own folder; each raises when
    // the shell cannot give it.
    IShellFolder* GetDesktopFolder();
    IShellFolder* BindDrivesFolder();
    // A special folder's list (the caller frees it with Free); null when
    // the shell has none.
    LPITEMIDLIST GetSpecialFolderIdList(int nFolder);

    BOOL IsInNetwork(LPCITEMIDLIST pidl) const;
    LPCITEMIDLIST GetNetworkIdList() const { return m_pidlNetwork; }

private:
    IMalloc* m_pMalloc = nullptr;
    CImageList m_imlSystem;
    LPITEMIDLIST m_pidlNetwork = nullptr;
    LPITEMIDLIST m_pidlCommonDesktop = nullptr;
};

extern CShellContext g_shellContext;

// Index in the system small-icon list of the program's handheld image; its
// closed-folder image follows at + 1 and its open-folder image at + 2.
extern int g_nOwnImageBase;
