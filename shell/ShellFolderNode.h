// The one kind of node of the destination model. Under the root (My
// Computer) it lists the PC's removable drives through the Windows shell,
// and the handheld's node after them when a handheld answers; below a
// drive, folders of the shell; below the handheld's node, folders listed
// through the device link.
#pragma once

#include "platform/framework/CString.h"
#include "shell/ComRef.h"
#include "shell/FolderNode.h"
#include "shell/IdList.h"
#include "shell/ShellContext.h"

#include <memory>
#include <vector>

class CShellFolderNode : public CFolderNode
{
public:
    // My Computer, the root of a model; raises CShellFailure when the shell
    // cannot give it.
    CShellFolderNode();
    // A child of pParent named by pidlRelative (owned from now on), which
    // is relative to the parent's folder; raises when its absolute list
    // cannot be allocated.
    CShellFolderNode(CShellFolderNode* pParent, LPITEMIDLIST pidlRelative, UINT nFlags, int nDepth, int nEnumLevels);
    ~CShellFolderNode() override;
    CShellFolderNode(const CShellFolderNode&) = delete;
    CShellFolderNode& operator=(const CShellFolderNode&) = delete;

    BOOL Accept(CFolderNodeVisitor* pVisitor) override;
    void DeleteChildren() override;
    void Enumerate() override;
    CFolderNode* FindByIdList(LPCITEMIDLIST pidl) override;
    CFolderNode* FindByPath(LPCSTR pszPath, int nLevel) override;
    CFolderNode* FindChildById(LPCITEMIDLIST* ppidlCursor) override;
    CFolderNode* FindChildByPath(LPCSTR pszPath, int nLevel) override;
    CFolderNode* GetChild(UINT nIndex) override;
    UINT GetChildCount() override;
    CFolderNode* GetParent() override;
    IShellFolder* GetShellFolder() override;
    void SetEnumLevels(int nLevels) override;
    void SetFlags(UINT nFlags) override;
    UINT GetFlags() override;
    BOOL IsEnumerated() override;
    BOOL IsContainer() override;
    BOOL IsFileSystem() override;
    BOOL IsOnDevice() override;
    BOOL IsNetworkRoot() override;
    BOOL IsInNetwork() override;
    BOOL HasChildren() override;
    LPCSTR GetDisplayName() override;
    LPCSTR GetDebugText() override;
    LPCSTR GetPath() override;
    LPCWSTR GetDevicePath() override;
    BOOL IsSameIdList(LPCITEMIDLIST pidlAbsolute) override;
    BOOL IsSameChildId(LPCITEMIDLIST pidl) override;
    LPCITEMIDLIST GetRelativeIdList() override;
    LPCITEMIDLIST GetAbsoluteIdList() override;
    const SHFILEINFOA* GetIconInfo() override;
    const SHFILEINFOA* GetOpenIconInfo() override;
    int Compare(CFolderNode* pOther) override;
    BOOL Execute() override;

    // A display-name record as ANSI text (empty for a kind it does not
    // know); a wide name is given back to the shell allocator.
    void ParseStrRet(STRRET* pStrRet, LPCITEMIDLIST pidl, CString& strTarget);
    // Handheld nodes: the device path is the parent's path, a backslash and
    // the name (the handheld's node has none), its ANSI form the node's
    // path. FALSE when a path or name would not fit its buffer: such a
    // child is not made, never given a shortened path.
    BOOL SetDevicePath(LPCWSTR pszParentPath, LPCWSTR pszName);

private:
    // Whether a new local child has a folder of its own to show.
    BOOL ProbeSubFolders();
    void AttachFolder(IShellFolder* pFolder);
    void BuildAbsoluteIdList();
    void LoadIconInfo(SHFILEINFOA& sfi, bool bOpen);
    // The shell's attributes of this node (within dwMask) as its parent's
    // folder reports them; 0 without a parent folder.
    SFGAOF AttributesInParent(SFGAOF dwMask);
    // Binds this node's own folder through its parent's; FALSE when it
    // cannot be bound.
    BOOL BindFolder();
    void ListShellFolders();
    void ListHandheldFolders();
    // Under the root: whether an item is a drive to show (a removable
    // drive other than A:).
    BOOL IsListedDrive(LPCITEMIDLIST pidlItem, DWORD dwDrives);
    void AddShellChild(LPITEMIDLIST pidlItem, SFGAOF dwAttributes);
    void AddDeviceNode();
    void AddHandheldChild(LPCWSTR pszName);
    // Takes a child into m_children.
    void Adopt(std::unique_ptr<CShellFolderNode> pChild);

    CShellFolderNode* m_pParent = nullptr;
    std::vector<std::unique_ptr<CFolderNode>> m_children;
    CComRef<IShellFolder> m_pFolder;
    CComRef<IShellIcon> m_pShellIcon;
    CIdList m_pidlRelative;
    CIdList m_pidlAbsolute;
    UINT m_nFlags = 0;
    CString m_strError;
    CString m_strDisplayName;
    CString m_strPath;
    CString m_strDebugText;
    int m_nDepth = 0;
    int m_nEnumLevels = 0;
    SHFILEINFOA m_sfiIcon;
    SHFILEINFOA m_sfiOpenIcon;
    WCHAR m_szDevicePath[MAX_PATH] = {};
};

// Looks for a handheld without a word to the user; on success pszName
// holds the handheld node's name (string 58010) and no session stays open.
BOOL ProbeDevice(LPWSTR pszName, int cchName);
